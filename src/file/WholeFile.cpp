#include "file/WholeFile.h"

#include "file/InPlaceWrite.h"
#include "file/SystemCalls.h"
#include "file/TemporaryFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flow {

namespace {

// Links further than this are a loop, as the system counts them.
constexpr int kMostLinks = 40;

bool Fail(QString* failure, int error) {
    return Refuse(failure, SystemReason(error));
}

// The file's name as the user gave it, for messages.
QString ShownName(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    return name.isEmpty() ? fileName : name;
}

// The file a name leads to through symbolic links, whether it exists or not: a dangling link
// is kept and the file it names is made. Links that go round in a loop leave a link, which the
// system then reports as one.
QString FollowLinks(const QString& fileName) {
    QString path = QFileInfo(fileName).absoluteFilePath();
    for (int hop = 0; hop < kMostLinks; ++hop) {
        const QFileInfo info(path);
        if (!info.isSymLink()) return path;
        path = info.symLinkTarget();
    }
    return path;
}

// What a file that is not a regular one is, in the user's words.
QString KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("a folder");
    if (S_ISFIFO(mode)) return QStringLiteral("a pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device");
    if (S_ISSOCK(mode)) return QStringLiteral("a socket");
    return QStringLiteral("something else");
}

// Whether the file's mode forbids the user to write it. The superuser may write anything, but a
// file nobody may write is read-only for the superuser too.
bool ReadOnly(const QByteArray& path, const struct stat& status) {
    if ((status.st_mode & 0222) == 0) return true;
    return ::geteuid() != 0 && ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0 &&
           errno == EACCES;
}

// Writes the bytes to a temporary and gives it the target's name; `old` describes the file it
// replaces, if there is one.
bool Replace(const QByteArray& target, const struct stat* old, QByteArrayView bytes,
             const QString& shown, QString* failure) {
    RemoveStaleTemporaries(target);
    QByteArray temporary;
    bool named = false;
    int fd = -1;
    if (SaveSeams().FolderTakesNoFile)
        errno = EACCES;
    else
        fd = CreateTemporary(target, temporary, named);
    if (fd < 0) {
        // A folder where no file can be made: a file that may be written is written in place.
        if (old && (errno == EACCES || errno == EPERM))
            return WriteInPlace(target, *old, bytes, shown, failure,
                                SaveSeams().BeforeWriteInPlace);
        return Fail(failure, errno);
    }
    if (old) {
        // Only the superuser may give a file away; others keep their own ownership.
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid())
            (void)::fchown(fd, old->st_uid, old->st_gid);
        ::fchmod(fd, old->st_mode & 07777);
    }
    // The data must be on the disk before the name points at it, or a crash right after the
    // rename could leave an empty file where the old one was.
    bool done = WriteFully(fd, bytes) && ::fsync(fd) == 0 &&
                (named || LinkTemporary(fd, target, temporary));
    int error = errno;
    if (::close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && ::rename(temporary.constData(), target.constData()) != 0) {
        done = false;
        error = errno;
    }
    if (done) return true;
    if (!temporary.isEmpty()) ::unlink(temporary.constData());
    return Fail(failure, error);
}

} // namespace

WholeFileSeams& SaveSeams() {
    static WholeFileSeams seams;
    return seams;
}

bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure) {
    const QString shown = ShownName(fileName);
    const QByteArray target = QFile::encodeName(FollowLinks(fileName));
    // The name's type is looked at, never opened: opening a pipe for writing waits for a reader.
    struct stat old {};
    if (::stat(target.constData(), &old) != 0) {
        if (errno == ELOOP)
            return Refuse(failure,
                          QStringLiteral("“%1” cannot be saved: too many levels of symbolic links")
                              .arg(shown));
        if (errno != ENOENT) return Fail(failure, errno);
        return Replace(target, nullptr, bytes, shown, failure);
    }
    if (!S_ISREG(old.st_mode))
        return Refuse(failure, QStringLiteral("“%1” cannot be saved: it is %2, not a regular file")
                                   .arg(shown, KindOf(old.st_mode)));
    if (ReadOnly(target, old))
        return Refuse(failure, QStringLiteral("“%1” is read-only").arg(shown));
    return Replace(target, &old, bytes, shown, failure);
}

} // namespace flow

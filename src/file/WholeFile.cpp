#include "file/WholeFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flow {

namespace {

// Links further than this are a loop, as the system counts them.
constexpr int kMostLinks = 40;

bool Fail(QString* failure, int error) {
    if (failure) *failure = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

// Writes everything, going on after short writes; false with errno set otherwise.
bool WriteFully(int fd, QByteArrayView bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), std::size_t(bytes.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes = bytes.sliced(qsizetype(written));
    }
    return true;
}

bool WriteInPlace(const QByteArray& path, QByteArrayView bytes, QString* failure) {
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return Fail(failure, errno);
    const bool written = WriteFully(fd, bytes);
    const int error = errno;
    if (::close(fd) != 0 && written) return Fail(failure, errno);
    return written || Fail(failure, error);
}

// The file a name leads to through symbolic links, whether it exists or not: a dangling link
// is kept and the file it names is made.
QString FollowLinks(const QString& fileName) {
    QString path = QFileInfo(fileName).absoluteFilePath();
    for (int hop = 0; hop < kMostLinks; ++hop) {
        const QFileInfo info(path);
        if (!info.isSymLink()) return path;
        path = info.symLinkTarget();
    }
    return path;
}

// Whether the file's mode forbids the user to write it. The superuser may write anything, but a
// file nobody may write is read-only for the superuser too.
bool ReadOnly(const QByteArray& path, const struct stat& status) {
    if ((status.st_mode & 0222) == 0) return true;
    return ::geteuid() != 0 && ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0 &&
           errno == EACCES;
}

QByteArray TemporaryName(const QByteArray& target) {
    return target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

// Temporaries of the target that a save killed part-way left behind: by earlier versions, or
// where the file system has no unnamed files.
void RemoveStaleTemporaries(const QString& target) {
    const QFileInfo info(target);
    const QRegularExpression stale(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[0-9a-z]+\\.tmp")));
    const QDir folder = info.dir();
    for (const QString& name : folder.entryList({info.fileName() + QStringLiteral(".*.tmp")},
                                                QDir::Files | QDir::Hidden | QDir::System))
        if (stale.match(name).hasMatch()) QFile::remove(folder.filePath(name));
}

// A file being written for the target that no one else sees: an unnamed file in the target's
// folder where the file system allows it, so that a save that dies leaves nothing behind; else
// a new file beside the target, named after it. `named` tells which.
int CreateTemporary(const QByteArray& target, QByteArray& name, bool& named) {
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).path());
    int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    named = fd < 0;
    if (!named || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(target);
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Gives the complete unnamed file a name beside the target.
bool LinkTemporary(int fd, const QByteArray& target, QByteArray& name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0)
            return true;
        if (errno != EEXIST) break;
        errno = EEXIST;
    }
    name.clear();
    return false;
}

} // namespace

bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure) {
    const QByteArray target = QFile::encodeName(FollowLinks(fileName));
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode))
        return WriteInPlace(target, bytes, failure);
    if (exists && S_ISREG(old.st_mode) && ReadOnly(target, old)) {
        if (failure)
            *failure = QStringLiteral("“%1” is read-only").arg(QFileInfo(fileName).fileName());
        return false;
    }

    RemoveStaleTemporaries(QFile::decodeName(target));
    QByteArray temporary;
    bool named = false;
    const int fd = CreateTemporary(target, temporary, named);
    if (fd < 0) {
        // A folder where no file can be made: a file that may be written is written in place.
        if (exists && S_ISREG(old.st_mode) && (errno == EACCES || errno == EPERM))
            return WriteInPlace(target, bytes, failure);
        return Fail(failure, errno);
    }
    if (exists) {
        // Only the superuser may give a file away; others keep their own ownership.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
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

} // namespace flow

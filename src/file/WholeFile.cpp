#include "file/WholeFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flow {

namespace {

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

// A new file beside the target, named after it, that no one else has opened.
int CreateTemporary(const QByteArray& target, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name =
            target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure) {
    // Through a symbolic link to the file it names, so that the link itself stays.
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    const QByteArray target = QFile::encodeName(canonical.isEmpty() ? fileName : canonical);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode))
        return WriteInPlace(target, bytes, failure);

    QByteArray temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) return Fail(failure, errno);
    if (exists) {
        // Only the superuser may give a file away; others keep their own ownership.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    // The data must be on the disk before the name points at it, or a crash right after the
    // rename could leave an empty file where the old one was.
    bool done = WriteFully(fd, bytes) && ::fsync(fd) == 0;
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
    ::unlink(temporary.constData());
    return Fail(failure, error);
}

} // namespace flow

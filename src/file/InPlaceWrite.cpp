#include "file/InPlaceWrite.h"

#include "file/NameLimits.h"
#include "file/StateFolder.h"
#include "file/SystemCalls.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace flow {

namespace {

constexpr qsizetype kCopyChunk = 1 << 16;
constexpr int kAttempts = 100;

// A new file in the folder for a copy of `name`, named after it, the process and a count of
// its copies, so that no other save, of this process or another, takes the same name; a name
// that exists (left by a save that was killed) is a copy to keep, and the count moves on.
int CreateCopy(const QByteArray& folder, const QByteArray& name, QByteArray& path) {
    static std::atomic<unsigned> copies{0};
    const QByteArray process = QByteArray::number(::getpid());
    const qsizetype longest = LongestName(folder);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QByteArray tail = '.' + process + '-' + QByteArray::number(++copies);
        path = folder + '/' + CutName(name, longest - tail.size()) + tail;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Copies everything the file holds, leaving its offset where it was.
bool CopyContent(int from, int to) {
    QByteArray chunk(kCopyChunk, Qt::Uninitialized);
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(from, chunk.data(), std::size_t(chunk.size()), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0;
        if (!WriteFully(to, QByteArrayView(chunk.constData(), qsizetype(got)))) return false;
        offset += got;
    }
}

// The copy of the file's content in the recovery folder, on the disk with its name; its path,
// or empty with errno set.
QByteArray KeepCopy(int fd, const QByteArray& folder, const QByteArray& name) {
    if (!MakePrivateFolder(QFile::decodeName(folder))) return {};
    QByteArray path;
    const int copy = CreateCopy(folder, name, path);
    if (copy < 0) return {};
    bool kept = CopyContent(fd, copy) && ::fsync(copy) == 0;
    int error = errno;
    if (::close(copy) != 0 && kept) {
        kept = false;
        error = errno;
    }
    if (!kept) {
        ::unlink(path.constData());
        errno = error;
        return {};
    }
    // The copy's name must be on the disk as well before the old content is written over.
    const int directory = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        (void)::fsync(directory);
        ::close(directory);
    }
    return path;
}

// Writes over the old content and cuts what is left of it; false with errno set.
bool WriteOver(int fd, QByteArrayView bytes) {
    return WriteFully(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
}

} // namespace

bool WriteInPlace(const QByteArray& target, const struct stat& old, QByteArrayView bytes,
                  const QString& shown, QString* failure, const BeforeWriteInPlace& beforeWrite) {
    // Not truncated on opening: the old content is read from this descriptor for the copy.
    // Should something other than the regular file looked at have taken the name meanwhile, a
    // pipe among them, opening it does not wait.
    const int fd = ::open(target.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Refuse(failure, SystemReason(errno));
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != old.st_dev ||
        opened.st_ino != old.st_ino) {
        ::close(fd);
        return Refuse(failure, QStringLiteral("“%1” changed while it was being saved").arg(shown));
    }

    const QByteArray folder = QFile::encodeName(RecoveryFolder());
    const QByteArray copy = KeepCopy(fd, folder, target.mid(target.lastIndexOf('/') + 1));
    if (copy.isEmpty()) {
        const int error = errno;
        ::close(fd);
        return Refuse(failure, QStringLiteral("“%1” cannot be saved: no new file can be made in "
                                              "its folder, and no copy of its old content could "
                                              "be made in “%2” (%3)")
                                   .arg(shown, QFile::decodeName(folder), SystemReason(error)));
    }

    const int refused = beforeWrite ? beforeWrite(QFile::decodeName(copy)) : 0;
    errno = refused;
    bool written = refused == 0 && WriteOver(fd, bytes);
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) {
        ::unlink(copy.constData());
        return true;
    }
    return Refuse(failure, QStringLiteral("%1; the old content of “%2” is kept in “%3”")
                               .arg(SystemReason(error), shown, QFile::decodeName(copy)));
}

} // namespace flow

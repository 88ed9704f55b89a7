#include "file/RecoveryCopies.h"

#include "file/StateFolder.h"
#include "file/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flow {

namespace {

const QString kCopySuffix = QStringLiteral(".xml");
const QString kSourceSuffix = QStringLiteral(".source");
const QString kLockSuffix = QStringLiteral(".lock");

QString ThisSession() {
    static const QString session =
        QString::number(::getpid()) + QLatin1Char('-') +
        QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, u'0');
    return session;
}

QString SourcePathOf(const QString& copyPath) {
    return copyPath.chopped(kCopySuffix.size()) + kSourceSuffix;
}

QString LockPathOf(const QString& session) {
    return RecoveryFolder() + QLatin1Char('/') + session + kLockSuffix;
}

// This process's lock, taken with its first copy.
struct SessionLock {
    std::mutex Mutex;
    int Descriptor = -1;
};

SessionLock& OwnLock() {
    static SessionLock lock;
    return lock;
}

// Locks a file of its own first and only then gives it the lock's name: a lock file that
// another process can take is always one whose process has ended.
bool TakeSessionLock() {
    SessionLock& own = OwnLock();
    const std::lock_guard guard(own.Mutex);
    if (own.Descriptor >= 0) return true;
    if (!MakePrivateFolder(RecoveryFolder())) return false;
    const QByteArray lockPath = QFile::encodeName(LockPathOf(ThisSession()));
    const QByteArray fresh = lockPath + ".new";
    const int fd = ::open(fresh.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(fresh.constData(), lockPath.constData())) {
        ::unlink(fresh.constData());
        ::close(fd);
        return false;
    }
    own.Descriptor = fd;
    return true;
}

bool SameFile(int fd, const QByteArray& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// The lock of a session whose process has ended, held; -1 while the process runs, or when
// another program has the lock or has just removed the session.
int TakeLeftLock(const QString& lockPath) {
    const QByteArray path = QFile::encodeName(lockPath);
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !SameFile(fd, path)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QStringList CopiesOfSession(const QDir& folder, const QString& session) {
    return folder.entryList({session + QStringLiteral("-*") + kCopySuffix}, QDir::Files,
                            QDir::Name);
}

QString ReadSource(const QString& copyPath) {
    QFile source(SourcePathOf(copyPath));
    return source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll()) : QString();
}

} // namespace

QString NewRecoveryCopyPath() {
    static std::atomic<int> copies{0};
    return RecoveryFolder() + QLatin1Char('/') + ThisSession() + QLatin1Char('-') +
           QString::number(++copies) + kCopySuffix;
}

bool WriteRecoveryCopy(const QString& copyPath, const QByteArray& bytes, const QString& source) {
    // The source first: a copy is never without it, even when the program dies in between.
    return TakeSessionLock() && WriteWholeFile(SourcePathOf(copyPath), source.toUtf8()) &&
           WriteWholeFile(copyPath, bytes);
}

void RemoveRecoveryCopy(const QString& copyPath) {
    QFile::remove(copyPath);
    QFile::remove(SourcePathOf(copyPath));
}

void EndRecoverySession() {
    SessionLock& own = OwnLock();
    const std::lock_guard guard(own.Mutex);
    if (own.Descriptor < 0 || !CopiesOfSession(QDir(RecoveryFolder()), ThisSession()).isEmpty())
        return;
    QFile::remove(LockPathOf(ThisSession()));
    ::close(own.Descriptor);
    own.Descriptor = -1;
}

LeftCopies::~LeftCopies() {
    for (const auto& [path, fd] : locks_)
        ::close(fd);
}

void LeftCopies::Discard() {
    // Copies before locks: a lock without copies is simply cleared at a later start.
    for (const LeftCopy& copy : copies_)
        RemoveRecoveryCopy(copy.CopyPath);
    copies_.clear();
    for (const auto& [path, fd] : locks_) {
        QFile::remove(path);
        ::close(fd);
    }
    locks_.clear();
}

std::unique_ptr<LeftCopies> FindLeftCopies() {
    auto left = std::unique_ptr<LeftCopies>(new LeftCopies);
    const QDir folder(RecoveryFolder());
    static const QRegularExpression lockName(QStringLiteral("^(\\d+-[0-9a-f]+)\\.lock$"));
    for (const QString& name : folder.entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files)) {
        const QRegularExpressionMatch match = lockName.match(name);
        if (!match.hasMatch() || match.captured(1) == ThisSession()) continue;
        const QString session = match.captured(1);
        const int fd = TakeLeftLock(folder.filePath(name));
        if (fd < 0) continue;
        const QStringList copies = CopiesOfSession(folder, session);
        if (copies.isEmpty()) {
            QFile::remove(folder.filePath(name));
            ::close(fd);
            continue;
        }
        left->locks_.emplace_back(folder.filePath(name), fd);
        for (const QString& copy : copies) {
            const QString path = folder.filePath(copy);
            left->copies_.push_back({path, ReadSource(path), QFileInfo(path).lastModified()});
        }
    }
    std::stable_sort(
        left->copies_.begin(), left->copies_.end(),
        [](const LeftCopy& a, const LeftCopy& b) { return a.WrittenAt < b.WrittenAt; });
    return left;
}

} // namespace flow

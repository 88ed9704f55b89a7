#include "file/TemporaryFiles.h"

#include "file/NameLimits.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace flow {

namespace {

// What a temporary's name adds to its stem: a dot, up to seven base-36 digits of a random
// 32-bit number, ".tmp".
constexpr qsizetype kAddedRoom = 12;
constexpr int kAttempts = 100;

QByteArray FolderOf(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    return slash > 0 ? target.left(slash) : slash == 0 ? QByteArray("/") : QByteArray(".");
}

QByteArray NameOf(const QByteArray& target) {
    return target.mid(target.lastIndexOf('/') + 1);
}

QByteArray TemporaryName(const QByteArray& target) {
    const QByteArray random = QByteArray::number(QRandomGenerator::global()->generate(), 36);
    return FolderOf(target) + '/' + TemporaryStem(target) + '.' + random + ".tmp";
}

} // namespace

QByteArray TemporaryStem(const QByteArray& target) {
    const QByteArray name = NameOf(target);
    const qsizetype longest = LongestName(FolderOf(target));
    if (name.size() + kAddedRoom <= longest) return name;
    const QByteArray mark =
        '~' + QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(8);
    return CutName(name, longest - kAddedRoom - mark.size()) + mark;
}

void RemoveStaleTemporaries(const QByteArray& target) {
    const QRegularExpression stale(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(QFile::decodeName(TemporaryStem(target))) +
        QStringLiteral("\\.[0-9a-z]+\\.tmp")));
    const QDir folder(QFile::decodeName(FolderOf(target)));
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (stale.match(name).hasMatch()) QFile::remove(folder.filePath(name));
}

int CreateTemporary(const QByteArray& target, QByteArray& name, bool& named) {
    int fd = ::open(FolderOf(target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    named = fd < 0;
    if (!named || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = TemporaryName(target);
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool LinkTemporary(int fd, const QByteArray& target, QByteArray& name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0)
            return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

} // namespace flow

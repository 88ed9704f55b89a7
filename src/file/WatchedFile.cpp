#include "file/WatchedFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <utility>

namespace flow {

namespace {

// A digest rather than the bytes: a circuit of megabytes is not held twice for this.
QByteArray DigestOf(const QString& path, bool& read) {
    QFile file(path);
    read = file.open(QIODevice::ReadOnly);
    if (!read) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

WatchedFile::WatchedFile(std::function<void()> onSignal) {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_,
                     [onSignal](const QString&) { onSignal(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [onSignal](const QString&) { onSignal(); });
}

WatchedFile::Stamp WatchedFile::StampOf(const QString& path, bool& exists) {
    struct stat status {};
    exists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
    if (!exists) return {};
    return {qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + qint64(status.st_mtim.tv_nsec),
            quint64(status.st_ino)};
}

void WatchedFile::Watch(const QString& path) {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    path_ = path;
    KnowContent();
}

void WatchedFile::KnowContent() {
    if (path_.isEmpty()) return;
    stamp_ = StampOf(path_, present_);
    digest_ = present_ ? DigestOf(path_, present_) : QByteArray();
    Rewatch();
}

// A file replaced by renaming another over it is a new file, which the system does not watch
// under the old one's watch; its folder is watched as well, to see it come back once deleted.
void WatchedFile::Rewatch() {
    const QString folder = QFileInfo(path_).absolutePath();
    if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

WatchedFile::Change WatchedFile::Look() {
    if (path_.isEmpty()) return Change::None;
    bool exists = false;
    const Stamp stamp = StampOf(path_, exists);
    const bool wasPresent = std::exchange(present_, exists);
    if (!exists) return wasPresent ? Change::Deleted : Change::None;
    if (wasPresent && stamp == stamp_) return Change::None;
    Rewatch();
    stamp_ = stamp;
    bool read = false;
    const QByteArray digest = DigestOf(path_, read);
    if (!read) return Change::None;
    if (digest == digest_) return wasPresent ? Change::None : Change::Returned;
    digest_ = digest;
    return Change::Changed;
}

} // namespace flow

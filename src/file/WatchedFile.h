#pragma once
// A file watched for what other programs do to it: changed, replaced, moved away or deleted.
// Its content as the program last read or wrote it is known, so that the program's own saves,
// and changes that leave the content as it was, go unnoticed.

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QString>

#include <functional>

namespace flow {

class WatchedFile {
  public:
    enum class Change {
        None,
        Changed,  // holds other content than the last seen
        Deleted,  // is gone from its name (deleted or moved away)
        Returned, // is back under its name with the content it had
    };

    // `onSignal` runs, on the thread of the event loop, whenever the system tells of a change to
    // the file or its folder; Look then says what it was.
    explicit WatchedFile(std::function<void()> onSignal);

    // Watches the file (none: nothing), knowing its present content as the program's own.
    void Watch(const QString& path);
    // The program has just read or written the file: its present content is known.
    void KnowContent();
    // What changed since the last look, each change told once.
    Change Look();
    const QString& Path() const { return path_; }

  private:
    struct Stamp {
        qint64 Size = -1;
        qint64 Modified = 0;
        quint64 Inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const QString& path, bool& exists);
    void Rewatch();

    QFileSystemWatcher watcher_;
    QString path_;
    bool present_ = false;
    Stamp stamp_;
    QByteArray digest_;
};

} // namespace flow

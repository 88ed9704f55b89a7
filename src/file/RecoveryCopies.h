#pragma once
// Copies of circuits with unsaved changes, kept in the recovery folder (file/StateFolder.h) so
// that a crash loses nothing. Each process names its copies after a session of its own, whose
// lock file it holds locked while it runs: the system lets go of the lock when the process ends,
// however it ends, so a session whose lock can be taken left its copies behind.
//
// In the folder: "<session>.lock", and per copy "<session>-<n>.xml" (the circuit file as a save
// writes it) with "<session>-<n>.source" (the path of the file the circuit came from, UTF-8;
// empty for a circuit that had none). A session is "<process id>-<random hex>": two processes,
// even of one process id in two boots, never share one, and <n> counts this process's copies.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

namespace flow {

// A new copy's path for this process; nothing is written yet.
QString NewRecoveryCopyPath();
// Writes the copy and the path of its source; the first copy of the process makes the folder
// and takes the session's lock first. Meant for the file-work thread (file/QueuedFileWork.h).
bool WriteRecoveryCopy(const QString& copyPath, const QByteArray& bytes, const QString& source);
// Removes the copy and its source path.
void RemoveRecoveryCopy(const QString& copyPath);
// Removes this process's lock once it has no copy left, as a clean end of the program does.
void EndRecoverySession();

struct LeftCopy {
    QString CopyPath;
    QString Source;      // the file the circuit came from; empty: it had none
    QDateTime WrittenAt; // when the copy was last written
};

// The copies of sessions whose process has ended. While they are held, their sessions' locks
// are held too, so that a second program starting at the same time does not offer them again.
class LeftCopies {
  public:
    LeftCopies() = default;
    LeftCopies(const LeftCopies&) = delete;
    LeftCopies& operator=(const LeftCopies&) = delete;
    ~LeftCopies();

    const std::vector<LeftCopy>& Copies() const { return copies_; }
    // Removes every copy and the sessions' locks.
    void Discard();

  private:
    friend std::unique_ptr<LeftCopies> FindLeftCopies();
    std::vector<LeftCopy> copies_;
    std::vector<std::pair<QString, int>> locks_; // lock file, descriptor
};

// The copies left by processes that are no longer running, oldest session first.
std::unique_ptr<LeftCopies> FindLeftCopies();

} // namespace flow

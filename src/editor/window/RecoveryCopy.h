#pragma once
// A window's recovery copy: while its circuit has unsaved changes, the circuit is written to the
// recovery folder (file/RecoveryCopies.h) in the background, at most once every RecoveryDelay
// after an edit. A save that leaves nothing unsaved, and the window's close, remove the copy.
// The user's own files are never written here.

#include "model/Records.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class QUndoStack;

namespace flow {

constexpr std::chrono::seconds kRecoveryDelay{30};

class RecoveryCopy : public QObject {
  public:
    RecoveryCopy(Circuit& circuit, QUndoStack* history, QObject* parent);
    ~RecoveryCopy() override;
    // Brings the copy in line with the circuit: a write comes due after a change, and the copy
    // goes once nothing is unsaved.
    void Follow();
    // Takes the circuit's text now and queues its write, when anything is unsaved.
    void WriteNow();
    // The window closes: the copy goes, and no other is written.
    void Close();

  private:
    void Remove();

    Circuit& circuit_;
    QTimer due_;
    QString path_; // empty until the first write
    bool closed_ = false;
};

// Writes the copies of every window with unsaved changes now and waits until they are on the
// disk; for tests, which never wait for the delay.
void WriteRecoveryCopiesNow();

} // namespace flow

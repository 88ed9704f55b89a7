#pragma once
// How a run reports to a circuit's window. Printed lines come from worker threads and travel to
// the canvas as posted events; everything else is called on the user-interface thread.

#include "engine/RunObserver.h"
#include "model/Records.h"

#include <QByteArray>
#include <QEvent>

#include <mutex>

namespace flow {

// A printed line on its way from a worker thread to the circuit's canvas.
class PrintEvent : public QEvent {
  public:
    PrintEvent(QByteArray line, std::uint64_t runNumber);
    static QEvent::Type EventType();
    QByteArray Line; // UTF-8
    std::uint64_t RunNumber;
};

class WindowObserver : public RunObserver {
  public:
    explicit WindowObserver(Circuit& circuit) : circuit_(circuit) {}
    // Printed lines go to this canvas from now on; none while the circuit has no window.
    void AttachCanvas(QObject* canvas);
    void ClearOutput() override;
    void SetRunStatus(const QString& text) override;
    void Redraw() override;
    void PrintLine(const QString& line, std::uint64_t runNumber) override;

  private:
    Circuit& circuit_;
    std::mutex mutex_; // guards canvas_ between worker threads and the closing window
    QObject* canvas_ = nullptr;
};

// The circuit's observer, made on first use. It lives as long as the circuit: a worker thread
// that did not stop in time may still report to it after the window has gone.
WindowObserver& ObserverOf(Circuit& circuit);
// Destroys the circuit's observer, when the circuit itself is freed.
void ForgetObserver(Circuit& circuit);

} // namespace flow

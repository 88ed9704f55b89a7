#pragma once
// How a run reports to a circuit's window. Printed lines come from worker threads and travel to
// the canvas as posted events, as many in one event as arrive before the event loop gets to it;
// everything else is called on the user-interface thread.

#include "engine/RunObserver.h"
#include "engine/RunSession.h"
#include "model/Records.h"

#include <QByteArray>
#include <QEvent>

#include <mutex>
#include <vector>

namespace flow {

struct PrintedLine {
    QByteArray Line;         // UTF-8
    std::uint64_t RunNumber; // the Start that printed it
    Int NodeId = 0;          // the Print node that printed it; 0 when not known
};

// Printed lines on their way from worker threads to the circuit's canvas, in printing order.
class PrintEvent : public QEvent {
  public:
    PrintEvent(QByteArray line, std::uint64_t runNumber, Int nodeId = 0);
    static QEvent::Type EventType();
    std::vector<PrintedLine> Lines;
};

// A run that may have settled, posted from the worker thread of the firing that may have ended
// it (engine/Settling.h).
class SettleEvent : public QEvent {
  public:
    explicit SettleEvent(std::uint64_t runNumber) : QEvent(EventType()), RunNumber(runNumber) {}
    static QEvent::Type EventType();
    std::uint64_t RunNumber;
};

// A run that just paused before a node, posted from that node's thread.
class PausedEvent : public QEvent {
  public:
    explicit PausedEvent(std::uint64_t runNumber) : QEvent(EventType()), RunNumber(runNumber) {}
    static QEvent::Type EventType();
    std::uint64_t RunNumber;
};

class WindowObserver : public RunObserver {
  public:
    explicit WindowObserver(Circuit& circuit) : circuit_(circuit), session_(circuit, this) {}
    // The window's runs of its circuit.
    RunSession& Session() { return session_; }
    // Printed lines go to this canvas from now on; none while the circuit has no window.
    void AttachCanvas(QObject* canvas);
    void ClearOutput() override;
    void SetRunStatus(const QString& text) override;
    void Redraw() override;
    void PrintLine(const QString& line, std::uint64_t runNumber) override;
    void PrintLineFrom(Int nodeId, const QString& line, std::uint64_t runNumber) override;
    void RunMaySettle(std::uint64_t runNumber) override;
    void RunPaused(std::uint64_t runNumber) override;
    // The lines of a delivered event, with those that joined it while it was on its way.
    std::vector<PrintedLine> TakeLines(PrintEvent& event);

  private:
    Circuit& circuit_;
    std::mutex mutex_; // guards canvas_ and pending_ between worker threads and the window
    QObject* canvas_ = nullptr;
    // The posted event not yet delivered, which later lines join: one event per turn of the
    // event loop instead of one per line. Owned by Qt's event queue.
    PrintEvent* pending_ = nullptr;
    RunSession session_;
};

// The circuit's observer, made on first use. It lives as long as the circuit: a worker thread
// that did not stop in time may still report to it after the window has gone.
WindowObserver& ObserverOf(Circuit& circuit);
// Destroys the circuit's observer, when the circuit itself is freed.
void ForgetObserver(Circuit& circuit);
// The session in which the circuit's window runs it: its observer's.
RunSession& SessionOf(Circuit& circuit);

} // namespace flow

#pragma once
// What a run reports to the outside world. The editor implements it for a window, the command
// line for a terminal; the engine knows nothing else about either.

#include "model/Records.h"

#include <QString>

#include <cstdint>

namespace flow {

class RunObserver {
  public:
    virtual ~RunObserver() = default;
    virtual void ClearOutput() = 0;
    virtual void SetRunStatus(const QString& text) = 0;
    virtual void Redraw() = 0;
    // Called on a node's worker thread, in firing order; runNumber tells which Start printed it.
    // The session's FiringLock is held meanwhile: hand the line over and return, never wait for
    // the user-interface thread here.
    virtual void PrintLine(const QString& line, std::uint64_t runNumber) = 0;
    // The same, naming the Print node by its ID, for an observer that traces lines to nodes.
    virtual void PrintLineFrom(Int nodeId, const QString& line, std::uint64_t runNumber) {
        (void)nodeId;
        PrintLine(line, runNumber);
    }
    // Called on the worker thread of the firing after which the run may have settled, or on the
    // thread of WatchSettling when it had nothing to wait for (engine/Settling.h). The same
    // rules as for PrintLine hold.
    virtual void RunMaySettle(std::uint64_t runNumber) { (void)runNumber; }
    // Called on the worker thread of the node before which the run just paused (a breakpoint or
    // a Pause); the same rules as for PrintLine hold.
    virtual void RunPaused(std::uint64_t runNumber) { (void)runNumber; }
};

} // namespace flow

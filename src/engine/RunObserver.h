#pragma once
// What a run reports to the outside world. The editor implements it for a window, the command
// line for a terminal; the engine knows nothing else about either.

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
    // The circuit's FiringLock is held meanwhile: hand the line over and return, never wait for
    // the user-interface thread here.
    virtual void PrintLine(const QString& line, std::uint64_t runNumber) = 0;
};

} // namespace flow

#pragma once
// The one place in the firing path where the watch of a run acts: a node thread that has taken
// its start and every input calls EnterWatch before it computes (when the session's watch is
// on), NoteComputed once the results are out, and LeaveWatch once the firing is counted.

#include "engine/RunSession.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace flow {

struct Routine;

struct WatchedFiring {
    FiringRecord* Record = nullptr; // filled while the run is recorded
    bool Counted = false;           // passed the gate as a firing that must leave it
};

// With the FiringLock held through `lock`: passes the pause gate, sleeping at it without the
// lock while the run is held, and notes the inputs for the recording. False when the thread was
// asked to stop meanwhile: it must not fire.
bool EnterWatch(WatchedFiring& watched, RunSession& session, const Node& node, const NodeRun& run,
                const Routine& routine, std::uint64_t runNumber, std::unique_lock<std::mutex>& lock,
                const std::atomic<bool>& stopping, FiringRecord& record);
// After the computation, on the firing's thread: its end and the values it sent out.
void RecordComputed(WatchedFiring& watched, RunSession& session, const Node& node,
                    const NodeRun& run);
inline void NoteComputed(WatchedFiring& watched, RunSession& session, const Node& node,
                         const NodeRun& run) {
    if (watched.Record) RecordComputed(watched, session, node, run);
}
// After the firing was counted.
inline void LeaveWatch(WatchedFiring& watched, RunSession& session) {
    if (watched.Counted) session.Watch.Gate().Left();
}

} // namespace flow

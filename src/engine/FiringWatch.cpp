#include "engine/FiringWatch.h"

#include "engine/Execution.h"
#include "engine/Routines.h"
#include "engine/RunObserver.h"

#include <algorithm>

namespace flow {

namespace {

void NoteInputs(FiringRecord& record, const Node& node, const NodeRun& run, std::int64_t now) {
    // A node fed by nothing was ready when it found its start.
    std::int64_t arrived = -1;
    const auto& ports = node.PortArray;
    for (std::size_t i = 1; i < ports.size(); ++i) {
        const Port* port = ports[i];
        if (!port || !port->Source || !(port->Direction & Direction::In)) continue;
        if (const PortRun* slot = run.Slot(i)) {
            record.In.push_back({i, TokenIn(*slot)});
            arrived = std::max(arrived, slot->Arrived);
        }
    }
    // A stamp of an earlier run, or from before the recording began, says nothing.
    record.Arrived = arrived < 0 || arrived > now ? now : arrived;
}

} // namespace

bool EnterWatch(WatchedFiring& watched, RunSession& session, const Node& node, const NodeRun& run,
                const Routine& routine, std::uint64_t runNumber, std::unique_lock<std::mutex>& lock,
                const std::atomic<bool>& stopping, FiringRecord& record) {
    RunWatch& watch = session.Watch;
    const bool recording = watch.Recording();
    if (recording) {
        record.Clear();
        record.Fired = &node;
        record.RunNumber = runNumber;
        NoteInputs(record, node, run, watch.Recorder().Now());
    }
    if (watch.Gated()) {
        // A loop's instance fires for as long as its iterations run: its body's firings are
        // the ones a step waits for.
        const bool counted = !routine.Unlocked;
        const RunGate::Arrival arrival = watch.Gate().Arrive(node, counted);
        if (arrival == RunGate::Arrival::Paused)
            if (RunObserver* observer = session.Observer()) observer->RunPaused(runNumber);
        if (arrival != RunGate::Arrival::Pass) {
            lock.unlock();
            const bool let = watch.Gate().Wait(node, counted, stopping);
            lock.lock();
            if (!let || stopping) {
                if (let && counted) watch.Gate().Left();
                return false;
            }
        }
        watched.Counted = counted;
    }
    if (recording) {
        record.Began = watch.Recorder().Now();
        watched.Record = &record;
    }
    return true;
}

void RecordComputed(WatchedFiring& watched, RunSession& session, const Node& node,
                    const NodeRun& run) {
    FiringRecord* record = watched.Record;
    record->Ended = session.Watch.Recorder().Now();
    const auto& ports = node.PortArray;
    for (std::size_t i = 1; i < ports.size(); ++i)
        if (ports[i] && (ports[i]->Direction & Direction::Out))
            if (const PortRun* slot = run.Slot(i); slot && slot->ValueRun == record->RunNumber)
                record->Out.push_back({i, TokenIn(*slot)});
    session.Watch.Recorder().Add(*record);
    watched.Record = nullptr;
}

} // namespace flow

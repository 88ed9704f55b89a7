#include "engine/Execution.h"

#include "engine/NodeThread.h"
#include "engine/RunStatus.h"
#include "engine/Settling.h"
#include "model/Expansion.h"

#include <unordered_set>

namespace flow {

void ExecuteCircuit(RunSession& session) {
    ShowRunState(session, RunState::Executing, QStringLiteral("Execution ..."));
    {
        // Every start is counted before any thread wakes to compete for the processor.
        HeldRings held;
        for (const auto& [node, run] : session.Entries()) {
            if (run->Thread) ++run->Thread->Started;
            run->Start.Release();
        }
    }
    ShowRunState(session, RunState::Ready, QStringLiteral("Execution ... finished"));
}

namespace {

// A receiver without a slot belongs to a node added after the last preparation: it has no
// thread to wake yet. Stamping a slot with its run costs two stores, so keeping every value of
// a run needs no allocation and no text.
template <typename Fill> void Deliver(const Firing& firing, std::size_t output, Fill&& fill) {
    if (PortRun* own = firing.Run.Slot(output)) fill(*own);
    auto& sent = firing.Run.Sent;
    if (sent.size() <= output) sent.resize(output + 1);
    NodeRun::Receivers& known = sent[output];
    const std::uint64_t generation = firing.Session.Generation();
    bool trusted = known.Generation == generation;
    std::size_t next = 0;
    ForEachReceiver(firing.Node.PortArray[output], [&](Port* target) {
        PortRun* slot = nullptr;
        if (trusted && next < known.Slots.size() && known.Slots[next].first == target) {
            slot = known.Slots[next].second;
        } else {
            trusted = false;
            slot = firing.Session.SlotOf(*target);
            if (next < known.Slots.size())
                known.Slots[next] = {target, slot};
            else
                known.Slots.emplace_back(target, slot);
        }
        ++next;
        if (slot) {
            fill(*slot);
            if (slot->Waited) slot->Semaphore.Release();
        }
    });
    known.Slots.resize(next);
    known.Generation = generation;
}

} // namespace

void SendToTargets(const Firing& firing, std::size_t output, Int value, int type) {
    Deliver(firing, output, [&](PortRun& slot) {
        slot.Value = value;
        slot.ValueType = type;
        slot.ValueRun = firing.RunNumber;
    });
}

void SendToTargets(const Firing& firing, std::size_t output, const QString& text) {
    Deliver(firing, output, [&](PortRun& slot) {
        slot.Text = text;
        slot.ValueType = PortType::String;
        slot.ValueRun = firing.RunNumber;
    });
}

RunReport RunToCompletion(RunSession& session) {
    const FiringOutlook outlook = OutlookOf(session);
    // Those that can fire are the nodes with a thread that are not among those that never can.
    const std::unordered_set<const Node*> never(outlook.NeverFire.begin(), outlook.NeverFire.end());
    for (const auto& [node, run] : session.Entries())
        if (run->Thread && !never.count(node)) run->Thread->WaitForFirings(run->Thread->Started);
    return {outlook.CanFire.size(), outlook.NeverFire};
}

} // namespace flow

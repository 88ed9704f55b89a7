#include "engine/Execution.h"

#include "engine/InlineFirings.h"
#include "engine/NodeThread.h"
#include "engine/NodeThreads.h"
#include "engine/Routines.h"
#include "engine/RunStatus.h"
#include "engine/Settling.h"
#include "model/Expansion.h"

#include <algorithm>

namespace flow {

void ExecuteCircuit(RunSession& session) {
    ShowRunState(session, RunState::Executing, QStringLiteral("Execution ..."));
    if (session.Watch.Recording()) session.Watch.Recorder().BeginRun(session.RunNumber);
    {
        // Every start is counted before any thread wakes to compete for the processor.
        HeldRings held;
        // The nodes inside a loop's body start when the loop's iterations do.
        for (const auto& [node, run] : session.Entries()) {
            if (run->Driver) continue;
            if (run->Thread) ++run->Thread->Started;
            ReleaseFor(session, *node, *run, run->Start);
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
            if (firing.Recorded) slot->Arrived = firing.Session.Watch.Recorder().Now();
            if (slot->Waited)
                ReleaseFor(firing.Session, *target->Node, slot->Owner, slot->Semaphore);
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
        slot.Empty = false;
    });
}

void SendToTargets(const Firing& firing, std::size_t output, const QString& text) {
    Deliver(firing, output, [&](PortRun& slot) {
        slot.Text = text;
        slot.ValueType = PortType::String;
        slot.ValueRun = firing.RunNumber;
        slot.Empty = false;
    });
}

void SendNothing(const Firing& firing, std::size_t output) {
    Deliver(firing, output, [&](PortRun& slot) {
        slot.ValueRun = firing.RunNumber;
        slot.Empty = true;
    });
}

Token TokenIn(const PortRun& slot) {
    return {slot.Value, slot.Text, slot.ValueType, slot.Empty};
}

void SendToken(const Firing& firing, std::size_t output, const Token& token) {
    if (token.Empty)
        SendNothing(firing, output);
    else if (token.Type == PortType::String)
        SendToTargets(firing, output, token.Text);
    else
        SendToTargets(firing, output, token.Value, token.Type);
}

bool ReceivedNothing(const Firing& firing) {
    const auto& ports = firing.Node.PortArray;
    for (std::size_t i = 1; i < ports.size(); ++i)
        if (ports[i] && ports[i]->Source && (ports[i]->Direction & Direction::In))
            if (const PortRun* slot = firing.Run.Slot(i); slot && slot->Empty) return true;
    return false;
}

void FireOrSkip(const Routine& routine, const Firing& firing) {
    if (routine.TakesNothing || !ReceivedNothing(firing)) {
        routine.Compute(firing);
        return;
    }
    firing.Run.SkippedRun = firing.RunNumber;
    firing.Session.SkipsIn = firing.RunNumber;
    const auto& ports = firing.Node.PortArray;
    for (std::size_t i = 1; i < ports.size(); ++i)
        if (ports[i] && (ports[i]->Direction & Direction::Out)) SendNothing(firing, i);
}

bool StopRun(RunSession& session) {
    const auto going = session.Threaded();
    if (std::none_of(going.begin(), going.end(), [](const auto& entry) {
            return entry.second->Thread->Fired != entry.second->Thread->Started;
        }))
        return false;
    // A stopped run never settles: what did not fire was stopped, not stuck.
    session.FiringsToSettle = 0;
    // Paused threads wake to their stop flags and leave without firing.
    StopUnfinishedThreads(session);
    session.Watch.Gate().Reset(false);
    ShowRunState(session, RunState::Stopped, QStringLiteral("Execution ... stopped"));
    return true;
}

RunReport RunToCompletion(RunSession& session) {
    const FiringOutlook outlook = OutlookOf(session);
    // A loop fires once its iterations are over, so waiting for the nodes outside loops waits
    // for those inside too.
    for (Node* node : outlook.CanFire)
        if (const NodeRun* run = session.RunOf(*node); run && run->Thread)
            run->Thread->WaitForFirings(run->Thread->Started);
    return {outlook.CanFire.size(), outlook.NeverFire};
}

} // namespace flow

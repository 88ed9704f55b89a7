#include "engine/Preparation.h"

#include "engine/LoopPreparation.h"
#include "engine/NodeThreads.h"
#include "engine/Routines.h"
#include "engine/RunObserver.h"
#include "engine/RunStatus.h"
#include "engine/ThreadLimits.h"
#include "engine/ThreadReserve.h"
#include "model/Coordinates.h"
#include "model/Expansion.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "model/TypeResolution.h"

#include <algorithm>

namespace flow {

namespace {

// Records the defect with the point to look at; the window centres its view there.
bool Refuse(RunSession& session, ErrorKind kind, const QString& message, ObjectRef object, Int x,
            Int y) {
    session.Fault() = {kind, message, object, Defect::Point{x, y}};
    return false;
}

// The node's slots (and semaphores), which threads of other nodes look for when they deliver.
NodeRun& PrepareSlots(RunSession& session, const Node& node) {
    std::lock_guard lock(session.FiringLock());
    return session.Prepare(node);
}

bool CheckWire(RunSession& session, const Wire& wire) {
    const Port* source = wire.Source;
    const Port* destination = wire.Destination;
    if (CanConnect(source, destination)) return true;
    // Halfway between the two ports, the halves truncated toward zero as C++ division does.
    const Int x = HalfSum(SaturatedSum(source->Node->X, source->X),
                          SaturatedSum(destination->Node->X, destination->X));
    const Int y = HalfSum(SaturatedSum(source->Node->Y, source->Y),
                          SaturatedSum(destination->Node->Y, destination->Y));
    return Refuse(session, ErrorKind::InvalidWire, QStringLiteral("Invalid port connection"), &wire,
                  x, y);
}

// A circuit of a hundred thousand nodes would otherwise take the machine's last process slots,
// starving every other program, before its run failed anyway. Few threads cannot do that, and
// they are not worth reading the system's figures for.
bool ThreadsWithinLimits(RunSession& session) {
    constexpr std::size_t kFewThreads = 64;
    // Threads started ahead of time are already counted by the system.
    const std::size_t wanted = ThreadsNeeded(session);
    const std::size_t needed = wanted - std::min(wanted, ParkedThreads());
    if (needed <= kFewThreads) return true;
    const std::size_t allowed = ThreadAllowance()();
    if (needed <= allowed) return true;
    session.Fault() = {ErrorKind::NoThread,
                       QStringLiteral("Too many nodes to run: %1 threads needed, the system "
                                      "allows %2")
                           .arg(needed)
                           .arg(allowed),
                       {},
                       std::nullopt};
    return false;
}

} // namespace

// Pins and instances run on no thread: values cross them on the way to the nodes inside. Their
// inputs must be fed all the same, or the nodes behind them would wait for ever.
bool CheckBoundary(RunSession& session, Node* node) {
    // Their slots show what crossed them.
    if (const NodeRun* run = session.RunOf(*node);
        !run || run->Ports.size() != std::max<std::size_t>(node->PortArray.size(), 1))
        PrepareSlots(session, *node);
    for (const auto& port : node->Ports)
        if ((port->Direction & Direction::In) && !port->Source)
            return Refuse(session, ErrorKind::MissingInput,
                          QStringLiteral("Missing input port connection"), port.get(),
                          SaturatedSum(node->X, port->X), SaturatedSum(node->Y, port->Y));
    return true;
}

bool CheckNode(RunSession& session, Node* node) {
    // The placement preview belongs to no circuit and never runs.
    if (!OwnerCircuit(*node) || OwnerCircuit(*node) != session.Target()) return false;
    // A pin outside a body has nothing to stand for; it is refused below as a node without a
    // routine.
    if (IsInstance(*node) && !node->Expansion)
        return Refuse(session, ErrorKind::NoThread,
                      QStringLiteral("Too many nodes to run: the insides of sub-circuits would "
                                     "hold more than %1")
                          .arg(ExpansionLimit()),
                      node, node->X, node->Y);
    if ((IsInstance(*node) && !IsLoopInstance(*node)) ||
        (IsBodyPin(*node) && node->Frame->Instance)) {
        // An instance whose body no longer repeats had a thread as a loop.
        if (const NodeRun* run = session.RunOf(*node); run && run->Thread)
            StopNodeThread(session, node);
        return CheckBoundary(session, node);
    }
    const Routine* routine = RoutineOf(*node);
    NodeRun* prepared = session.RunOf(*node);
    if (prepared && prepared->Routine != routine) StopNodeThread(session, node);
    if (!routine)
        return Refuse(session, ErrorKind::NoImplementation,
                      QStringLiteral("Node cannot run: it has no implementation"), node, node->X,
                      node->Y);
    // A node prepared before keeps its slots: a warm Start takes no lock here.
    // A loop's instance may have had slots as a plain instance, which no thread waits on.
    NodeRun& run =
        prepared && prepared->Ports.size() == node->PortArray.size() && !IsLoopInstance(*node)
            ? *prepared
            : PrepareSlots(session, *node);
    for (const auto& port : node->Ports)
        if ((port->Direction & Direction::In) && !port->Source)
            return Refuse(session, ErrorKind::MissingInput,
                          QStringLiteral("Missing input port connection"), port.get(),
                          SaturatedSum(node->X, port->X), SaturatedSum(node->Y, port->Y));
    if (run.Thread || StartNodeThread(session, *node, run)) return true;
    return Refuse(session, ErrorKind::NoThread,
                  QStringLiteral("Node cannot run: no thread could be started"), node, node->X,
                  node->Y);
}

bool PrepareCircuit(RunSession& session) {
    if (!session.Target()) return false;
    Circuit& circuit = *session.Target();
    // Lines still printed by the previous run carry its number and are dropped.
    ++session.RunNumber;
    StopUnfinishedThreads(session);
    // Every thread left waits for its start now: no count of an earlier run may reach it.
    ClearSemaphoreCounts(session);
    if (session.Observer()) session.Observer()->ClearOutput();
    session.Fault() = {};
    ShowRunState(session, RunState::Initializing, QStringLiteral("Initialization ..."));

    // Instances run as copies of the bodies as they are now.
    FollowDefinitions(circuit);
    // An instance refused an expansion for want of room gets another chance: others may have
    // gone since.
    for (Node* instance : InstancesIn(circuit.MainFrame))
        if (!instance->Expansion) ResolveImplementation(instance);
    const std::vector<Frame*> frames = RunFrames(circuit);
    bool ready = ThreadsWithinLimits(session);
    for (std::size_t f = 0; ready && f < frames.size(); ++f)
        for (const auto& node : frames[f]->Nodes)
            if (!(ready = CheckNode(session, node.get()))) break;
    for (std::size_t f = 0; ready && f < frames.size(); ++f)
        for (const auto& wire : frames[f]->Wires)
            if (!(ready = CheckWire(session, *wire))) break;
    ready = ready && PrepareLoops(session, frames);

    if (ready)
        ShowRunState(session, RunState::Ready, QStringLiteral("Initialization ... finished"));
    else
        ShowRunState(session, RunState::Defect, QStringLiteral("Defect!"));
    return ready;
}

} // namespace flow

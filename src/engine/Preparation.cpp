#include "engine/Preparation.h"

#include "engine/Expansion.h"
#include "engine/NodeThreads.h"
#include "engine/Routines.h"
#include "engine/RunObserver.h"
#include "engine/RunStatus.h"
#include "engine/ThreadLimits.h"
#include "engine/ThreadReserve.h"
#include "engine/TypeResolution.h"
#include "model/Coordinates.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <algorithm>

namespace flow {

namespace {

// Records the defect and where it lies in its frame, for a window to show it.
bool Defect(Circuit& circuit, int kind, const QString& message, const void* object, Int x, Int y) {
    circuit.ErrorKind = kind;
    circuit.ErrorMessage = message;
    circuit.ErrorObject = object;
    circuit.ErrorX = x;
    circuit.ErrorY = y;
    return false;
}

void CreateSemaphore(std::unique_ptr<CountingSemaphore>& semaphore, const Doorbell* bell) {
    if (!semaphore) semaphore = std::make_unique<CountingSemaphore>(bell);
}

bool CheckWire(Circuit& circuit, const Wire& wire) {
    const Port* source = wire.Source;
    const Port* destination = wire.Destination;
    if (CanConnect(source, destination)) return true;
    // Halfway between the two ports, the halves truncated toward zero as C++ division does.
    const Int x = HalfSum(SaturatedSum(source->Node->X, source->X),
                          SaturatedSum(destination->Node->X, destination->X));
    const Int y = HalfSum(SaturatedSum(source->Node->Y, source->Y),
                          SaturatedSum(destination->Node->Y, destination->Y));
    return Defect(circuit, ErrorKind::InvalidWire, QStringLiteral("Invalid port connection"), &wire,
                  x, y);
}

// A circuit of a hundred thousand nodes would otherwise take the machine's last process slots,
// starving every other program, before its run failed anyway. Few threads cannot do that, and
// they are not worth reading the system's figures for.
bool ThreadsWithinLimits(Circuit& circuit) {
    constexpr std::size_t kFewThreads = 64;
    // Threads started ahead of time are already counted by the system.
    const std::size_t wanted = ThreadsNeeded(circuit);
    const std::size_t needed = wanted - std::min(wanted, ParkedThreads());
    if (needed <= kFewThreads) return true;
    const std::size_t allowed = ThreadAllowance()();
    if (needed <= allowed) return true;
    circuit.ErrorKind = ErrorKind::NoThread;
    circuit.ErrorMessage =
        QStringLiteral("Too many nodes to run: %1 threads needed, the system allows %2")
            .arg(needed)
            .arg(allowed);
    circuit.ErrorObject = nullptr;
    return false;
}

} // namespace

// Pins and instances run on no thread: values cross them on the way to the nodes inside. Their
// inputs must be fed all the same, or the nodes behind them would wait for ever.
bool CheckBoundary(Circuit& circuit, Node* node) {
    for (const auto& port : node->Ports)
        if ((port->Direction & Direction::In) && !port->Source)
            return Defect(circuit, ErrorKind::MissingInput,
                          QStringLiteral("Missing input port connection"), port.get(),
                          SaturatedSum(node->X, port->X), SaturatedSum(node->Y, port->Y));
    return true;
}

bool CheckNode(Node* node) {
    Circuit* circuit = OwnerCircuit(*node);
    if (!circuit) return false; // the placement preview belongs to no circuit and never runs
    // A pin outside a body has nothing to stand for; it is refused below as a node without a
    // routine.
    if (IsInstance(*node) && !node->Expansion)
        return Defect(*circuit, ErrorKind::NoThread,
                      QStringLiteral("Too many nodes to run: the insides of sub-circuits would "
                                     "hold more than %1")
                          .arg(ExpansionLimit()),
                      node, node->X, node->Y);
    if (IsInstance(*node) || (IsPin(*node) && node->Frame->Instance))
        return CheckBoundary(*circuit, node);
    const Routine* routine = node->Implementation ? node->Implementation->Routine : nullptr;
    if (node->Routine != routine) StopNodeThread(node);
    if (!routine)
        return Defect(*circuit, ErrorKind::NoImplementation,
                      QStringLiteral("Node cannot run: it has no implementation"), node, node->X,
                      node->Y);
    {
        // Threads of other nodes look for these semaphores when they deliver a value.
        std::lock_guard lock(circuit->FiringLock);
        CreateSemaphore(node->StartSemaphore, &node->Bell);
        CreateSemaphore(node->DoneSemaphore, nullptr); // nothing waits for it
        for (const auto& port : node->Ports)
            CreateSemaphore(port->Semaphore, &node->Bell);
    }
    for (const auto& port : node->Ports)
        if ((port->Direction & Direction::In) && !port->Source)
            return Defect(*circuit, ErrorKind::MissingInput,
                          QStringLiteral("Missing input port connection"), port.get(),
                          SaturatedSum(node->X, port->X), SaturatedSum(node->Y, port->Y));
    if (node->Thread || StartNodeThread(node)) return true;
    return Defect(*circuit, ErrorKind::NoThread,
                  QStringLiteral("Node cannot run: no thread could be started"), node, node->X,
                  node->Y);
}

bool PrepareCircuit(Circuit& circuit) {
    // Lines still printed by the previous run carry its number and are dropped.
    ++circuit.RunNumber;
    StopUnfinishedThreads(circuit);
    // Every thread left waits for its start now: no count of an earlier run may reach it.
    ClearSemaphoreCounts(circuit);
    if (circuit.Observer) circuit.Observer->ClearOutput();
    circuit.ErrorKind = ErrorKind::None;
    circuit.ErrorMessage.clear();
    circuit.ErrorObject = nullptr;
    ShowRunState(circuit, RunState::Initializing, QStringLiteral("Initialization ..."));

    // Instances run as copies of the bodies as they are now.
    FollowDefinitions(circuit);
    // An instance refused an expansion for want of room gets another chance: others may have
    // gone since.
    for (Node* instance : InstancesIn(circuit.MainFrame))
        if (!instance->Expansion) ResolveImplementation(instance);
    const std::vector<Frame*> frames = RunFrames(circuit);
    bool ready = ThreadsWithinLimits(circuit);
    for (std::size_t f = 0; ready && f < frames.size(); ++f)
        for (const auto& node : frames[f]->Nodes)
            if (!(ready = CheckNode(node.get()))) break;
    for (std::size_t f = 0; ready && f < frames.size(); ++f)
        for (const auto& wire : frames[f]->Wires)
            if (!(ready = CheckWire(circuit, *wire))) break;

    if (ready)
        ShowRunState(circuit, RunState::Ready, QStringLiteral("Initialization ... finished"));
    else
        ShowRunState(circuit, RunState::Defect, QStringLiteral("Defect!"));
    return ready;
}

} // namespace flow

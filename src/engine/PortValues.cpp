#include "engine/PortValues.h"

#include "engine/RunCopies.h"
#include "model/Model.h"
#include "model/TypeResolution.h"

#include <mutex>

namespace flow {

std::optional<CarriedValue> LatestValueHeld(const RunSession& session, const Port& shown,
                                            std::uint64_t latestRun,
                                            const std::vector<Node*>& openPath) {
    // A body's own ports never carry a value: its instance's copy did the work.
    const Port* copy = RunCopyOf(shown, openPath);
    const PortRun* slot = copy ? session.SlotOf(*copy) : nullptr;
    if (!slot || slot->ValueRun == 0 || slot->ValueRun != latestRun) return std::nullopt;
    CarriedValue value{slot->ValueType, slot->Value, {}, slot->Empty};
    if (slot->ValueType == PortType::String) value.Text = slot->Text;
    return value;
}

std::optional<CarriedValue> LatestValueHeld(const RunSession& session, const Wire& wire,
                                            std::uint64_t latestRun,
                                            const std::vector<Node*>& openPath) {
    const Port* end = CarryingEnd(wire);
    return end ? LatestValueHeld(session, *end, latestRun, openPath) : std::nullopt;
}

std::optional<CarriedValue> LatestValue(const RunSession* session, const Port& port,
                                        const std::vector<Node*>& openPath) {
    if (!session || !port.Node || OwnerCircuit(*port.Node) != session->Target())
        return std::nullopt;
    std::lock_guard lock(const_cast<RunSession*>(session)->FiringLock());
    return LatestValueHeld(*session, port, session->RunNumber, openPath);
}

std::optional<CarriedValue> LatestValue(const RunSession* session, const Wire& wire,
                                        const std::vector<Node*>& openPath) {
    const Port* end = CarryingEnd(wire);
    return end ? LatestValue(session, *end, openPath) : std::nullopt;
}

namespace {

// The node's run entry, for a node of the session's circuit; read on the user-interface
// thread, the only one that changes the table.
const NodeRun* RunEntryOf(const RunSession* session, const Node& node,
                          const std::vector<Node*>& openPath) {
    if (!session || OwnerCircuit(node) != session->Target()) return nullptr;
    const Node* copy = RunCopyOf(node, openPath);
    return copy ? session->RunOf(*copy) : nullptr;
}

} // namespace

bool SkippedInLatestRun(const RunSession* session, const Node& node,
                        const std::vector<Node*>& openPath) {
    if (!session || session->SkipsIn != session->RunNumber) return false;
    const NodeRun* run = RunEntryOf(session, node, openPath);
    return run && run->SkippedRun == session->RunNumber;
}

std::optional<std::uint64_t> IterationsInLatestRun(const RunSession* session, const Node& node,
                                                   const std::vector<Node*>& openPath) {
    const NodeRun* run = RunEntryOf(session, node, openPath);
    if (!run || !run->Loop || run->Loop->RanIn != session->RunNumber) return std::nullopt;
    return run->Loop->Ran.load();
}

const Port* CarryingEnd(const Wire& wire) {
    const Port* a = wire.Source;
    const Port* b = wire.Destination;
    if (!a || !b || !a->Node || !b->Node || !CanConnect(a, b)) return nullptr;
    if (b->Source == a) return b;
    if (a->Source == b) return a; // drawn from the input to the output
    return nullptr;
}

} // namespace flow

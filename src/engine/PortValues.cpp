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
    CarriedValue value{slot->ValueType, slot->Value, {}};
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

const Port* CarryingEnd(const Wire& wire) {
    const Port* a = wire.Source;
    const Port* b = wire.Destination;
    if (!a || !b || !a->Node || !b->Node || !CanConnect(a, b)) return nullptr;
    if (b->Source == a) return b;
    if (a->Source == b) return a; // drawn from the input to the output
    return nullptr;
}

} // namespace flow

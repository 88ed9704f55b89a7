#include "engine/PortValues.h"

#include "engine/RunCopies.h"
#include "engine/TypeResolution.h"
#include "model/Model.h"

#include <mutex>

namespace flow {

namespace {

Circuit* CircuitOf(const Port& port) {
    return port.Node ? OwnerCircuit(*port.Node) : nullptr;
}

} // namespace

std::optional<CarriedValue> LatestValueHeld(const Port& shown, std::uint64_t latestRun,
                                            const std::vector<Node*>& openPath) {
    // A body's own ports never carry a value: its instance's copy did the work.
    const Port* copy = RunCopyOf(shown, openPath);
    if (!copy) return std::nullopt;
    const Port& port = *copy;
    if (port.ValueRun == 0 || port.ValueRun != latestRun) return std::nullopt;
    CarriedValue value{port.ValueType, port.Value, {}};
    if (port.ValueType == PortType::String) value.Text = port.Text;
    return value;
}

std::optional<CarriedValue> LatestValueHeld(const Wire& wire, std::uint64_t latestRun,
                                            const std::vector<Node*>& openPath) {
    const Port* end = CarryingEnd(wire);
    return end ? LatestValueHeld(*end, latestRun, openPath) : std::nullopt;
}

std::optional<CarriedValue> LatestValue(const Port& port, const std::vector<Node*>& openPath) {
    Circuit* circuit = CircuitOf(port);
    if (!circuit) return std::nullopt;
    std::lock_guard lock(circuit->FiringLock);
    return LatestValueHeld(port, circuit->RunNumber, openPath);
}

std::optional<CarriedValue> LatestValue(const Wire& wire, const std::vector<Node*>& openPath) {
    const Port* end = CarryingEnd(wire);
    return end ? LatestValue(*end, openPath) : std::nullopt;
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

#include "render/HoverText.h"

#include "engine/PortValues.h"
#include "engine/RunCopies.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/TypeResolution.h"
#include "render/ValueDisplay.h"

namespace flow {

namespace {

QString DirectionPrefix(int direction) {
    switch (direction) {
    case Direction::In:
        return QStringLiteral("Port (In): ");
    case Direction::Out:
        return QStringLiteral("Port (Out): ");
    default:
        return QString();
    }
}

QString ValueSuffix(const std::optional<CarriedValue>& value) {
    if (!value) return QString();
    return QStringLiteral(" = ") + DisplayCarried(*value);
}

// "a Boolean", "an Integer"; a type not fixed yet is "untyped".
QString TypeWithArticle(int type) {
    const QString name = PortTypeName(type);
    if (name.isEmpty()) return QStringLiteral("an untyped");
    const bool vowel = QStringLiteral("AEIOU").contains(name.front());
    return (vowel ? QStringLiteral("an ") : QStringLiteral("a ")) + name;
}

// Why the wire cannot carry a value; its ends taken as output side and input side where the
// directions allow it.
QString FaultText(const Wire& wire, ConnectionFault fault) {
    const Port* from = wire.Source;
    const Port* into = wire.Destination;
    if (from && into && !(from->Direction & Direction::Out)) std::swap(from, into);
    switch (fault) {
    case ConnectionFault::Directions:
        return from && (from->Direction & Direction::Out)
                   ? QStringLiteral("Wire: an output into an output")
                   : QStringLiteral("Wire: an input into an input");
    case ConnectionFault::SecondFeeder:
        return QStringLiteral("Wire: a second wire into an input that already has one");
    case ConnectionFault::Types: {
        const QString fromType = PortTypeName(from->Type);
        return QStringLiteral("Wire: %1 into %2 input")
            .arg(fromType.isEmpty() ? QStringLiteral("untyped") : fromType,
                 TypeWithArticle(into->Type));
    }
    default:
        return QStringLiteral("Wire");
    }
}

// What the latest run did with the node, when it did not simply fire once.
QString RunSuffix(const Node& node, const std::vector<Node*>& openPath, const RunSession* run) {
    if (NeverFired(node, openPath)) return QStringLiteral(" never fired in the latest run");
    if (SkippedInLatestRun(run, node, openPath))
        return QStringLiteral(" skipped in the latest run");
    if (const auto iterations = IterationsInLatestRun(run, node, openPath))
        return QStringLiteral(" ran %1 %2 in the latest run")
            .arg(*iterations)
            .arg(*iterations == 1 ? QStringLiteral("iteration") : QStringLiteral("iterations"));
    return QString();
}

} // namespace

// A type not fixed yet adds nothing: the label alone names the port.
QString PortTypeSuffix(int type) {
    const QString name = PortTypeName(type);
    return name.isEmpty() ? name : QStringLiteral(" (%1)").arg(name);
}

QString HoverText(const Comment&) {
    return QStringLiteral("Comment");
}

QString HoverText(const Node& node, const std::vector<Node*>& openPath, const RunSession* run) {
    if (IsConstant(node)) return QStringLiteral("Constant") + RunSuffix(node, openPath, run);
    if (IsInput(node))
        return QStringLiteral("Input “%1”").arg(InputName(node)) + RunSuffix(node, openPath, run);
    return QStringLiteral("Function: ") + (node.Function ? node.Function->Name : QString()) +
           RunSuffix(node, openPath, run);
}

QString HoverText(const Port& port, const std::vector<Node*>& openPath, const RunSession* run) {
    return DirectionPrefix(port.Direction) + port.Label +
           PortTypeSuffix(ShownType(port, openPath)) +
           ValueSuffix(LatestValue(run, port, openPath));
}

QString HoverText(const Wire& wire, const std::vector<Node*>& openPath, const RunSession* run) {
    const ConnectionFault fault = WhyCannotConnect(wire.Source, wire.Destination);
    if (fault != ConnectionFault::None) return FaultText(wire, fault);
    const std::optional<CarriedValue> value = LatestValue(run, wire, openPath);
    if (!value) return QStringLiteral("Wire");
    return QStringLiteral("Wire: ") + DisplayCarried(*value);
}

} // namespace flow

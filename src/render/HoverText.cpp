#include "render/HoverText.h"

#include "engine/PortValues.h"
#include "engine/RunCopies.h"
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

QString TypeName(int type) {
    switch (type) {
    case PortType::Boolean:
        return QStringLiteral("Boolean");
    case PortType::Integer:
        return QStringLiteral("Integer");
    case PortType::Real:
        return QStringLiteral("Real");
    case PortType::String:
        return QStringLiteral("String");
    default:
        return QString();
    }
}

QString ValueSuffix(const std::optional<CarriedValue>& value) {
    if (!value) return QString();
    return QStringLiteral(" = ") + DisplayValue(value->Type, value->Value, value->Text);
}

// "a Boolean", "an Integer"; a type not fixed yet is "untyped".
QString TypeWithArticle(int type) {
    const QString name = TypeName(type);
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
        const QString fromType = TypeName(from->Type);
        return QStringLiteral("Wire: %1 into %2 input")
            .arg(fromType.isEmpty() ? QStringLiteral("untyped") : fromType,
                 TypeWithArticle(into->Type));
    }
    default:
        return QStringLiteral("Wire");
    }
}

QString NeverFiredSuffix(const Node& node, const std::vector<Node*>& openPath) {
    return NeverFired(node, openPath) ? QStringLiteral(" never fired in the latest run")
                                      : QString();
}

} // namespace

// A type not fixed yet adds nothing: the label alone names the port.
QString PortTypeSuffix(int type) {
    const QString name = TypeName(type);
    return name.isEmpty() ? name : QStringLiteral(" (%1)").arg(name);
}

QString HoverText(const Comment&) {
    return QStringLiteral("Comment");
}

QString HoverText(const Node& node, const std::vector<Node*>& openPath) {
    if (IsConstant(node)) return QStringLiteral("Constant") + NeverFiredSuffix(node, openPath);
    return QStringLiteral("Function: ") + (node.Function ? node.Function->Name : QString()) +
           NeverFiredSuffix(node, openPath);
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
    return QStringLiteral("Wire: ") + DisplayValue(value->Type, value->Value, value->Text);
}

} // namespace flow

#include "render/HoverText.h"

#include "model/Model.h"

namespace flow {

namespace {

QString DirectionPrefix(int direction) {
    switch (direction) {
    case Direction::In:
        return QStringLiteral("Port (In): ");
    case Direction::Out:
        return QStringLiteral("Port (Out): ");
    case Direction::InOut:
        return QStringLiteral("Port (In/Out): ");
    default:
        return QString();
    }
}

} // namespace

QString PortTypeSuffix(int type) {
    switch (type) {
    case PortType::Boolean:
        return QStringLiteral(" (Boolean)");
    case PortType::Integer:
        return QStringLiteral(" (Integer)");
    case PortType::Real:
        return QStringLiteral(" (Real)");
    case PortType::String:
        return QStringLiteral(" (String)");
    default:
        return QString();
    }
}

QString HoverText(const Comment&) {
    return QStringLiteral("Comment");
}

QString HoverText(const Node& node) {
    if (IsConstant(node)) return QStringLiteral("Constant");
    return QStringLiteral("Function: ") + (node.Function ? node.Function->Name : QString());
}

QString HoverText(const Port& port) {
    return DirectionPrefix(port.Direction) + port.Label + PortTypeSuffix(port.Type);
}

QString HoverText(const Wire&) {
    return QStringLiteral("Wire");
}

} // namespace flow

#include "engine/DefectPlace.h"

#include "model/Model.h"

namespace flow {

namespace {

QString NodeName(const Node* node) {
    if (!node) return QStringLiteral("a node");
    return QStringLiteral("the %1 node at %2, %3")
        .arg(node->Function ? node->Function->Name : QStringLiteral("unknown"))
        .arg(node->X)
        .arg(node->Y);
}

// Inside an instance, the place goes on with the instance, out to the main frame: " inside
// Adder, instance at 120, 40".
QString InsideOf(const Frame* frame) {
    QString text;
    for (; frame && frame->Instance; frame = frame->Instance->Frame) {
        const Node* instance = frame->Instance;
        text += QStringLiteral(" inside %1, instance at %2, %3")
                    .arg(instance->Function->Name)
                    .arg(instance->X)
                    .arg(instance->Y);
    }
    return text;
}

} // namespace

QString NodePlace(const Node& node) {
    return QStringLiteral("%1 at %2, %3")
               .arg(node.Function ? node.Function->Name : QStringLiteral("unknown"))
               .arg(node.X)
               .arg(node.Y) +
           InsideOf(node.Frame);
}

QString DefectPlace(const Defect& defect) {
    switch (defect.Kind) {
    case ErrorKind::MissingInput: {
        const auto* const* held = std::get_if<const Port*>(&defect.Object);
        if (!held) return {};
        const Port* port = *held;
        return QStringLiteral("input %1 \"%2\" of %3")
                   .arg(PortIndex(port))
                   .arg(port->Label, NodeName(port->Node)) +
               InsideOf(port->Node ? port->Node->Frame : nullptr);
    }
    case ErrorKind::InvalidWire: {
        const auto* const* held = std::get_if<const Wire*>(&defect.Object);
        if (!held) return {};
        const Wire* wire = *held;
        return QStringLiteral("the wire from %1 to %2")
                   .arg(NodeName(wire->Source ? wire->Source->Node : nullptr),
                        NodeName(wire->Destination ? wire->Destination->Node : nullptr)) +
               InsideOf(wire->Frame);
    }
    case ErrorKind::NoImplementation:
    case ErrorKind::NoThread: {
        const auto* const* held = std::get_if<const Node*>(&defect.Object);
        if (!held) return {};
        const Node* node = *held;
        return NodeName(node) + InsideOf(node->Frame);
    }
    default:
        return {};
    }
}

} // namespace flow

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

} // namespace

QString DefectPlace(const Circuit& circuit) {
    if (!circuit.ErrorObject) return {};
    switch (circuit.ErrorKind) {
    case ErrorKind::MissingInput: {
        const auto* port = static_cast<const Port*>(circuit.ErrorObject);
        return QStringLiteral("input %1 \"%2\" of %3")
            .arg(PortIndex(port))
            .arg(port->Label, NodeName(port->Node));
    }
    case ErrorKind::InvalidWire: {
        const auto* wire = static_cast<const Wire*>(circuit.ErrorObject);
        return QStringLiteral("the wire from %1 to %2")
            .arg(NodeName(wire->Source ? wire->Source->Node : nullptr),
                 NodeName(wire->Destination ? wire->Destination->Node : nullptr));
    }
    case ErrorKind::NoImplementation:
        return NodeName(static_cast<const Node*>(circuit.ErrorObject));
    default:
        return {};
    }
}

} // namespace flow

#include "editor/history/PinNameStep.h"

#include "editor/history/History.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/ObjectsById.h"
#include "model/SubCircuits.h"

namespace flow {

namespace {

QString NameOf(const Node& node) {
    return IsPin(node) ? PinName(node) : InputName(node);
}

void Rename(Node& node, const QString& stepName, const QString& name) {
    Circuit* circuit = OwnerCircuit(node);
    if (!circuit || NameOf(node) == name) return;
    RecordStep(*circuit,
               std::make_unique<PinNameStep>(*circuit, stepName, node.Id, NameOf(node), name));
}

} // namespace

PinNameStep::PinNameStep(Circuit& circuit, const QString& stepName, Int nodeId, QString before,
                         QString after)
    : HistoryStep(circuit, stepName), nodeId_(nodeId), before_(std::move(before)),
      after_(std::move(after)) {}

std::size_t PinNameStep::Bytes() const {
    return sizeof(*this) + std::size_t(before_.capacity() + after_.capacity()) * sizeof(QChar);
}

void PinNameStep::Release() {
    before_ = after_ = QString();
}

void PinNameStep::Set(const QString& name) {
    if (Frame* frame = EditedFrame())
        if (Node* node = ObjectsById(frame->Nodes).value(nodeId_)) {
            if (IsPin(*node)) SetPinName(*node, name);
            if (IsInput(*node)) SetInputName(*node, name);
        }
    Settle();
}

void RenamePin(Node& pin, const QString& name) {
    if (IsPin(pin)) Rename(pin, QStringLiteral("Rename Pin"), name);
}

void RenameInput(Node& input, const QString& name) {
    if (IsInput(input)) Rename(input, QStringLiteral("Rename Input"), name);
}

} // namespace flow

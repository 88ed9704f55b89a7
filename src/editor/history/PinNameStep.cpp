#include "editor/history/PinNameStep.h"

#include "editor/history/History.h"
#include "model/Model.h"
#include "model/ObjectsById.h"
#include "model/SubCircuits.h"

#include <QUndoStack>

namespace flow {

PinNameStep::PinNameStep(Circuit& circuit, Int pinId, QString before, QString after)
    : HistoryStep(circuit, QStringLiteral("Rename Pin")), pinId_(pinId), before_(std::move(before)),
      after_(std::move(after)) {}

std::size_t PinNameStep::Bytes() const {
    return sizeof(*this) + std::size_t(before_.capacity() + after_.capacity()) * sizeof(QChar);
}

void PinNameStep::Release() {
    before_ = after_ = QString();
}

void PinNameStep::Set(const QString& name) {
    if (Frame* frame = EditedFrame())
        if (Node* pin = ObjectsById(frame->Nodes).value(pinId_); pin && IsPin(*pin))
            SetPinName(*pin, name);
    Settle();
}

void RenamePin(Node& pin, const QString& name) {
    Circuit* circuit = OwnerCircuit(pin);
    if (!circuit || !IsPin(pin) || PinName(pin) == name) return;
    auto* step = new PinNameStep(*circuit, pin.Id, PinName(pin), name);
    if (QUndoStack* history = HistoryOf(*circuit))
        history->push(step);
    else {
        step->redo();
        delete step;
    }
}

} // namespace flow

#include "editor/canvas/NodePlacement.h"

#include "editor/canvas/OpenViews.h"
#include "editor/history/History.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"
#include "model/TypeResolution.h"

#include <QObject>

#include <utility>

namespace flow {

bool WireWouldFit(const Port* from, const Port* to) {
    if (!from || !to || from == to) return false;
    if (!(from->Direction & Direction::Out) && !(to->Direction & Direction::In))
        std::swap(from, to);
    return CanConnect(from, to);
}

Port* FirstFittingPort(const Node& node, const Port* from) {
    for (std::size_t i = 1; i < node.PortArray.size(); ++i)
        if (WireWouldFit(from, node.PortArray[i])) return node.PortArray[i];
    return nullptr;
}

Node* PlacePreviewNode(Circuit& circuit, const Node& preview, Int x, Int y, Port* wireFrom) {
    Node* node = nullptr;
    // The preview may have been chosen in another frame than the one shown now.
    const FunctionDef* outer = DefinitionOf(ShownFrame(circuit));
    if (WouldRecurse(outer, preview.Function) || (!outer && IsBodyPin(preview)) ||
        (outer && IsInput(preview)))
        return node;
    RecordGroupEdit(circuit, QStringLiteral("Add Node"), {}, [&] {
        node = AddNode(&ShownFrame(circuit), preview.Function, preview.Implementation);
        const Port* from = FirstPort(preview);
        Port* to = FirstPort(*node);
        if (HoldsValue(preview) && from && to) {
            to->Value = from->Value;
            to->Text = from->Text;
            to->Type = from->Type;
        }
        if (IsInput(*node))
            SetInputName(*node, FreeInputName(*node->Frame, InputName(preview), node));
        MoveObject(*node, x, y);
        FrameObjects added{{}, {node}, {}};
        if (Port* fitting = wireFrom ? FirstFittingPort(*node, wireFrom) : nullptr)
            if (Wire* wire = ConnectPorts(wireFrom, fitting)) added.Wires.push_back(wire);
        return added;
    });
    return node;
}

} // namespace flow

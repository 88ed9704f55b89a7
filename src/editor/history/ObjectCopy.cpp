#include "editor/history/ObjectCopy.h"

#include "model/Coordinates.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"

namespace flow {

Port* ObjectCopies::CopyOf(const Port* original) const {
    if (!original || !original->Node) return nullptr;
    const auto found = Nodes.find(original->Node);
    if (found == Nodes.end()) return nullptr;
    const Int index = PortIndex(original);
    const Node& copy = *found->second;
    return index > 0 && index < Int(copy.PortArray.size()) ? copy.PortArray[std::size_t(index)]
                                                           : nullptr;
}

ObjectCopies CopyObjects(const FrameObjects& objects, Frame& into, Int dx, Int dy,
                         const FunctionChoice& function) {
    ObjectCopies copies;
    for (const Comment* original : objects.Comments)
        copies.Made.Comments.push_back(AddComment(
            &into, original->Text, SaturatedSum(original->X, dx), SaturatedSum(original->Y, dy)));
    for (const Node* original : objects.Nodes) {
        FunctionDef* chosen = function ? function(original->Function) : nullptr;
        const bool constant = HoldsValue(*original);
        Node* node = AddNode(&into, chosen ? chosen : original->Function,
                             constant ? original->Implementation : nullptr);
        if (constant && !original->Ports.empty() && !node->Ports.empty()) {
            const Port& from = *original->Ports.front();
            Port& to = *node->Ports.front();
            to.Value = from.Value;
            to.Text = from.Text;
            to.Type = from.Type;
        }
        if (IsPin(*original)) SetPinName(*node, PinName(*original));
        if (IsInput(*original)) SetInputName(*node, InputName(*original));
        MoveObject(*node, SaturatedSum(original->X, dx), SaturatedSum(original->Y, dy));
        copies.Nodes.emplace(original, node);
        copies.Made.Nodes.push_back(node);
    }
    for (const Wire* wire : objects.Wires)
        if (Wire* made =
                ConnectPorts(copies.CopyOf(wire->Source), copies.CopyOf(wire->Destination)))
            copies.Made.Wires.push_back(made);
    // Wires are made in the originals' order, but an input reads the feeder it read before,
    // whichever came first.
    for (const Node* original : objects.Nodes)
        for (const auto& port : original->Ports)
            if (Port* source = copies.CopyOf(port->Source))
                SetInputSource(*copies.CopyOf(port.get()), source);
    return copies;
}

QRectF ObjectsBox(const FrameObjects& objects) {
    QRectF box;
    for (Comment* comment : objects.Comments) {
        LayoutComment(*comment);
        box |= QRectF(comment->X, comment->Y, comment->Width, comment->Height).normalized();
    }
    for (Node* node : objects.Nodes) {
        LayoutConstant(*node);
        box |= QRectF(node->X, node->Y, node->Width, node->Height).normalized();
    }
    return box;
}

FrameObjects AllObjectsOf(const Frame& frame) {
    FrameObjects all;
    for (const auto& comment : frame.Comments)
        all.Comments.push_back(comment.get());
    for (const auto& node : frame.Nodes)
        all.Nodes.push_back(node.get());
    for (const auto& wire : frame.Wires)
        all.Wires.push_back(wire.get());
    return all;
}

} // namespace flow

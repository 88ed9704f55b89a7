#include "editor/actions/MakeSubCircuit.h"

#include "editor/actions/SubCircuitNameDialog.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/OpenViews.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/CompoundEdit.h"
#include "editor/history/History.h"
#include "editor/history/ObjectCopy.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"

#include <QWidget>

#include <algorithm>
#include <unordered_set>

namespace flow {

namespace {

constexpr Int kPinGap = 40; // between the pins and the group
constexpr Int kPinRow = 24; // between neighbouring pins

// Values that cross the selection's boundary through one port: from an outside source into the
// group (inbound) or from a port inside out of it (outbound). Each becomes a pin.
struct Crossing {
    Port* Source;            // the port the values come from
    std::vector<Port*> Ends; // the inputs it feeds across the boundary
    std::vector<bool> Reads; // whether each end reads this source among its feeders
    Node* Pin = nullptr;
};

void Join(std::vector<Crossing>& crossings, Port* source, Port* end) {
    auto found = std::find_if(crossings.begin(), crossings.end(),
                              [&](const Crossing& c) { return c.Source == source; });
    if (found == crossings.end())
        found = crossings.insert(crossings.end(), Crossing{source, {}, {}});
    found->Ends.push_back(end);
    found->Reads.push_back(end->Source == source);
}

// The place of a port inside the group, top to bottom, then left to right: pins follow the
// order of what they connect to, so the instance's ports do too.
std::pair<Int, Int> PlaceOf(const Port* port) {
    return {port->Node->Y + port->Y, port->Node->X + port->X};
}

std::pair<Int, Int> InsidePlace(const Crossing& crossing, bool inbound) {
    if (!inbound) return PlaceOf(crossing.Source);
    std::pair<Int, Int> top = PlaceOf(crossing.Ends.front());
    for (const Port* end : crossing.Ends)
        top = std::min(top, PlaceOf(end));
    return top;
}

void SortByPlace(std::vector<Crossing>& crossings, bool inbound) {
    std::stable_sort(crossings.begin(), crossings.end(), [inbound](const auto& a, const auto& b) {
        return InsidePlace(a, inbound) < InsidePlace(b, inbound);
    });
}

QString UniqueName(std::vector<QString>& taken, QString name, const QString& fallback) {
    if (name.trimmed().isEmpty()) name = fallback;
    QString candidate = name;
    for (int n = 2; std::find(taken.begin(), taken.end(), candidate) != taken.end(); ++n)
        candidate = NumberedName(name, n);
    taken.push_back(candidate);
    return candidate;
}

Port* PortFor(const Node& instance, const Node* pin) {
    for (const auto& port : instance.Ports)
        if (port->Id == pin->Id) return port.get();
    return nullptr;
}

// Pins in the body for the crossings, wired to the copies of what they stand for.
void AddPins(Frame& body, const ObjectCopies& copies, std::vector<Crossing>& inputs,
             std::vector<Crossing>& outputs, const QRectF& box) {
    std::vector<QString> names;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        Crossing& crossing = inputs[i];
        Node* pin = crossing.Pin = AddNode(&body, PinFunctions().Input, nullptr);
        SetPinName(*pin, UniqueName(names, crossing.Ends.front()->Label, QStringLiteral("in")));
        MoveObject(*pin, Int(box.left()) - kPinGap - pin->Width, Int(box.top()) + Int(i) * kPinRow);
        Port* out = pin->Ports.front().get();
        for (std::size_t e = 0; e < crossing.Ends.size(); ++e) {
            Port* copy = copies.CopyOf(crossing.Ends[e]);
            ConnectPorts(out, copy);
            if (crossing.Reads[e]) SetInputSource(*copy, out);
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        Crossing& crossing = outputs[i];
        Node* pin = crossing.Pin = AddNode(&body, PinFunctions().Output, nullptr);
        SetPinName(*pin, UniqueName(names, crossing.Source->Label, QStringLiteral("out")));
        MoveObject(*pin, Int(box.right()) + kPinGap, Int(box.top()) + Int(i) * kPinRow);
        ConnectPorts(copies.CopyOf(crossing.Source), pin->Ports.front().get());
    }
}

} // namespace

QString SelectionProblem(const Circuit& circuit) {
    const Frame& frame = ShownFrame(circuit);
    const FrameObjects chosen = SelectedObjectsWithInnerWires(frame);
    if (chosen.Nodes.empty() && chosen.Comments.empty())
        return QStringLiteral("Select the nodes to make a sub-circuit of");
    const FunctionDef* outer = DefinitionOf(frame);
    for (const Node* node : chosen.Nodes) {
        if (IsPin(*node))
            return QStringLiteral("Pins stand for the ports of “%1” and stay in it")
                .arg(outer ? outer->Name : QString());
        if (IsInput(*node)) return QStringLiteral("Inputs belong to the main frame and stay in it");
        if (IsInstance(*node) && WouldRecurse(outer, node->Function))
            return QStringLiteral("“%1” may not contain itself").arg(outer->Name);
    }
    return QString();
}

Node* MakeSubCircuit(Circuit& circuit, const QString& name, QString* refusal) {
    QString problem = SelectionProblem(circuit);
    if (problem.isEmpty()) problem = SubCircuitNameProblem(circuit, name);
    if (!problem.isEmpty()) {
        if (refusal) *refusal = problem;
        return nullptr;
    }
    Frame& frame = ShownFrame(circuit);
    const FrameObjects chosen = SelectedObjectsWithInnerWires(frame);
    const std::unordered_set<const Node*> inside(chosen.Nodes.begin(), chosen.Nodes.end());
    std::vector<Crossing> inputs, outputs;
    for (const auto& wire : frame.Wires) {
        const bool from = inside.count(wire->Source->Node) > 0;
        const bool to = inside.count(wire->Destination->Node) > 0;
        if (from != to) Join(to ? inputs : outputs, wire->Source, wire->Destination);
    }
    SortByPlace(inputs, true);
    SortByPlace(outputs, false);

    CompoundEdit edit(circuit, QStringLiteral("Make Sub-circuit"));
    FunctionDef* definition = AddSubCircuit(circuit, name);
    const ObjectCopies copies = CopyObjects(chosen, BodyOf(*definition), 0, 0);
    const QRectF box = ObjectsBox(chosen);
    AddPins(BodyOf(*definition), copies, inputs, outputs, box);
    edit.Added(*definition);

    Node* instance = nullptr;
    edit.Edit(frame, {chosen.Comments, chosen.Nodes, {}}, [&] {
        TakeOut({chosen.Comments, chosen.Nodes, {}});
        instance = AddNode(&frame, definition, nullptr);
        const UnitPair place = SnappedPlace(circuit, Int(box.center().x()) - instance->Width / 2,
                                            Int(box.center().y()) - instance->Height / 2);
        MoveObject(*instance, place.X, place.Y);
        FrameObjects added{{}, {instance}, {}};
        for (const Crossing& crossing : inputs)
            if (Wire* wire = ConnectPorts(crossing.Source, PortFor(*instance, crossing.Pin)))
                added.Wires.push_back(wire);
        for (const Crossing& crossing : outputs) {
            Port* port = PortFor(*instance, crossing.Pin);
            for (std::size_t e = 0; e < crossing.Ends.size(); ++e) {
                if (Wire* wire = ConnectPorts(port, crossing.Ends[e])) added.Wires.push_back(wire);
                if (crossing.Reads[e]) SetInputSource(*crossing.Ends[e], port);
            }
        }
        SelectOnly(frame, added);
        return added;
    });
    edit.Commit();
    return instance;
}

void MakeSubCircuitFromSelection(Circuit& circuit) {
    if (const QString problem = SelectionProblem(circuit); !problem.isEmpty()) {
        ShowStatusNotice(circuit, problem);
        return;
    }
    const std::optional<QString> name = AskSubCircuitName()(circuit);
    // Keys go back to the canvas, where they went before the dialog took them.
    if (CircuitWindow* window = WindowOf(circuit)) window->Canvas()->setFocus();
    if (name) MakeSubCircuit(circuit, *name);
}

} // namespace flow

#include "engine/RunCopies.h"

#include "model/Model.h"
#include "model/SubCircuits.h"

#include <QHash>

#include <algorithm>

namespace flow {

namespace {

Node* NodeWithId(const Frame& frame, Int id) {
    const auto found = std::find_if(frame.Nodes.begin(), frame.Nodes.end(),
                                    [id](const auto& node) { return node->Id == id; });
    return found == frame.Nodes.end() ? nullptr : found->get();
}

// Every port of a large body drawn, hovered or labelled asks for its copy: the places of the
// last expansion asked are kept, and trusted only where the ID found there is the one asked
// for, so that a changed or new expansion can never be misread.
Node* CopyWithId(const Frame& expansion, Int id) {
    static const Frame* indexed = nullptr;
    static QHash<Int, std::size_t> places;
    const auto at = [&]() -> Node* {
        const auto place = places.constFind(id);
        if (place == places.cend() || *place >= expansion.Nodes.size()) return nullptr;
        Node* node = expansion.Nodes[*place].get();
        return node->Id == id ? node : nullptr;
    };
    if (indexed == &expansion)
        if (Node* node = at()) return node;
    indexed = &expansion;
    places.clear();
    for (std::size_t i = 0; i < expansion.Nodes.size(); ++i)
        places.insert(expansion.Nodes[i]->Id, i);
    return at();
}

// The expansion that runs the body shown at the end of the open path.
const Frame* ShownExpansion(const std::vector<Node*>& openPath) {
    const Frame* expansion = nullptr;
    for (const Node* opened : openPath) {
        const Node* copy = expansion ? NodeWithId(*expansion, opened->Id) : opened;
        if (!copy || !copy->Expansion) return nullptr;
        expansion = copy->Expansion.get();
    }
    return expansion;
}

} // namespace

Node* RunCopyOf(const Node& node, const std::vector<Node*>& openPath) {
    const Frame* frame = node.Frame;
    if (!frame || !frame->Owner) return nullptr;
    const Circuit& circuit = *frame->Owner;
    if (frame == &circuit.MainFrame) return const_cast<Node*>(&node);
    const bool shown = !openPath.empty() && frame == &BodyOf(*openPath.back()->Function);
    if (!frame->Definition || !shown) return nullptr;
    const Frame* expansion = ShownExpansion(openPath);
    return expansion ? CopyWithId(*expansion, node.Id) : nullptr;
}

const Port* RunCopyOf(const Port& port, const std::vector<Node*>& openPath) {
    if (!port.Node) return nullptr;
    const Node* copy = RunCopyOf(*port.Node, openPath);
    if (copy == port.Node) return &port;
    const Int index = PortIndex(&port);
    if (!copy || index <= 0 || index >= Int(copy->PortArray.size())) return nullptr;
    return copy->PortArray[std::size_t(index)];
}

int ShownType(const Port& port, const std::vector<Node*>& openPath) {
    const Port* copy = RunCopyOf(port, openPath);
    return (copy ? copy : &port)->Type;
}

bool NeverFired(const Node& node, const std::vector<Node*>& openPath) {
    const Node* copy = RunCopyOf(node, openPath);
    return copy && (copy->Flags & ObjectFlag::NeverFired);
}

std::vector<Node*> OpenPathTo(const Frame& expansion) {
    std::vector<const Node*> copies; // innermost first
    for (const Frame* frame = &expansion; frame && frame->Instance; frame = frame->Instance->Frame)
        copies.push_back(frame->Instance);
    std::vector<Node*> path;
    const Frame* outer = copies.empty() ? nullptr : copies.back()->Frame;
    for (auto it = copies.rbegin(); it != copies.rend(); ++it) {
        Node* opened = outer ? NodeWithId(*outer, (*it)->Id) : nullptr;
        if (!opened || !IsInstance(*opened)) return {};
        path.push_back(opened);
        outer = &BodyOf(*opened->Function);
    }
    return path;
}

} // namespace flow

#include "model/Model.h"

#include "model/Catalogue.h"
#include "model/Expansion.h"
#include "model/Inputs.h"
#include "model/SubCircuits.h"
#include "model/TypeResolution.h"

#include <algorithm>
#include <unordered_set>

namespace flow {

namespace {

// Searched from the end, as EraseOwned below: the lists hold no item twice.
template <typename T> void Erase(std::vector<T*>& list, const T* item) {
    auto it = std::find(list.rbegin(), list.rend(), item);
    if (it != list.rend()) list.erase(std::next(it).base());
}

// Searched from the end: what goes is most often what came last (an undone paste, a wire just
// drawn), and taking a group out from its end then costs nothing per object.
template <typename T> void EraseOwned(std::vector<std::unique_ptr<T>>& list, const T* item) {
    auto it =
        std::find_if(list.rbegin(), list.rend(), [&](const auto& p) { return p.get() == item; });
    if (it != list.rend()) list.erase(std::next(it).base());
}

bool Contains(const std::vector<Port*>& list, const Port* port) {
    return std::find(list.begin(), list.end(), port) != list.end();
}

// Whether a wire runs from one port to the other. Either end's list tells; the shorter is
// searched, so that an output feeding thousands of inputs does not make each new wire slower.
bool Linked(const Port* from, const Port* to) {
    return from->Targets.size() <= to->Feeders.size() ? Contains(from->Targets, to)
                                                      : Contains(to->Feeders, from);
}

// A defect that points at an object being deleted must not outlive it.
void ForgetErrorObject(Circuit* circuit, ObjectRef object) {
    if (!circuit) return;
    for (RunLink* run : circuit->Runs)
        run->ObjectGone(object);
}

// Called with the runs' locks held.
void ForgetValue(const Circuit* circuit, const Port& port) {
    for (RunLink* run : circuit->Runs)
        run->ForgetValue(port);
}

// Nodes whose thread could not be stopped in time: the thread may still touch them.
std::vector<std::unique_ptr<Node>>& DetachedNodes() {
    static std::vector<std::unique_ptr<Node>> nodes;
    return nodes;
}

} // namespace

std::vector<std::unique_ptr<Circuit>>& Circuits() {
    static std::vector<std::unique_ptr<Circuit>> circuits;
    return circuits;
}

int& OpenWindowCount() {
    static int count = 0;
    return count;
}

std::function<void(Circuit&)>& CircuitWindowCloser() {
    static std::function<void(Circuit&)> closer;
    return closer;
}

QString PortTypeName(int type) {
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

bool IsConstant(const Node& node) {
    return node.Function && node.Function == Catalogue().Constant;
}

bool ChoosesOwnType(const Node& node) {
    if (!node.Function || HoldsValue(node) || node.Function->Implementations.size() < 2)
        return false;
    return std::none_of(node.Ports.begin(), node.Ports.end(),
                        [](const auto& port) { return port->Direction & Direction::In; });
}

Circuit* OwnerCircuit(const Node& node) {
    return node.Frame ? node.Frame->Owner : nullptr;
}

Int PortIndex(const Port* port) {
    if (!port || !port->Node) return 0;
    const auto& array = port->Node->PortArray;
    if (port->Index > 0 && port->Index < Int(array.size()) &&
        array[std::size_t(port->Index)] == port)
        return port->Index;
    const auto& ports = port->Node->Ports;
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i].get() == port) return Int(i) + 1;
    return 0;
}

Port* FirstPort(const Node& node) {
    return node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
}

Circuit& NewCircuit() {
    auto circuit = std::make_unique<Circuit>();
    circuit->MainFrame.Owner = circuit.get();
    Circuits().push_back(std::move(circuit));
    return *Circuits().back();
}

void CountEdit(const Frame* frame) {
    if (frame && frame->Owner) ++frame->Owner->Edits;
}

void NoteEdit(const Frame* frame) {
    CountEdit(frame);
    NoteBodyChange(frame);
}

void CloseCircuit(Circuit& circuit) {
    // A closed circuit is never used again, so its threads have nothing left to do.
    for (RunLink* run : std::vector<RunLink*>(circuit.Runs))
        run->CircuitClosing();
    if (CircuitWindowCloser()) CircuitWindowCloser()(circuit);
}

void FreeCircuit(Circuit& circuit) {
    for (RunLink* run : std::vector<RunLink*>(circuit.Runs))
        run->CircuitFreed();
    std::erase_if(DetachedNodes(), [&](const std::unique_ptr<Node>& node) {
        return node->Frame && node->Frame->Owner == &circuit;
    });
    std::erase_if(Circuits(),
                  [&](const std::unique_ptr<Circuit>& owned) { return owned.get() == &circuit; });
}

Port* AddPortTemplate(ObjectHeader* owner, int direction, const QString& label, Int x, Int y,
                      int wireDirX, int wireDirY) {
    auto port = std::make_unique<Port>();
    port->Direction = direction;
    port->Label = label;
    port->X = x;
    port->Y = y;
    port->WireDirX = wireDirX;
    port->WireDirY = wireDirY;
    Port* raw = port.get();
    if (owner && owner->Kind == ObjectKind::FunctionDef) {
        static_cast<FunctionDef*>(owner)->Ports.push_back(std::move(port));
    } else if (owner && owner->Kind == ObjectKind::Node) {
        auto* node = static_cast<Node*>(owner);
        CountEdit(node->Frame);
        raw->Node = node;
        node->Ports.push_back(std::move(port));
        node->PortArray.resize(node->Ports.size() + 1, nullptr);
        node->PortArray[node->Ports.size()] = raw;
        raw->Index = Int(node->Ports.size());
    } else {
        return nullptr;
    }
    return raw;
}

Node* AddNode(Frame* frame, FunctionDef* function, Implementation* implementation) {
    frame->Nodes.push_back(std::make_unique<Node>());
    Node* node = frame->Nodes.back().get();
    // An expansion's nodes carry the IDs of the body nodes they copy, and take none of the
    // circuit's: a run must not change the IDs the next saved node gets.
    if (!frame->Instance) node->Id = ++frame->Owner->NextId;
    node->Frame = frame;
    NoteEdit(frame);
    return ShapeNode(*node, function, implementation);
}

Node* ShapeNode(Node& shaped, FunctionDef* function, Implementation* implementation) {
    Node* node = &shaped;
    node->Ports.clear();
    node->DisplayText.clear();
    node->Function = function;
    node->Implementation = implementation;
    node->Width = function ? function->Width : 0;
    node->Height = function ? function->Height : 0;
    node->Flags = ObjectFlag::NeedsLayout;
    node->PortArray.assign(1, nullptr);
    if (!function) return node;
    node->PortArray.reserve(function->Ports.size() + 1);
    for (const auto& t : function->Ports)
        AddPortTemplate(node, t->Direction, t->Label, t->X, t->Y, t->WireDirX, t->WireDirY)->Id =
            t->Id; // an instance's port names the pin it stands for
    ResolveImplementation(node);
    return node;
}

Comment* AddComment(Frame* frame, const QString& text, Int x, Int y) {
    auto comment = std::make_unique<Comment>();
    comment->Id = ++frame->Owner->NextId;
    comment->Text = text;
    comment->X = x;
    comment->Y = y;
    comment->Frame = frame;
    CountEdit(frame);
    frame->Comments.push_back(std::move(comment));
    return frame->Comments.back().get();
}

Wire* ConnectPorts(Port* a, Port* b) {
    // A wire needs two different ports of nodes in the same frame.
    if (!a || !b || a == b || !a->Node || !b->Node || !a->Node->Frame ||
        a->Node->Frame != b->Node->Frame)
        return nullptr;
    if (!(a->Direction & Direction::Out) && !(b->Direction & Direction::In)) std::swap(a, b);
    if (Linked(a, b) || Linked(b, a)) return nullptr;
    Frame* frame = a->Node->Frame;
    Wire* wire;
    {
        RunsHeld held(frame->Owner);
        frame->Wires.push_back(std::make_unique<Wire>());
        wire = frame->Wires.back().get();
        wire->Frame = frame;
        wire->Source = a;
        wire->Destination = b;
        a->Wires.push_back(wire);
        b->Wires.push_back(wire);
        a->Targets.push_back(b);
        b->Feeders.push_back(a);
        if (!b->Source) {
            b->Source = a;
            // What the input took in the latest run came through none of its wires now.
            ForgetValue(frame->Owner, *b);
        }
    }
    NoteEdit(frame);
    ResolveImplementation(a->Node);
    ResolveImplementation(b->Node);
    return wire;
}

void DeleteWire(Wire* wire) {
    Port* p = wire->Source;
    Port* q = wire->Destination;
    Frame* frame = wire->Frame;
    NoteEdit(frame);
    {
        RunsHeld held(frame->Owner);
        Erase(p->Targets, q);
        Erase(q->Targets, p);
        Erase(p->Feeders, q);
        Erase(q->Feeders, p);
        // An input that loses the wire it took its value through forgets the value.
        if (q->Source == p) {
            q->Source = q->Feeders.empty() ? nullptr : q->Feeders.front();
            ForgetValue(frame->Owner, *q);
        }
        if (p->Source == q) {
            p->Source = p->Feeders.empty() ? nullptr : p->Feeders.front();
            ForgetValue(frame->Owner, *p);
        }
        Erase(p->Wires, wire);
        Erase(q->Wires, wire);
    }
    // A node on its way out is not worth retyping, once for each of its thousands of wires.
    for (Node* node : {p->Node, q->Node})
        if (!(node->Flags & ObjectFlag::Leaving)) ResolveImplementation(node);
    ForgetErrorObject(frame->Owner, wire);
    RunsHeld held(frame->Owner);
    EraseOwned(frame->Wires, wire);
}

void DeletePort(Port* port) {
    while (!port->Wires.empty())
        DeleteWire(port->Wires.back());
    Node* node = port->Node;
    Circuit* circuit = OwnerCircuit(*node);
    CountEdit(node->Frame);
    ForgetErrorObject(circuit, port);
    auto& array = node->PortArray;
    if (port->Index > 0 && port->Index < Int(array.size()) &&
        array[std::size_t(port->Index)] == port)
        array[std::size_t(port->Index)] = nullptr;
    else
        std::replace(array.begin(), array.end(), port, static_cast<Port*>(nullptr));
    EraseOwned(node->Ports, port);
}

void DeleteNode(Node* node) {
    node->Flags |= ObjectFlag::Leaving;
    Frame* frame = node->Frame;
    // An instance's threads run on its expansion, which goes with it.
    const bool expansionEnded = CollapseInstance(*node);
    bool threadEnded = expansionEnded;
    for (RunLink* run : frame->Owner->Runs)
        threadEnded = run->NodesLeaving({node}) && threadEnded;
    NoteEdit(frame);
    {
        // The instances at the other ends are retyped once, when every wire has gone.
        InstanceBatch batch(*frame->Owner);
        for (const auto& port : node->Ports)
            for (const Wire* wire : port->Wires)
                for (Node* end : {wire->Source->Node, wire->Destination->Node})
                    if (end != node) batch.Note(end);
        // From the last port and wire back: a file lists wires in the order of their ports, and
        // every list an object leaves is searched from its end.
        if (threadEnded) {
            while (!node->Ports.empty())
                DeletePort(node->Ports.back().get());
        } else {
            // The thread still runs on this node's ports and semaphores: unwire them, keep them.
            for (auto port = node->Ports.rbegin(); port != node->Ports.rend(); ++port)
                while (!(*port)->Wires.empty())
                    DeleteWire((*port)->Wires.back());
        }
    }
    ForgetErrorObject(frame->Owner, node);
    RunsHeld held(frame->Owner);
    auto found = std::find_if(frame->Nodes.rbegin(), frame->Nodes.rend(),
                              [&](const auto& p) { return p.get() == node; });
    if (found == frame->Nodes.rend()) return;
    auto it = std::next(found).base();
    if (!threadEnded) DetachedNodes().push_back(std::move(*it));
    frame->Nodes.erase(it);
}

InstanceBatch::InstanceBatch(Circuit& circuit) : circuit_(circuit), inner_(circuit.ExpansionsHeld) {
    circuit.ExpansionsHeld = true;
}

InstanceBatch::~InstanceBatch() {
    circuit_.ExpansionsHeld = inner_;
    if (!inner_)
        for (Node* instance : noted_)
            ResolveImplementation(instance);
}

void InstanceBatch::Note(Node* node) {
    if (node && IsInstance(*node) && seen_.insert(node).second) noted_.push_back(node);
}

void DeleteComment(Comment* comment) {
    CountEdit(comment->Frame);
    EraseOwned(comment->Frame->Comments, comment);
}

} // namespace flow

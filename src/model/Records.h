#pragma once
// The circuit records: circuits, frames, nodes, ports, wires, comments, and the catalogue
// records nodes are made from. Owning lists keep creation order and stable addresses; every
// other reference is a plain pointer that owns nothing.

#include "model/RunLink.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace flow {

using Int = std::int64_t;

namespace ObjectKind {
constexpr int Wire = 0, Comment = 1, Node = 2, FunctionDef = 3, Port = 4;
}

namespace PortType {
constexpr int Generic = -1, Boolean = -2, Integer = -3, Real = -4, String = -5;
}

namespace Direction {
constexpr int In = 1, Out = 2;
}

// Bits of the Flags field of comments, nodes, ports and wires.
namespace ObjectFlag {
constexpr int NeedsLayout = 0x1, Hovered = 0x2, Selected = 0x4;
// A node that never fired in its circuit's latest run, marked until the next edit or run.
constexpr int NeverFired = 0x8;
// A node being deleted: an instance then makes no new expansion while its wires go.
constexpr int Leaving = 0x10;
} // namespace ObjectFlag

struct Circuit;
struct Frame;
struct Node;
struct Port;
struct Wire;
struct Routine; // engine: what a node of the function computes

// Comments, nodes, catalogue entries and ports begin with these six fields.
struct ObjectHeader {
    Int Kind = 0;
    Int Id = 0;
    Int X = 0;
    Int Y = 0;
    Int Width = 0;
    Int Height = 0;
};

struct Implementation {
    std::vector<int> Types; // Types[i] is the type of port i (from 1); entry 0 is unused
    const flow::Routine* Routine = nullptr;
};

struct Port : ObjectHeader {
    Port() { Kind = ObjectKind::Port; }
    flow::Node* Node = nullptr; // none in catalogue templates
    Port* Source = nullptr;
    std::vector<Port*> Targets;
    std::vector<Port*> Feeders;
    std::vector<Wire*> Wires;
    int Flags = 0;
    int Type = PortType::Generic;
    int Direction = 0;
    QString Label;
    int WireDirX = 0;
    int WireDirY = 0;
    // Where the port last stood in its node's PortArray: a hint that PortIndex checks before it
    // trusts it, so that the ports of a node with thousands of them are found without a search.
    Int Index = 0;
    // Across a sub-circuit's boundary, the port that receives every value this one receives:
    // an instance's input hands on to its input pin inside, an output pin to its instance's
    // output. Set while the instance is expanded; none everywhere else.
    Port* Relay = nullptr;
    // A constant's value, on its output: Value for Booleans, Integers and Reals (their bits),
    // Text for Strings. What travels in a run is kept by the run (engine/RunSession.h).
    Int Value = 0;
    QString Text;
};

// An item of the add-node menu: a node of its function, ready to be placed. The menu puts its
// submenus in the order their names first come up in the catalogue, then its own items after a
// separator.
struct AddNodeItem {
    QString Label;
    QString Group;   // the submenu; empty: the menu itself
    int Section = 0; // a group's sections are parted by separators, in this order
    int Rank = 0;    // the order in the section; equal ranks keep catalogue order
    // The implementation the node starts with; -1 leaves it to what gets wired to it.
    int Implementation = -1;
    std::optional<Int> Value; // the first port's value (a constant's), if not the default
};

// A sub-circuit whose body holds a Continue Pin runs until that pin says stop; one with only an
// Iteration Pin runs as many times as its instance's "times" input says.
enum class LoopKind { None, Counted, Conditional };

struct FunctionDef : ObjectHeader {
    FunctionDef() { Kind = ObjectKind::FunctionDef; }
    std::vector<std::unique_ptr<Implementation>> Implementations;
    QString Name;
    QString Shape;
    QString Symbol;
    // Catalogue functions only (not sub-circuits or pins): how the add-node menu offers them.
    std::vector<AddNodeItem> MenuItems;
    // What the function does, in a line; catalogue functions and pins.
    QString Description;
    std::vector<std::unique_ptr<Port>> Ports; // port templates
    // A sub-circuit's body, its one frame; empty for the built-in functions. The port templates
    // of a sub-circuit are its pins: each template's Id is the ID of the pin it stands for.
    std::vector<std::unique_ptr<flow::Frame>> Frames;
    // Counts the changes of a sub-circuit's body, so that its instances know when to follow.
    std::uint64_t Revision = 0;
    // Whether the body repeats, and how it knows when to stop: from the pins it holds.
    LoopKind Loop = LoopKind::None;
};

struct Node : ObjectHeader {
    Node() { Kind = ObjectKind::Node; }
    FunctionDef* Function = nullptr;
    flow::Implementation* Implementation = nullptr;
    flow::Frame* Frame = nullptr; // none for the placement preview node
    int Flags = ObjectFlag::NeedsLayout;
    QString DisplayText;
    std::vector<std::unique_ptr<Port>> Ports;
    std::vector<Port*> PortArray; // PortArray[i] is the i-th port (from 1); entry 0 is unused
    // An instance of a sub-circuit runs as a copy of the sub-circuit's body made for it alone:
    // its types resolve from what feeds this instance, and every node in it has its own thread.
    // ExpandedRevision is the body's Revision the copy was made from.
    std::unique_ptr<flow::Frame> Expansion;
    std::uint64_t ExpandedRevision = 0;
};

struct Wire {
    Int Kind = ObjectKind::Wire;
    Int Id = 0;
    flow::Frame* Frame = nullptr;
    Port* Source = nullptr;
    Port* Destination = nullptr;
    int Flags = 0;
};

struct Comment : ObjectHeader {
    Comment() { Kind = ObjectKind::Comment; }
    flow::Frame* Frame = nullptr;
    QString Text;
    int Flags = ObjectFlag::NeedsLayout;
};

struct SavedView {
    Int CameraX = 0;
    Int CameraY = 0;
    float ZoomLevel = 0.0f;
    float Magnification = 1.0f;
    int WindowX = 0, WindowY = 0, WindowWidth = 0, WindowHeight = 0;
};

struct Frame {
    Frame() = default;
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    // Takes nested expansions apart one level at a time: a chain of thousands of sub-circuits
    // inside each other would otherwise be freed by one recursive call per level.
    ~Frame();

    Circuit* Owner = nullptr;
    // The sub-circuit whose body this frame is; none for a main frame and for expansions.
    FunctionDef* Definition = nullptr;
    // The instance this frame is the run-time copy of a body for; none for the frames users edit.
    Node* Instance = nullptr;
    std::vector<std::unique_ptr<Comment>> Comments;
    std::vector<std::unique_ptr<Node>> Nodes;
    std::vector<std::unique_ptr<Wire>> Wires;
};

struct Circuit {
    Circuit() = default;
    Circuit(const Circuit&) = delete;
    Circuit& operator=(const Circuit&) = delete;

    Int NextId = 0;
    Frame MainFrame;
    // The circuit's sub-circuits, in the order they are saved; each owns its body.
    std::vector<std::unique_ptr<FunctionDef>> SubCircuits;
    // The same sub-circuits by name; AddSubCircuit, RenameSubCircuit and DeleteSubCircuit keep it.
    QHash<QString, FunctionDef*> SubCircuitsByName;
    // Set when a sub-circuit's body changed and its instances have not followed yet.
    bool DefinitionsChanged = false;
    // While a file or a group of objects is read, instances wait with their expansions and
    // types until every body is whole and every wire made; they are resolved once at the end.
    bool ExpansionsHeld = false;
    // The nodes all expansions of the circuit's instances hold together, nested ones included.
    std::size_t ExpandedNodes = 0;
    // While an expansion is being copied, the instances inside the copy wait here for theirs,
    // so that nesting never deepens the call stack (model/Expansion.cpp).
    bool Expanding = false;
    std::vector<Node*> PendingExpansions;
    // The view the file holds: the main frame's camera and the window's place, as read or as
    // last saved. A window starts from it and keeps its own (render/CircuitView.h).
    SavedView Saved;
    // The file the circuit was loaded from or last saved to; empty until it has one.
    QString FileName;
    // The file read with losses that the circuit came from. Such a circuit has no FileName: a
    // save must not write the part over the whole without the user choosing that file.
    QString RecoveredFrom;
    QHash<Int, Node*> FileIdTable; // ID read from a file -> node, used while reading

    // The runs of the circuit (engine/RunSession.h), told of the edits that concern them.
    std::vector<RunLink*> Runs;
    // Counts the edits of the circuit's objects (NoteEdit, model/Model.h): what a window derived
    // from them at the same count (sizes, the scene index, its picture) is still true.
    std::uint64_t Edits = 0;
};

} // namespace flow

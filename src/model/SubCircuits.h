#pragma once
// Sub-circuits: a circuit's own functions, each defined by a body frame whose input and output
// pins stand for its ports, and used as nodes, its instances, wherever a built-in function can
// be. The definitions belong to their circuit; the pins are two functions of their own that only
// a body holds.

#include "model/Records.h"

#include <limits>

namespace flow {

struct PinFunctionSet {
    FunctionDef* Input = nullptr;  // one output: the value that comes in through the instance
    FunctionDef* Output = nullptr; // one input: the value that goes out through the instance
    // A body holding either is a loop's.
    FunctionDef* Iteration = nullptr; // one Integer output: the iteration's number, from 0
    FunctionDef* Continue = nullptr;  // one Boolean input: false (or nothing) ends the loop
};
// The pin functions; they are not in the catalogue, so a main frame never offers them.
const PinFunctionSet& PinFunctions();

// The named pins, which stand for the instances' ports.
bool IsInputPin(const Node& node);
bool IsOutputPin(const Node& node);
bool IsPin(const Node& node);
// The loop's pins, which stand for no port: the iteration's number and whether to go on.
bool IsIterationPin(const Node& node);
bool IsContinuePin(const Node& node);
// Any of the four: a node that only a body may hold and that runs no thread of its own.
bool IsBodyPin(const Node& node);
// A node whose function is one of its circuit's sub-circuits.
bool IsInstance(const Node& node);
bool IsSubCircuit(const FunctionDef* function);
// An instance of a sub-circuit whose body holds an Iteration or a Continue Pin: it runs its
// body once per iteration on a thread of its own.
bool IsLoopInstance(const Node& node);

// A counted loop's instances take the number of iterations through an Integer input before
// the pins' ports, labelled so. It stands for no pin; this is its template's ID, which no pin
// can carry: their IDs count up from 1.
inline constexpr Int kTimesPortId = std::numeric_limits<Int>::min();
inline const QString kTimesLabel = QStringLiteral("times");

// A pin's name is the label of its one port: the label its instances' port carries.
QString PinName(const Node& pin);
void SetPinName(Node& pin, const QString& name);

// The sub-circuit's body frame.
Frame& BodyOf(const FunctionDef& definition);
// A frame by a name that outlives its records: "" for the main frame, else a sub-circuit's name.
// None for a name no sub-circuit has.
Frame* FrameNamed(Circuit& circuit, const QString& name);
QString NameOfFrame(const Frame& frame);
// The sub-circuit whose body holds the frame, following expansions out to their body's
// definition; none for a main frame.
FunctionDef* DefinitionOf(const Frame& frame);
FunctionDef* FindSubCircuit(const Circuit& circuit, const QString& name);
// Gives the sub-circuit another name; the only way to change a sub-circuit's name, so that
// FindSubCircuit finds it by the new one. Its instances follow at the next FollowDefinitions.
void RenameSubCircuit(Circuit& circuit, FunctionDef& definition, const QString& name);
// The function a node of this frame named so is made from: a built-in one, a pin inside a body,
// or one of the circuit's sub-circuits.
FunctionDef* FunctionNamed(const Frame& frame, const QString& name);

// The most characters (UTF-16 code units) a sub-circuit's or a pin's name may hold. Names are
// drawn, listed in menus and written into every instance's node; a file's longer name is not
// read.
constexpr qsizetype kLongestName = 256;

// Why a name cannot name a new sub-circuit of the circuit, or an empty text when it can.
QString SubCircuitNameProblem(const Circuit& circuit, const QString& name);
// "name n": the name with a number after it, told apart from its namesakes; the name is cut
// short so that the whole stays within kLongestName.
QString NumberedName(const QString& name, int number);
// The name itself when free, else the first of "name 2", "name 3", ... that is.
QString FreeSubCircuitName(const Circuit& circuit, const QString& name);
// A new, empty sub-circuit at the end of the circuit's list, or at a position of it.
FunctionDef* AddSubCircuit(Circuit& circuit, const QString& name,
                           std::size_t position = std::size_t(-1));
// Takes the sub-circuit out of its circuit and frees it with its body; its instances must be
// gone already.
void DeleteSubCircuit(Circuit& circuit, FunctionDef* definition);
std::size_t SubCircuitPosition(const Circuit& circuit, const FunctionDef* definition);

// Whether an instance of `inner` placed in the body of `outer` would make a sub-circuit contain
// itself: when inner is outer or holds an instance of it, at any depth.
bool WouldRecurse(const FunctionDef* outer, const FunctionDef* inner);
// The instances in a frame, not looking inside them.
std::vector<Node*> InstancesIn(const Frame& frame);
// How many instances of the sub-circuit the circuit's main frame and bodies hold.
std::size_t InstanceCount(const Circuit& circuit, const FunctionDef* definition);

// Notes that the body of the frame's sub-circuit changed, if it is one; its instances follow at
// the next FollowDefinitions (model/Expansion.h).
void NoteBodyChange(const Frame* frame);

// Port labels inside an instance, in circuit units: their text size, and their distance from
// the box's side (and from each other, on a row with both). The model has no fonts: it gives an
// instance the width of kPortLabelCharWidth a character, a little over what the drawing's font
// takes on average, so that the labels fit whole (render/PinDrawing).
inline constexpr double kPortLabelSize = 8.0;
inline constexpr double kPortLabelInset = 10.0; // clear of an open port's disc (6 units)
inline constexpr Int kPortLabelCharWidth = 6;
// No instance is wider, whatever its name and labels: past it they are cut short with "…".
inline constexpr Int kWidestInstance = 400;

// Sizes and port templates of a sub-circuit from the pins of its body: inputs down the left,
// outputs down the right, each side in the order the pins stand from top to bottom, a counted
// loop's "times" first of the inputs; wide enough for its name and for the labels of each row.
// Also whether the body makes a loop (FunctionDef::Loop). Returns whether the ports changed
// (their number, order, names, directions or places).
bool LayOutSubCircuit(FunctionDef& definition);

} // namespace flow

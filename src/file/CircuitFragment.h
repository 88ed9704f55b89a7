#pragma once
// Some objects of a circuit as the text of a circuit file, and such a text read into a circuit
// beside what it holds: the clipboard's format, and the file format wherever a part of a circuit
// is kept.

#include "model/Records.h"

#include <string>
#include <string_view>
#include <vector>

namespace flow {

// Objects of one frame, each list in the frame's order.
struct FrameObjects {
    std::vector<Comment*> Comments;
    std::vector<Node*> Nodes;
    std::vector<Wire*> Wires;
    bool Empty() const { return Comments.empty() && Nodes.empty() && Wires.empty(); }
};

// A circuit file holding just these objects, written as a save writes them, without the byte
// order mark, the window or the camera. Wires should run between nodes of the list: their ends
// name the nodes by ID.
std::string CircuitFragmentText(const FrameObjects& objects);

// Reads the objects of a circuit file's text into the circuit's main frame, after what it holds,
// as loading would: every object gets a fresh ID, wires connect the nodes of the text, and types
// resolve. Text that is no circuit file adds nothing. The circuit's table of file IDs is left as
// it was.
FrameObjects ReadCircuitFragment(Circuit& circuit, std::string_view text);

} // namespace flow

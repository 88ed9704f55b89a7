#pragma once
// Some objects of one frame: what the clipboard copies and pastes, what the history takes out
// and puts back, and what a read of a circuit file's text adds.

#include "model/Records.h"

#include <vector>

namespace flow {

// Objects of one frame, each list in the frame's order.
struct FrameObjects {
    std::vector<Comment*> Comments;
    std::vector<Node*> Nodes;
    std::vector<Wire*> Wires;
    bool Empty() const { return Comments.empty() && Nodes.empty() && Wires.empty(); }
};

} // namespace flow

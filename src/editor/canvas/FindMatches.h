#pragma once
// Edit → Find's matches in a whole circuit, in the order the find bar walks them: the frame the
// search began in first, then the main frame, then the sub-circuits' bodies in the circuit's
// order; in each frame its nodes in list order, then its comments in list order. A body is
// searched once, however many instances show it; one that no instance reaches from the main
// frame cannot be shown and is left out.

#include "model/Records.h"
#include "render/FindMatch.h"

#include <vector>

namespace flow {

struct FoundObject {
    // The instances to open, from the main frame inwards, to show the object's frame: from the
    // frame shown when the body is reached from there, else from the main frame; by the fewest
    // levels, and the first instance in list order among equals.
    std::vector<flow::Node*> Path;
    flow::Frame* Frame = nullptr;
    flow::Node* Node = nullptr; // or
    flow::Comment* Comment = nullptr;
};

// `first` names the frame to search first (NameOfFrame); `shownPath` is the open path of the
// frame shown now.
std::vector<FoundObject> FindInCircuit(Circuit& circuit, const FindText& text, const QString& first,
                                       const std::vector<Node*>& shownPath);

} // namespace flow

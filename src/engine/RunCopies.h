#pragma once
// A sub-circuit's body never runs: each instance runs a copy of it (its expansion). What a run
// did inside is read from the copy that belongs to the instance the window was opened through
// (a window's open path), found by the IDs the copies keep from the body.

#include "model/Records.h"

#include <vector>

namespace flow {

// The node that ran in the node's stead: itself in the main frame; for a node of the body the
// window shows, its copy in the expansion reached through the window's open path. None for any
// other body node, or when that instance has no expansion.
Node* RunCopyOf(const Node& node, const std::vector<Node*>& openPath);
// The same for a port: the port of the same index on the node's run copy.
const Port* RunCopyOf(const Port& port, const std::vector<Node*>& openPath);

// The port's type as the window shows it: inside a body, the type its copy resolved to from
// what feeds the opened instance (an instance resolves its own types), else its own.
int ShownType(const Port& port, const std::vector<Node*>& openPath);

// Whether the node, or the copy that ran in its stead, never fired in the latest run.
bool NeverFired(const Node& node, const std::vector<Node*>& openPath);

// The instances to open, outermost first, to show the body that an expansion frame copies:
// main-frame instances and body nodes, never expansion nodes. Empty for a frame that is no
// expansion, or whose instances cannot be found in the bodies any more.
std::vector<Node*> OpenPathTo(const Frame& expansion);

} // namespace flow

#pragma once
// Going into instances and back out: the window shows the body of the instance opened last
// (CircuitView::OpenPath), and each level keeps the view it was left with, so that going up finds
// the camera where the user left it.

#include "render/CircuitView.h"

#include <QString>

#include <vector>

namespace flow {

// Whether the node is an instance that the window can open: one of the frame it shows.
bool CanOpenInstance(const Circuit& circuit, const Node* node);
// Shows the instance's sub-circuit body: the view inside is the one it was last left with, or
// one that fits the body the first time.
void OpenInstance(Circuit& circuit, Node& instance);
// Edit → Open Sub-circuit: opens the one selected node when it is an instance.
void OpenSelectedInstance(Circuit& circuit);
// Goes out to the frame at this depth of the open path (0: the main frame), with its view.
void GoUpTo(Circuit& circuit, std::size_t depth);
// One level out; nothing in the main frame.
void GoUp(Circuit& circuit);
// Shows the frame at the end of the path (the main frame for an empty one) with the camera as it
// stands: where a run found a defect. `before` is the view the user had before the window
// turned to the defect; going up finds it.
void ShowInside(Circuit& circuit, const std::vector<Node*>& path, const CameraView& before);

// Goes out to the main frame when an instance of the open path is gone (an undo took it, or an
// edit elsewhere). Returns whether it did.
bool KeepOpenPathValid(Circuit& circuit);

// What the title and the status bar show after the file's name: " ▸ Outer ▸ Inner"; empty in
// the main frame.
QString OpenPathText(const Circuit& circuit);
// The levels of the open path as links whose targets are their depths, for the status bar.
QString OpenPathLinks(const Circuit& circuit, const QString& fileTitle);

// The camera of the main frame: the view's own, or the one it left when it went inside.
CameraView MainCamera(const CircuitView& view);

} // namespace flow

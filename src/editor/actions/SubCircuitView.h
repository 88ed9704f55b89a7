#pragma once
// Going into instances and back out: the window shows the body of the instance opened last
// (Circuit::OpenPath), and each level keeps the view it was left with, so that going up finds
// the camera where the user left it.

#include "model/Records.h"

#include <QString>

#include <vector>

namespace flow {

// Where the camera stands and how far it is zoomed.
struct CameraView {
    Int X = 0, Y = 0;
    float Zoom = 0.0f, Magnification = 1.0f;
    bool operator==(const CameraView&) const = default;
};
CameraView CurrentView(const Circuit& circuit);

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
// stands: where a run found a defect. `before` is the view the user had before the run moved the
// camera; going up finds it.
void ShowInside(Circuit& circuit, const std::vector<Node*>& path, const CameraView& before);

// Goes out to the main frame when an instance of the open path is gone (an undo took it, or an
// edit elsewhere). Returns whether it did.
bool KeepOpenPathValid(Circuit& circuit);

// What the title and the status bar show after the file's name: " ▸ Outer ▸ Inner"; empty in
// the main frame.
QString OpenPathText(const Circuit& circuit);
// The levels of the open path as links whose targets are their depths, for the status bar.
QString OpenPathLinks(const Circuit& circuit, const QString& fileTitle);

// While it lives, the circuit's camera is the main frame's view: a file keeps that view,
// whatever body the window shows.
class MainViewShown {
  public:
    explicit MainViewShown(Circuit& circuit);
    ~MainViewShown();
    MainViewShown(const MainViewShown&) = delete;
    MainViewShown& operator=(const MainViewShown&) = delete;

  private:
    Circuit& circuit_;
    Int x_, y_;
    float zoom_, magnification_;
};

// Drops the views remembered for a circuit whose window closes.
void ForgetOpenViews(const Circuit& circuit);

} // namespace flow

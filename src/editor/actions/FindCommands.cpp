#include "editor/actions/FindCommands.h"

#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/OpenViews.h"
#include "editor/history/ClipboardText.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/FindBar.h"
#include "model/Coordinates.h"

#include <algorithm>

namespace flow {

FindBar* OpenFindBar(Circuit& circuit) {
    CircuitWindow* window = WindowOf(circuit);
    if (!window) return nullptr;
    auto* bar = window->Canvas()->findChild<FindBar*>();
    if (!bar) bar = new FindBar(circuit, window->Canvas());
    bar->Open();
    return bar;
}

void ShowFound(Circuit& circuit, const FoundObject& found) {
    CircuitView* view = ViewOf(circuit);
    if (!view) return;
    // Only the levels that differ are left and opened: each keeps the camera it had.
    const std::vector<Node*>& path = found.Path;
    std::size_t kept = 0;
    while (kept < std::min(path.size(), view->OpenPath.size()) &&
           path[kept] == view->OpenPath[kept])
        ++kept;
    GoUpTo(circuit, kept);
    for (std::size_t depth = kept; depth < path.size(); ++depth)
        OpenInstance(circuit, *path[depth]);
    if (&ShownFrame(*view) != found.Frame) return;

    FrameObjects only;
    const ObjectHeader* object = found.Node;
    if (found.Node) only.Nodes.push_back(found.Node);
    if (found.Comment) {
        only.Comments.push_back(found.Comment);
        object = found.Comment;
    }
    SelectOnly(*found.Frame, only);
    view->WireSource = nullptr;
    // A constant's box reaches left of X: its Width is negative.
    view->CameraX = SaturatedSum(object->X, object->Width / 2);
    view->CameraY = SaturatedSum(object->Y, object->Height / 2);
}

} // namespace flow

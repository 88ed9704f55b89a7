#include "editor/actions/SubCircuitView.h"

#include "editor/canvas/OpenViews.h"

#include "editor/actions/ViewCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitWindow.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "model/ZoomRange.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <utility>

namespace flow {

namespace {

using View = CameraView;

void ClearFlags(Frame& frame, int flags) {
    for (const auto& comment : frame.Comments)
        comment->Flags &= ~flags;
    for (const auto& wire : frame.Wires)
        wire->Flags &= ~flags;
    for (const auto& node : frame.Nodes) {
        node->Flags &= ~flags;
        for (const auto& port : node->Ports)
            port->Flags &= ~flags;
    }
}

// What the user had under way belongs to the frame being left: a text being typed is kept as a
// step of that frame, the rest is let go. A body's selection does not outlive the visit, since
// every instance shares the body.
void LeaveShownFrame(CircuitView& view) {
    CommitEditOf(*view.Circuit);
    view.Preview.Function = nullptr;
    EditorState& editor = view;
    if (Port* source = std::exchange(editor.WireSource, nullptr))
        source->Flags &= ~ObjectFlag::Selected;
    editor.HoveredComment = nullptr;
    editor.HoveredNode = nullptr;
    editor.HoveredPort = nullptr;
    editor.LastHit.reset();
    editor.Press = press::None{};
    editor.Set(InteractionFlag::HoverFound | InteractionFlag::HoverSelected, false);
    Frame& shown = ShownFrame(view);
    const bool body = shown.Definition != nullptr;
    ClearFlags(shown, ObjectFlag::Hovered | (body ? ObjectFlag::Selected : 0));
    if (body) view.CamerasInside.insert(shown.Definition->Name, view.Camera());
}

void ShowWhereWeAre(CircuitView& view) {
    ClearFlags(ShownFrame(view),
               ObjectFlag::Hovered | (view.OpenPath.empty() ? 0 : ObjectFlag::Selected));
    if (CircuitWindow* window = WindowOf(*view.Circuit)) window->ShowTitle();
}

void FitShownFrame(CircuitView& view) {
    FitCircuitInView(view, CanvasSize(*view.Circuit));
}

// The views of the levels above depth, kept as long as the path to them is.
std::vector<std::optional<View>>& LeftViews(CircuitView& view) {
    auto& left = view.LeftCameras;
    left.resize(view.OpenPath.size());
    return left;
}

} // namespace

bool CanOpenInstance(const Circuit& circuit, const Node* node) {
    return node && IsInstance(*node) && node->Frame == &ShownFrame(circuit);
}

void OpenInstance(Circuit& circuit, Node& instance) {
    CircuitView* shown = ViewOf(circuit);
    if (!shown) return;
    CircuitView& view = *shown;
    if (!CanOpenInstance(circuit, &instance)) return;
    LeaveShownFrame(view);
    LeftViews(view).push_back(view.Camera());
    view.OpenPath.push_back(&instance);
    const auto inside = view.CamerasInside.constFind(instance.Function->Name);
    if (inside != view.CamerasInside.cend())
        view.SetCamera(*inside);
    else
        FitShownFrame(view);
    ShowWhereWeAre(view);
}

void OpenSelectedInstance(Circuit& circuit) {
    Node* selected = nullptr;
    for (const auto& node : ShownFrame(circuit).Nodes) {
        if (!(node->Flags & ObjectFlag::Selected)) continue;
        if (selected) return; // which one would be a guess
        selected = node.get();
    }
    if (selected) OpenInstance(circuit, *selected);
}

void GoUpTo(Circuit& circuit, std::size_t depth) {
    CircuitView* shown = ViewOf(circuit);
    if (!shown) return;
    CircuitView& view = *shown;
    if (depth >= view.OpenPath.size()) return;
    LeaveShownFrame(view);
    auto& left = LeftViews(view);
    const std::optional<View> camera = left[depth];
    left.resize(depth);
    view.OpenPath.resize(depth);
    if (camera)
        view.SetCamera(*camera);
    else
        FitShownFrame(view);
    ShowWhereWeAre(view);
}

void GoUp(Circuit& circuit) {
    CircuitView* shown = ViewOf(circuit);
    if (!shown) return;
    CircuitView& view = *shown;
    if (!view.OpenPath.empty()) GoUpTo(circuit, view.OpenPath.size() - 1);
}

void ShowInside(Circuit& circuit, const std::vector<Node*>& path, const CameraView& before) {
    CircuitView* shown = ViewOf(circuit);
    if (!shown) return;
    CircuitView& view = *shown;
    if (path == view.OpenPath) return;
    const View camera = view.Camera();
    auto& left = LeftViews(view);
    // The main view is the one the user left, wherever the window stood.
    const std::optional<View> main = left.empty() ? std::optional(before) : left.front();
    view.SetCamera(before);
    LeaveShownFrame(view);
    left.assign(path.size(), std::nullopt);
    if (!path.empty()) left.front() = main;
    view.OpenPath = path;
    view.SetCamera(camera);
    ShowWhereWeAre(view);
}

bool KeepOpenPathValid(Circuit& circuit) {
    CircuitView* shown = ViewOf(circuit);
    if (!shown) return false;
    CircuitView& view = *shown;
    const Frame* frame = &circuit.MainFrame;
    bool valid = true;
    for (const Node* opened : view.OpenPath) {
        // Compared by address only: a node that is gone must not be read.
        const bool held = std::any_of(frame->Nodes.begin(), frame->Nodes.end(),
                                      [opened](const auto& node) { return node.get() == opened; });
        if (!held || !IsInstance(*opened)) {
            valid = false;
            break;
        }
        frame = &BodyOf(*opened->Function);
    }
    // An undo that takes an opened instance cuts the path at it at once (LeaveInstance), so
    // that nothing reads the node; the views kept for the levels it cut tell.
    auto& left = view.LeftCameras;
    const bool cut = left.size() > view.OpenPath.size();
    if (valid && !cut) return false;
    const bool mainKept = !left.empty() && left.front().has_value();
    const View main = mainKept ? *left.front() : View{};
    left.clear();
    view.OpenPath.clear();
    EditorState& editor = view;
    editor.HoveredComment = nullptr;
    editor.HoveredNode = nullptr;
    editor.HoveredPort = nullptr;
    editor.LastHit.reset();
    view.Preview.Function = nullptr;
    if (mainKept)
        view.SetCamera(main);
    else
        FitShownFrame(view);
    ShowWhereWeAre(view);
    return true;
}

QString OpenPathText(const Circuit& circuit) {
    const CircuitView* shown = ViewOf(circuit);
    if (!shown) return {};
    const CircuitView& view = *shown;
    QString text;
    for (const Node* opened : view.OpenPath)
        text += QStringLiteral(" ▸ ") + opened->Function->Name;
    return text;
}

QString OpenPathLinks(const Circuit& circuit, const QString& fileTitle) {
    const CircuitView* shown = ViewOf(circuit);
    if (!shown) return {};
    const CircuitView& view = *shown;
    if (view.OpenPath.empty()) return QString();
    const auto link = [](std::size_t depth, const QString& name) {
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(depth).arg(name.toHtmlEscaped());
    };
    QString text = link(0, fileTitle);
    for (std::size_t depth = 0; depth < view.OpenPath.size(); ++depth) {
        const QString name = view.OpenPath[depth]->Function->Name;
        // The level shown is where the user is, not a way to go.
        const bool last = depth + 1 == view.OpenPath.size();
        text += QStringLiteral(" ▸ ") + (last ? name.toHtmlEscaped() : link(depth + 1, name));
    }
    return text;
}

CameraView MainCamera(const CircuitView& view) {
    if (view.OpenPath.empty() || view.LeftCameras.empty() || !view.LeftCameras.front())
        return view.Camera();
    return *view.LeftCameras.front();
}

} // namespace flow

#include "editor/actions/SubCircuitView.h"

#include "editor/actions/ViewCommands.h"
#include "editor/canvas/CanvasInteraction.h"
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

struct OpenViews {
    // Left[i]: the view of depth i when the window went deeper; none where a defect opened the
    // path and the level was never shown.
    std::vector<std::optional<View>> Left;
    // The view each sub-circuit's body was last left with, by the sub-circuit's name.
    QHash<QString, View> Inside;
};

QHash<const Circuit*, OpenViews>& AllViews() {
    static QHash<const Circuit*, OpenViews> views;
    return views;
}

void ApplyView(Circuit& circuit, const View& view) {
    circuit.CameraX = view.X;
    circuit.CameraY = view.Y;
    circuit.ZoomLevel = view.Zoom;
    circuit.Magnification = view.Magnification;
}

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
void LeaveShownFrame(Circuit& circuit) {
    CommitEditOf(circuit);
    PreviewNode().Function = nullptr;
    EditorState& editor = Editor();
    if (Port* source = std::exchange(editor.WireSource, nullptr))
        source->Flags &= ~ObjectFlag::Selected;
    editor.HoveredComment = nullptr;
    editor.HoveredNode = nullptr;
    editor.HoveredPort = nullptr;
    editor.LastHitCircuit = nullptr;
    editor.PressCancelled = editor.PressOnPort = false;
    editor.Set(InteractionFlag::Dragged | InteractionFlag::RubberBand |
                   InteractionFlag::HoverFound | InteractionFlag::HoverSelected,
               false);
    editor.DragDX = editor.DragDY = 0;
    Frame& shown = ShownFrame(circuit);
    const bool body = shown.Definition != nullptr;
    ClearFlags(shown, ObjectFlag::Hovered | (body ? ObjectFlag::Selected : 0));
    if (body) AllViews()[&circuit].Inside.insert(shown.Definition->Name, CurrentView(circuit));
}

void ShowWhereWeAre(Circuit& circuit) {
    ClearFlags(ShownFrame(circuit),
               ObjectFlag::Hovered | (circuit.OpenPath.empty() ? 0 : ObjectFlag::Selected));
    if (CircuitWindow* window = WindowOf(circuit)) window->ShowTitle();
}

void FitShownFrame(Circuit& circuit) {
    FitCircuitInView(circuit, CanvasSize(circuit));
}

// The views of the levels above depth, kept as long as the path to them is.
std::vector<std::optional<View>>& LeftViews(Circuit& circuit) {
    auto& left = AllViews()[&circuit].Left;
    left.resize(circuit.OpenPath.size());
    return left;
}

} // namespace

CameraView CurrentView(const Circuit& circuit) {
    return {circuit.CameraX, circuit.CameraY, circuit.ZoomLevel, circuit.Magnification};
}

bool CanOpenInstance(const Circuit& circuit, const Node* node) {
    return node && IsInstance(*node) && node->Frame == &ShownFrame(circuit);
}

void OpenInstance(Circuit& circuit, Node& instance) {
    if (!CanOpenInstance(circuit, &instance)) return;
    LeaveShownFrame(circuit);
    LeftViews(circuit).push_back(CurrentView(circuit));
    circuit.OpenPath.push_back(&instance);
    const OpenViews& views = AllViews()[&circuit];
    const auto inside = views.Inside.constFind(instance.Function->Name);
    if (inside != views.Inside.cend())
        ApplyView(circuit, *inside);
    else
        FitShownFrame(circuit);
    ShowWhereWeAre(circuit);
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
    if (depth >= circuit.OpenPath.size()) return;
    LeaveShownFrame(circuit);
    auto& left = LeftViews(circuit);
    const std::optional<View> view = left[depth];
    left.resize(depth);
    circuit.OpenPath.resize(depth);
    if (view)
        ApplyView(circuit, *view);
    else
        FitShownFrame(circuit);
    ShowWhereWeAre(circuit);
}

void GoUp(Circuit& circuit) {
    if (!circuit.OpenPath.empty()) GoUpTo(circuit, circuit.OpenPath.size() - 1);
}

void ShowInside(Circuit& circuit, const std::vector<Node*>& path, const CameraView& before) {
    if (path == circuit.OpenPath) return;
    const View camera = CurrentView(circuit);
    auto& left = LeftViews(circuit);
    // The main view is the one the user left, wherever the window stood.
    const std::optional<View> main = left.empty() ? std::optional(before) : left.front();
    ApplyView(circuit, before);
    LeaveShownFrame(circuit);
    left.assign(path.size(), std::nullopt);
    if (!path.empty()) left.front() = main;
    circuit.OpenPath = path;
    ApplyView(circuit, camera);
    ShowWhereWeAre(circuit);
}

bool KeepOpenPathValid(Circuit& circuit) {
    const Frame* frame = &circuit.MainFrame;
    bool valid = true;
    for (const Node* opened : circuit.OpenPath) {
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
    auto& left = AllViews()[&circuit].Left;
    const bool cut = left.size() > circuit.OpenPath.size();
    if (valid && !cut) return false;
    const bool mainKept = !left.empty() && left.front().has_value();
    const View main = mainKept ? *left.front() : View{};
    left.clear();
    circuit.OpenPath.clear();
    EditorState& editor = Editor();
    editor.HoveredComment = nullptr;
    editor.HoveredNode = nullptr;
    editor.HoveredPort = nullptr;
    editor.LastHitCircuit = nullptr;
    PreviewNode().Function = nullptr;
    if (mainKept)
        ApplyView(circuit, main);
    else
        FitShownFrame(circuit);
    ShowWhereWeAre(circuit);
    return true;
}

QString OpenPathText(const Circuit& circuit) {
    QString text;
    for (const Node* opened : circuit.OpenPath)
        text += QStringLiteral(" ▸ ") + opened->Function->Name;
    return text;
}

QString OpenPathLinks(const Circuit& circuit, const QString& fileTitle) {
    if (circuit.OpenPath.empty()) return QString();
    const auto link = [](std::size_t depth, const QString& name) {
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(depth).arg(name.toHtmlEscaped());
    };
    QString text = link(0, fileTitle);
    for (std::size_t depth = 0; depth < circuit.OpenPath.size(); ++depth) {
        const QString name = circuit.OpenPath[depth]->Function->Name;
        // The level shown is where the user is, not a way to go.
        const bool last = depth + 1 == circuit.OpenPath.size();
        text += QStringLiteral(" ▸ ") + (last ? name.toHtmlEscaped() : link(depth + 1, name));
    }
    return text;
}

MainViewShown::MainViewShown(Circuit& circuit)
    : circuit_(circuit), x_(circuit.CameraX), y_(circuit.CameraY), zoom_(circuit.ZoomLevel),
      magnification_(circuit.Magnification) {
    const auto found = AllViews().constFind(&circuit);
    if (circuit.OpenPath.empty() || found == AllViews().cend() || found->Left.empty() ||
        !found->Left.front())
        return;
    ApplyView(circuit, *found->Left.front());
}

MainViewShown::~MainViewShown() {
    ApplyView(circuit_, {x_, y_, zoom_, magnification_});
}

void ForgetOpenViews(const Circuit& circuit) {
    AllViews().remove(&circuit);
}

} // namespace flow

#include "editor/canvas/CanvasInteraction.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/ContextMenu.h"
#include "editor/actions/PlacePopup.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/HitTestPass.h"
#include "editor/canvas/NodePlacement.h"
#include "editor/canvas/OpenViews.h"
#include "editor/canvas/TextEditing.h"
#include "editor/canvas/TypedValue.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "editor/history/PinNameStep.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "engine/NumberText.h"
#include "model/Catalogue.h"
#include "model/Coordinates.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/NodeDrawing.h"
#include "render/Overview.h"
#include "render/Redraw.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <utility>

namespace flow {

namespace {

using namespace InteractionFlag;

// Far beyond any circuit, yet safe to convert and to add offsets to.
constexpr double kCoordinateLimit = 9.0e15;

Int ToCircuitUnit(double value) {
    if (!std::isfinite(value)) return 0;
    // Halves go to the even neighbour, as the default rounding mode does.
    return static_cast<Int>(std::nearbyint(std::clamp(value, -kCoordinateLimit, kCoordinateLimit)));
}

// Moves the camera so that the circuit point (x, y) lies under the event's pixel; panning and
// zooming both keep a grabbed point under the pointer this way.
void KeepPointUnderPixel(CircuitView& view, Int x, Int y, const CanvasInput& input) {
    const QPointF camera =
        CameraKeeping(view, QPointF(double(x), double(y)), QPointF(input.PixelX, input.PixelY));
    view.CameraX = ToCircuitUnit(camera.x());
    view.CameraY = ToCircuitUnit(camera.y());
}

void SetCursor(CircuitView& view, int shape) {
    SetCanvasCursor(*view.Circuit, shape);
}

bool Pending(const CircuitView& view) {
    return view.Preview.Function != nullptr;
}
void CancelPlacement(CircuitView& view) {
    view.Preview.Function = nullptr;
}

// The selected nodes and comments: what moves.
FrameObjects SelectedBlocks(const CircuitView& view) {
    FrameObjects selected = SelectedObjectsWithSelectedWires(ShownFrame(view));
    selected.Wires.clear();
    return selected;
}

void PlacePendingNode(CircuitView& view) {
    const Node& preview = view.Preview;
    const UnitPair place = SnappedPlace(*view.Circuit, preview.X, preview.Y);
    PlacePreviewNode(*view.Circuit, preview, place.X, place.Y);
    CancelPlacement(view);
}

// A wire between two ports of one circuit; a refused connection records nothing.
void ConnectAsStep(Port* from, Port* to) {
    Circuit* circuit = to->Node ? OwnerCircuit(*to->Node) : nullptr;
    if (!circuit) return;
    RecordGroupEdit(*circuit, QStringLiteral("Connect"), {}, [&] {
        Wire* wire = ConnectPorts(from, to);
        return wire ? FrameObjects{{}, {}, {wire}} : FrameObjects{};
    });
}

void StartEditing(CircuitView& view, Comment* comment, Node* node, const QString& text) {
    EditorState& editor = view;
    // Only one object is edited at a time; an edit in progress is kept, not overwritten.
    if (editor.Has(Editing)) CommitEdit(view);
    editor.Set(Editing);
    editor.EditComment = comment;
    editor.EditCommentNew = false;
    editor.EditNode = node;
    editor.EditName = node && IsPin(*node);
    editor.EditBuffer = text;
    editor.Caret = 0;
    editor.SelectionLength = 0;
    SetCursor(view, CursorShape::IBeam);
}

bool OnLeftDown(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    const bool ctrl = input.Modifiers & KeyModifier::Ctrl;
    const bool onPort = editor.HoveredPort != nullptr;
    editor.Press = press::None{};
    const bool placing = Pending(view);
    if (placing) PlacePendingNode(view);
    if (editor.WireSource && !placing && !ctrl && !editor.Has(HoverFound)) {
        // The wire is let go over empty canvas: its release offers the nodes it could feed.
        editor.Press = press::Taken{};
        return false;
    }
    if (editor.WireSource && editor.HoveredPort && editor.WireSource != editor.HoveredPort) {
        ConnectAsStep(editor.WireSource, editor.HoveredPort);
        editor.HoveredPort->Flags &= ~ObjectFlag::Hovered;
        editor.HoveredPort = nullptr;
    }
    if (!ctrl && !editor.Has(HoverSelected)) {
        editor.Set(DeselectAll);
        editor.WireSource = nullptr;
    }
    if (editor.Has(HoverFound)) {
        if (!editor.Has(HoverSelected) && !ctrl) editor.Set(ToggleHovered);
        editor.Press = press::Held{editor.MouseX, editor.MouseY, onPort};
    } else {
        editor.Press = press::Banding{editor.MouseX, editor.MouseY};
    }
    if (!editor.Has(HoverSelected)) {
        CommitEdit(view);
        SetCursor(view, CursorShape::Arrow);
    }
    return true;
}

bool MovedSince(const press::Held& held, const EditorState& editor) {
    return std::abs(editor.MouseX - held.DownX) > 4 || std::abs(editor.MouseY - held.DownY) > 4;
}

// A wire dragged out of a port and let go: onto another port it connects, over empty canvas it
// offers the nodes it could feed, anywhere else it is dropped.
bool LetGoOfDraggedWire(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    Port* source = editor.WireSource;
    if (editor.HoveredPort && editor.HoveredPort != source) {
        ConnectAsStep(source, editor.HoveredPort);
        editor.WireSource = nullptr;
        source->Flags &= ~ObjectFlag::Selected;
    } else if (!editor.Has(HoverFound)) {
        OpenPlacePopup(*view.Circuit, input.GlobalPos, QString(), source);
    }
    return true;
}

bool OnLeftUp(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    const LeftPress released = std::exchange(editor.Press, press::None{});
    if (std::holds_alternative<press::Taken>(released)) {
        if (editor.WireSource && !editor.Has(HoverFound))
            OpenPlacePopup(*view.Circuit, input.GlobalPos, QString(), editor.WireSource);
        return true;
    }
    const auto* held = std::get_if<press::Held>(&released);
    if (held && held->OnPort && editor.WireSource && MovedSince(*held, editor))
        return LetGoOfDraggedWire(view, input);
    if (!editor.Has(HoverFound) || (input.Modifiers & KeyModifier::Ctrl)) editor.Set(ToggleHovered);
    if (!editor.Has(Editing)) SetCursor(view, CursorShape::Arrow);
    if (const auto* drag = std::get_if<press::Dragging>(&released))
        MoveObjects(*view.Circuit, SelectedBlocks(view), drag->DX, drag->DY);
    return true;
}

// The pointer's shape over what lies under it. It is chosen after the redraw of the move, whose
// hit test has just found that; before it, the shape would follow the previous position.
void ShapeCursorAfterMove(CircuitView& view, const CanvasInput& input) {
    const EditorState& editor = view;
    const bool left = input.Buttons & MouseButton::Left;
    const bool middle = input.Buttons & MouseButton::Middle;
    if (editor.Band()) SetCursor(view, CursorShape::Cross);
    if (editor.Has(Editing) && editor.HoveredComment && editor.HoveredComment == editor.EditComment)
        SetCursor(view, CursorShape::IBeam);
    else if (!left && !middle)
        SetCursor(view, CursorShape::Arrow);
    const bool free = !editor.Band() && !editor.Has(Editing);
    if (free && !middle)
        SetCursor(view, editor.HoveredPort ? CursorShape::Hand : CursorShape::Arrow);
}

bool OnMouseMove(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    const bool left = input.Buttons & MouseButton::Left;
    if (editor.Pan) KeepPointUnderPixel(view, editor.Pan->X, editor.Pan->Y, input);
    if (!left || editor.Has(Editing)) return true;
    // A press held on an object (not on a port) drags the selection once it moves past a few
    // units; the selection is drawn where the release will put it, on the grid when snapping.
    const auto* held = std::get_if<press::Held>(&editor.Press);
    auto* drag = std::get_if<press::Dragging>(&editor.Press);
    if ((!held || held->OnPort) && !drag) return true;
    const Int downX = held ? held->DownX : drag->DownX;
    const Int downY = held ? held->DownY : drag->DownY;
    const Int dx = editor.MouseX - downX, dy = editor.MouseY - downY;
    const UnitPair offset = SnappedGroupOffset(*view.Circuit, SelectedBlocks(view), dx, dy);
    if (drag) {
        drag->DX = offset.X;
        drag->DY = offset.Y;
    } else if (std::abs(dx) > 4 || std::abs(dy) > 4) {
        editor.Press = press::Dragging{downX, downY, offset.X, offset.Y};
    }
    return true;
}

bool OnWheel(CircuitView& view, const CanvasInput& input) {
    const EditorState& editor = view;
    SetZoomLevel(view, view.ZoomLevel + input.Notches / 4.0f);
    // MouseX, MouseY still hold the point under the pointer before the zoom: it stays there.
    KeepPointUnderPixel(view, editor.MouseX, editor.MouseY, input);
    return true;
}

bool OnRightClick(CircuitView& view, const CanvasInput& input) {
    if (Pending(view)) {
        CancelPlacement(view);
        return true;
    }
    if (PopUpContextMenu(*view.Circuit, input.GlobalPos)) return true;
    PopUpAddNodeMenu(*view.Circuit, input.GlobalPos - QPoint(1, 1));
    return false;
}

// Arrow keys nudge the selected nodes and comments, or pan the view when none is selected.
bool OnArrowKey(CircuitView& view, const CanvasInput& input) {
    const int dx = input.Key == VirtualKey::Left ? -1 : input.Key == VirtualKey::Right ? 1 : 0;
    const int dy = input.Key == VirtualKey::Up ? -1 : input.Key == VirtualKey::Down ? 1 : 0;
    const FrameObjects selected = SelectedBlocks(view);
    if (!selected.Nodes.empty() || !selected.Comments.empty()) {
        const Int step = (input.Modifiers & KeyModifier::Shift) ? 10 : 1;
        NudgeObjects(*view.Circuit, selected, dx * step, dy * step);
        return true;
    }
    const double magnification = std::max(double(view.Magnification), 1e-30);
    view.CameraX =
        SaturatedSum(view.CameraX, ToCircuitUnit(dx * view.CanvasWidth / 10.0 / magnification));
    view.CameraY =
        SaturatedSum(view.CameraY, ToCircuitUnit(dy * view.CanvasHeight / 10.0 / magnification));
    return true;
}

// Escape lets go of whatever is under way: a placement, a wire, a band or a drag.
void CancelUnderWay(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    CancelPlacement(view);
    if (Port* source = std::exchange(editor.WireSource, nullptr))
        source->Flags &= ~ObjectFlag::Selected;
    if (editor.Band() || editor.Drag() || (input.Buttons & MouseButton::Left))
        editor.Press = press::Taken{};
}

bool OnKeyDown(CircuitView& view, const CanvasInput& input) {
    if (EditingText(view)) {
        // A name (a pin's, an input's) is one line: Enter is done with it.
        if (input.Key == VirtualKey::Enter && view.EditNode && view.EditName) {
            CommitEdit(view);
            return true;
        }
        if (input.Key != VirtualKey::Escape) return ApplyEditKey(view, input.Key, input.Modifiers);
        CancelEdit(view);
        return true;
    }
    switch (input.Key) {
    case VirtualKey::Delete:
        DeleteObjects(*view.Circuit, QStringLiteral("Delete"),
                      SelectedObjectsWithSelectedWires(ShownFrame(view)));
        return true;
    case VirtualKey::Escape:
        CancelUnderWay(view, input);
        return true;
    case VirtualKey::Backspace:
        GoUp(*view.Circuit);
        return true;
    case VirtualKey::Left:
    case VirtualKey::Right:
    case VirtualKey::Up:
    case VirtualKey::Down:
        return OnArrowKey(view, input);
    case VirtualKey::Tab:
        OpenPlacePopup(*view.Circuit, input.GlobalPos, QString(), nullptr);
        return false;
    default:
        return false;
    }
}

bool OnCharacter(CircuitView& view, const CanvasInput& input) {
    if (!EditingText(view)) {
        // A letter typed at the canvas starts a search for a function to place.
        if (input.Character.size() == 1 && input.Character.at(0).isLetter())
            OpenPlacePopup(*view.Circuit, input.GlobalPos, input.Character, nullptr);
        return false;
    }
    const QString typed = PastableText(input.Character, false);
    if (typed.isEmpty()) return false;
    InsertAtCaret(view, typed);
    return true;
}

// Double click on a selected constant or an input's value: Booleans flip, the others open their
// value for editing.
void EditConstant(CircuitView& view, Node& node) {
    Port* port = FirstPort(node);
    if (!port || !HoldsValue(node)) return;
    if (HeldType(node) == PortType::Boolean) {
        // Any value other than 0 reads as True, so the flip goes to exactly 0 or 1.
        ChangeConstantValue(node, QStringLiteral("Flip Value"), port->Value != 0 ? 0 : 1,
                            port->Text);
    } else if (node.Implementation) {
        StartEditing(view, nullptr, &node, EditTextOf(node));
    }
    if (view.EditNode == &node) {
        // Typing replaces the whole value; the redraw must not put a caret at the pointer.
        SelectAllText(view);
        view.LastEvent = CanvasEvent::None;
    }
}

// A pin's or an input's name is edited whole: typing replaces it, as a constant's value.
void EditNodeName(CircuitView& view, Node& node) {
    StartEditing(view, nullptr, &node, IsPin(node) ? PinName(node) : InputName(node));
    view.EditName = true;
    SelectAllText(view);
    view.LastEvent = CanvasEvent::None;
}

// An input's name lies left of its value: a double click there renames it.
bool OnInputName(const EditorState& editor, const Node& node) {
    return IsInput(node) && double(editor.MouseX) < InputValueLeft(node);
}

bool OnDoubleClick(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    if (input.Modifiers & KeyModifier::Ctrl) return false;
    const bool hoverSelected = editor.Has(HoverSelected);
    if (!editor.HoveredPort && CanOpenInstance(*view.Circuit, editor.HoveredNode)) {
        OpenInstance(*view.Circuit, *editor.HoveredNode);
    } else if (hoverSelected && !editor.EditComment && editor.HoveredComment) {
        StartEditing(view, editor.HoveredComment, nullptr, editor.HoveredComment->Text);
    } else if (hoverSelected && !editor.EditNode && editor.HoveredNode) {
        if (IsPin(*editor.HoveredNode) || OnInputName(editor, *editor.HoveredNode))
            EditNodeName(view, *editor.HoveredNode);
        else
            EditConstant(view, *editor.HoveredNode);
    } else if (!hoverSelected) {
        Comment* comment =
            AddComment(&ShownFrame(view), QString(), editor.MouseX - 8, editor.MouseY - 4);
        comment->Flags |= ObjectFlag::Selected;
        StartEditing(view, comment, nullptr, QString());
        // It becomes a step of the history once it is committed with a text.
        editor.EditCommentNew = true;
    }
    return true;
}

// A press on the overview's map centres the view where it points, and so does every move until
// the release; the objects under the map are not touched.
bool SteerFromOverview(CircuitView& view, const CanvasInput& input) {
    const QPointF pixel(input.PixelX, input.PixelY);
    const bool steering = std::holds_alternative<press::Steering>(view.Press);
    std::optional<QPointF> target;
    if (input.Type == CanvasEvent::LeftDown)
        target = OverviewPoint(view, pixel);
    else if (steering && input.Type == CanvasEvent::MouseMove)
        target = OverviewPoint(view, pixel, true);
    else if (steering && input.Type == CanvasEvent::LeftUp)
        view.Press = press::None{};
    if (target) {
        view.Press = press::Steering{};
        view.CameraX = ToCircuitUnit(target->x());
        view.CameraY = ToCircuitUnit(target->y());
        // The pointer now stands over another circuit point, still on the map.
        const QPointF mouse = ToCircuitPoint(view, pixel);
        view.MouseX = ToCircuitUnit(mouse.x());
        view.MouseY = ToCircuitUnit(mouse.y());
    }
    return target || steering;
}

bool Handle(CircuitView& view, const CanvasInput& input) {
    if (SteerFromOverview(view, input)) return true;
    switch (input.Type) {
    case CanvasEvent::LeftDown:
        return OnLeftDown(view, input);
    case CanvasEvent::LeftUp:
        return OnLeftUp(view, input);
    case CanvasEvent::LeftDoubleClick:
        return OnDoubleClick(view, input);
    case CanvasEvent::RightClick:
        return OnRightClick(view, input);
    case CanvasEvent::MiddleDown:
        view.Pan = PanAnchor{view.MouseX, view.MouseY};
        SetCursor(view, CursorShape::Move);
        return true;
    case CanvasEvent::MiddleUp:
        view.Pan.reset();
        SetCursor(view, CursorShape::Arrow);
        return true;
    case CanvasEvent::MouseMove:
        return OnMouseMove(view, input);
    case CanvasEvent::MouseWheel:
        return OnWheel(view, input);
    case CanvasEvent::KeyDown:
        return OnKeyDown(view, input);
    case CanvasEvent::CharacterInput:
        return OnCharacter(view, input);
    case CanvasEvent::None:
        return false;
    }
    return false;
}

// A mouse move after which only what lies under the mouse can change: nothing follows it (no
// placement, wire, band, drag, pan or text selection).
bool OnlyHoverMoves(const CircuitView& view, const CanvasInput& input) {
    const EditorState& editor = view;
    return input.Type == CanvasEvent::MouseMove &&
           !(input.Buttons & (MouseButton::Left | MouseButton::Middle)) && !editor.Pan &&
           !editor.Band() && !editor.Drag() && !editor.Has(Editing | DeselectAll | ToggleHovered) &&
           !Pending(view) && !editor.WireSource;
}

} // namespace

void OnCanvasEvent(Circuit& circuit, const CanvasInput& input) {
    if (CircuitView* view = ViewOf(circuit)) OnCanvasEvent(*view, input);
}

void OnCanvasEvent(CircuitView& view, const CanvasInput& input) {
    EditorState& editor = view;
    const QPointF mouse = ToCircuitPoint(view, QPointF(input.PixelX, input.PixelY));
    editor.MouseX = ToCircuitUnit(mouse.x());
    editor.MouseY = ToCircuitUnit(mouse.y());
    editor.LastEvent = input.Type;
    editor.LastEventLeftHeld = input.Buttons & MouseButton::Left;

    const bool redraw = Handle(view, input);
    if (CircuitWindow* window = WindowOf(*view.Circuit)) window->ShowHistorySteps();

    SetStatusText(*view.Circuit, StatusField::Position,
                  QStringLiteral("%1, %2").arg(editor.MouseX).arg(editor.MouseY));
    // A move that leaves the same object under the mouse changes nothing drawn.
    const bool onlyHover = OnlyHoverMoves(view, input);
    if (!redraw || (onlyHover && HoverWouldStay(view))) return;
    editor.Set(HoverFound | HoverSelected, false);
    editor.HoveredComment = nullptr;
    editor.HoveredNode = nullptr;
    editor.HoveredPort = nullptr;
    if (onlyHover)
        RedrawHoverChange(view);
    else
        RedrawView(view);
    ShowOutputLinesOf(*view.Circuit,
                      editor.HoveredPort ? editor.HoveredPort->Node : editor.HoveredNode);
    editor.Set(ToggleHovered | DeselectAll, false);
    if (input.Type == CanvasEvent::MouseMove) ShapeCursorAfterMove(view, input);
}

void EditObjectText(Comment* comment, Node* node) {
    const Circuit* circuit = comment ? (comment->Frame ? comment->Frame->Owner : nullptr)
                             : node  ? OwnerCircuit(*node)
                                     : nullptr;
    CircuitView* shown = circuit ? ViewOf(*circuit) : nullptr;
    if (!shown) return;
    CircuitView& view = *shown;
    if (comment) {
        StartEditing(view, comment, nullptr, comment->Text);
        view.Caret = int(comment->Text.size());
        view.LastEvent = CanvasEvent::None;
    } else if (node) {
        EditConstant(view, *node);
    }
}

void EditNameOf(Node& node) {
    const Circuit* circuit = OwnerCircuit(node);
    if (CircuitView* view = circuit ? ViewOf(*circuit) : nullptr;
        view && (IsInput(node) || IsPin(node)))
        EditNodeName(*view, node);
}

void CommitEdit(CircuitView& view) {
    EditorState& editor = view;
    editor.Set(Editing, false);
    if (Comment* comment = std::exchange(editor.EditComment, nullptr)) {
        const bool created = std::exchange(editor.EditCommentNew, false);
        Circuit& circuit = *comment->Frame->Owner;
        const QString text = editor.EditBuffer;
        if (text.isEmpty() && created) {
            // A comment that never had a text leaves no trace in the history.
            ForgetComment(comment);
            DeleteComment(comment);
        } else if (text.isEmpty()) {
            DeleteObjects(circuit, QStringLiteral("Delete"), FrameObjects{{comment}, {}, {}});
        } else if (created) {
            RecordGroupEdit(circuit, QStringLiteral("Add Comment"), {}, [&] {
                SetCommentText(*comment, text);
                return FrameObjects{{comment}, {}, {}};
            });
        } else {
            ChangeCommentText(*comment, text);
        }
    }
    if (Node* node = std::exchange(editor.EditNode, nullptr)) {
        if (std::exchange(editor.EditName, false) && IsInput(*node)) {
            if (editor.EditBuffer != InputName(*node)) {
                const QString problem = InputNameProblem(*node, editor.EditBuffer);
                if (problem.isEmpty())
                    RenameInput(*node, editor.EditBuffer);
                else
                    ShowStatusNotice(*view.Circuit, problem);
            }
            node->Flags |= ObjectFlag::NeedsLayout;
            return;
        }
        if (IsPin(*node)) {
            // A port needs a name to tell it from its neighbours: an empty one keeps the old,
            // and so does one longer than a file may hold, with a notice.
            if (editor.EditBuffer.size() > kLongestName) {
                ShowStatusNotice(*view.Circuit,
                                 QStringLiteral("A pin's name may hold at most %1 characters")
                                     .arg(kLongestName));
            } else if (!editor.EditBuffer.trimmed().isEmpty()) {
                RenamePin(*node, editor.EditBuffer);
            }
            node->Flags |= ObjectFlag::NeedsLayout;
            return;
        }
        if (!FirstPort(*node)) return;
        const TypedValue typed = ValueTypedInto(*node, editor.EditBuffer);
        if (typed.Refusal.isEmpty())
            ChangeConstantValue(*node, QStringLiteral("Edit Value"), typed.Number, typed.Text);
        else
            ShowStatusNotice(*view.Circuit, typed.Refusal);
        // The value text is laid out from the stored value again, even when it did not change.
        node->Flags |= ObjectFlag::NeedsLayout;
    }
}

void CommitEditOf(const Circuit& circuit) {
    CircuitView* view = ViewOf(circuit);
    if (view && view->Has(Editing)) CommitEdit(*view);
}

QString PendingStepName(const Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    if (!view || !EditingText(*view)) return QString();
    const EditorState& editor = *view;
    if (const Node* node = editor.EditNode) {
        if (editor.EditName && IsInput(*node))
            return editor.EditBuffer == InputName(*node) ||
                           !InputNameProblem(*node, editor.EditBuffer).isEmpty()
                       ? QString()
                       : QStringLiteral("Rename Input");
        if (IsPin(*node))
            return editor.EditBuffer.trimmed().isEmpty() || editor.EditBuffer == PinName(*node) ||
                           editor.EditBuffer.size() > kLongestName
                       ? QString()
                       : QStringLiteral("Rename Pin");
        const Port* port = FirstPort(*node);
        const TypedValue typed = ValueTypedInto(*node, editor.EditBuffer);
        const bool changed = port && (typed.Number != port->Value || typed.Text != port->Text);
        return changed ? QStringLiteral("Edit Value") : QString();
    }
    const Comment* comment = editor.EditComment;
    if (editor.EditCommentNew)
        return editor.EditBuffer.isEmpty() ? QString() : QStringLiteral("Add Comment");
    if (editor.EditBuffer == comment->Text) return QString();
    return editor.EditBuffer.isEmpty() ? QStringLiteral("Delete") : QStringLiteral("Edit Comment");
}

void CancelEdit(CircuitView& view) {
    EditorState& editor = view;
    if (editor.EditComment) {
        // The comment's Text is stored only when an edit ends: committing it unchanged ends the
        // edit, and drops a new comment that is still empty, as a commit always does. Its box
        // was last measured from the buffer.
        editor.EditComment->Flags |= ObjectFlag::NeedsLayout;
        editor.EditBuffer = editor.EditComment->Text;
        CommitEdit(view);
        return;
    }
    editor.Set(Editing, false);
    editor.EditName = false;
    // The constant's value was never touched; its size goes back to fit it.
    if (Node* node = std::exchange(editor.EditNode, nullptr))
        node->Flags |= ObjectFlag::NeedsLayout;
}

} // namespace flow

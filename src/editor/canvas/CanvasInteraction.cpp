#include "editor/canvas/CanvasInteraction.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/ContextMenu.h"
#include "editor/actions/PlacePopup.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/HitTestPass.h"
#include "editor/canvas/NodePlacement.h"
#include "editor/canvas/TextEditing.h"
#include "editor/canvas/TypedValue.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "editor/history/PinNameStep.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/WindowObserver.h"
#include "engine/NumberText.h"
#include "model/Catalogue.h"
#include "model/Coordinates.h"
#include "model/Model.h"
#include "model/Placement.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/Redraw.h"
#include "render/StatusText.h"

#include <algorithm>
#include <bit>
#include <cmath>
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
void KeepPointUnderPixel(Circuit& circuit, Int x, Int y, const CanvasInput& input) {
    const QPointF camera =
        CameraKeeping(circuit, QPointF(double(x), double(y)), QPointF(input.PixelX, input.PixelY));
    circuit.CameraX = ToCircuitUnit(camera.x());
    circuit.CameraY = ToCircuitUnit(camera.y());
}

void SetCursor(int shape) {
    if (Circuit* circuit = Editor().CurrentCircuit) SetCanvasCursor(*circuit, shape);
}

bool Pending() {
    return PreviewNode().Function != nullptr;
}
void CancelPlacement() {
    PreviewNode().Function = nullptr;
}

Port* FirstPort(const Node& node) {
    return node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
}

// The selected nodes and comments: what moves.
FrameObjects SelectedBlocks(const Circuit& circuit) {
    FrameObjects selected = SelectedObjectsWithSelectedWires(ShownFrame(circuit));
    selected.Wires.clear();
    return selected;
}

void PlacePendingNode(Circuit& circuit) {
    const Node& preview = PreviewNode();
    const UnitPair place = SnappedPlace(circuit, preview.X, preview.Y);
    PlacePreviewNode(circuit, place.X, place.Y);
    CancelPlacement();
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

void StartEditing(Comment* comment, Node* node, const QString& text) {
    EditorState& editor = Editor();
    // Only one object is edited at a time; an edit in progress is kept, not overwritten.
    if (editor.Has(Editing)) CommitEdit();
    editor.Set(Editing);
    editor.EditComment = comment;
    editor.EditCommentNew = false;
    editor.EditNode = node;
    editor.EditBuffer = text;
    editor.Caret = 0;
    editor.SelectionLength = 0;
    SetCursor(CursorShape::IBeam);
}

// The selected objects of the frame, each kind in list order.
bool OnLeftDown(Circuit& circuit, const CanvasInput& input) {
    EditorState& editor = Editor();
    const bool ctrl = input.Modifiers & KeyModifier::Ctrl;
    editor.PressCancelled = false;
    editor.PressOnPort = editor.HoveredPort != nullptr;
    const bool placing = Pending();
    if (placing) PlacePendingNode(circuit);
    if (editor.WireSource && !placing && !ctrl && !editor.Has(HoverFound)) {
        // The wire is let go over empty canvas: its release offers the nodes it could feed.
        editor.PressCancelled = true;
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
    } else {
        editor.Set(RubberBand);
    }
    if (!editor.Has(HoverSelected)) {
        CommitEdit();
        SetCursor(CursorShape::Arrow);
    }
    editor.DownX = editor.MouseX;
    editor.DownY = editor.MouseY;
    editor.DragDX = editor.DragDY = 0;
    return true;
}

bool MovedSincePress() {
    const EditorState& editor = Editor();
    return std::abs(editor.MouseX - editor.DownX) > 4 || std::abs(editor.MouseY - editor.DownY) > 4;
}

// A wire dragged out of a port and let go: onto another port it connects, over empty canvas it
// offers the nodes it could feed, anywhere else it is dropped.
bool LetGoOfDraggedWire(Circuit& circuit, const CanvasInput& input) {
    EditorState& editor = Editor();
    Port* source = editor.WireSource;
    if (editor.HoveredPort && editor.HoveredPort != source) {
        ConnectAsStep(source, editor.HoveredPort);
        editor.WireSource = nullptr;
        source->Flags &= ~ObjectFlag::Selected;
    } else if (!editor.Has(HoverFound)) {
        OpenPlacePopup(circuit, input.GlobalPos, QString(), source);
    }
    editor.Set(RubberBand | Dragged, false);
    editor.DragDX = editor.DragDY = 0;
    return true;
}

bool OnLeftUp(Circuit& circuit, const CanvasInput& input) {
    EditorState& editor = Editor();
    if (std::exchange(editor.PressCancelled, false)) {
        if (editor.WireSource && !editor.Has(HoverFound))
            OpenPlacePopup(circuit, input.GlobalPos, QString(), editor.WireSource);
        return true;
    }
    if (std::exchange(editor.PressOnPort, false) && editor.WireSource && MovedSincePress())
        return LetGoOfDraggedWire(circuit, input);
    editor.Set(RubberBand, false);
    if (!editor.Has(HoverFound) || (input.Modifiers & KeyModifier::Ctrl)) editor.Set(ToggleHovered);
    if (!editor.Has(Editing)) SetCursor(CursorShape::Arrow);
    if (editor.Has(Dragged))
        MoveObjects(circuit, SelectedBlocks(circuit), editor.DragDX, editor.DragDY);
    editor.Set(Dragged, false);
    editor.DragDX = editor.DragDY = 0;
    return true;
}

// The pointer's shape over what lies under it. It is chosen after the redraw of the move, whose
// hit test has just found that; before it, the shape would follow the previous position.
void ShapeCursorAfterMove(const CanvasInput& input) {
    const EditorState& editor = Editor();
    const bool left = input.Buttons & MouseButton::Left;
    const bool middle = input.Buttons & MouseButton::Middle;
    if (editor.Has(RubberBand)) SetCursor(CursorShape::Cross);
    if (editor.Has(Editing) && editor.HoveredComment && editor.HoveredComment == editor.EditComment)
        SetCursor(CursorShape::IBeam);
    else if (!left && !middle)
        SetCursor(CursorShape::Arrow);
    const bool free = !editor.Has(RubberBand) && !editor.Has(Editing);
    if (free && !middle) SetCursor(editor.HoveredPort ? CursorShape::Hand : CursorShape::Arrow);
}

bool OnMouseMove(Circuit& circuit, const CanvasInput& input) {
    EditorState& editor = Editor();
    const bool left = input.Buttons & MouseButton::Left;
    if (editor.Has(Panning)) {
        KeepPointUnderPixel(circuit, editor.PanAnchorX, editor.PanAnchorY, input);
    }
    const bool free = !editor.Has(RubberBand) && !editor.Has(Editing) && !editor.PressCancelled &&
                      !editor.PressOnPort;
    if (free && left) {
        const Int dx = editor.MouseX - editor.DownX, dy = editor.MouseY - editor.DownY;
        if (std::abs(dx) > 4 || std::abs(dy) > 4) editor.Set(Dragged);
        // Drawn where the release will put them, on the grid when snapping.
        const UnitPair offset = SnappedGroupOffset(circuit, SelectedBlocks(circuit), dx, dy);
        editor.DragDX = offset.X;
        editor.DragDY = offset.Y;
    }
    return true;
}

bool OnWheel(Circuit& circuit, const CanvasInput& input) {
    const EditorState& editor = Editor();
    SetZoomLevel(circuit, circuit.ZoomLevel + input.Notches / 4.0f);
    // MouseX, MouseY still hold the point under the pointer before the zoom: it stays there.
    KeepPointUnderPixel(circuit, editor.MouseX, editor.MouseY, input);
    return true;
}

bool OnRightClick(Circuit& circuit, const CanvasInput& input) {
    if (Pending()) {
        CancelPlacement();
        return true;
    }
    if (PopUpContextMenu(circuit, input.GlobalPos)) return true;
    PopUpAddNodeMenu(circuit, input.GlobalPos - QPoint(1, 1));
    return false;
}

// Arrow keys nudge the selected nodes and comments, or pan the view when none is selected.
bool OnArrowKey(Circuit& circuit, const CanvasInput& input) {
    const int dx = input.Key == VirtualKey::Left ? -1 : input.Key == VirtualKey::Right ? 1 : 0;
    const int dy = input.Key == VirtualKey::Up ? -1 : input.Key == VirtualKey::Down ? 1 : 0;
    const FrameObjects selected = SelectedBlocks(circuit);
    if (!selected.Nodes.empty() || !selected.Comments.empty()) {
        const Int step = (input.Modifiers & KeyModifier::Shift) ? 10 : 1;
        NudgeObjects(circuit, selected, dx * step, dy * step);
        return true;
    }
    const double magnification = std::max(double(circuit.Magnification), 1e-30);
    circuit.CameraX = SaturatedSum(circuit.CameraX,
                                   ToCircuitUnit(dx * circuit.CanvasWidth / 10.0 / magnification));
    circuit.CameraY = SaturatedSum(circuit.CameraY,
                                   ToCircuitUnit(dy * circuit.CanvasHeight / 10.0 / magnification));
    return true;
}

// Escape lets go of whatever is under way: a placement, a wire, a band or a drag.
void CancelUnderWay(const CanvasInput& input) {
    EditorState& editor = Editor();
    CancelPlacement();
    if (Port* source = std::exchange(editor.WireSource, nullptr))
        source->Flags &= ~ObjectFlag::Selected;
    if (editor.Has(RubberBand | Dragged) || (input.Buttons & MouseButton::Left))
        editor.PressCancelled = true;
    editor.Set(RubberBand | Dragged, false);
    editor.DragDX = editor.DragDY = 0;
}

bool OnKeyDown(Circuit& circuit, const CanvasInput& input) {
    if (EditingText()) {
        // A pin's name is one line: Enter is done with it.
        if (input.Key == VirtualKey::Enter && Editor().EditNode && IsPin(*Editor().EditNode)) {
            CommitEdit();
            return true;
        }
        if (input.Key != VirtualKey::Escape) return ApplyEditKey(input.Key, input.Modifiers);
        CancelEdit();
        return true;
    }
    switch (input.Key) {
    case VirtualKey::Delete:
        DeleteObjects(circuit, QStringLiteral("Delete"),
                      SelectedObjectsWithSelectedWires(ShownFrame(circuit)));
        return true;
    case VirtualKey::Escape:
        CancelUnderWay(input);
        return true;
    case VirtualKey::Backspace:
        GoUp(circuit);
        return true;
    case VirtualKey::Left:
    case VirtualKey::Right:
    case VirtualKey::Up:
    case VirtualKey::Down:
        return OnArrowKey(circuit, input);
    case VirtualKey::Tab:
        OpenPlacePopup(circuit, input.GlobalPos, QString(), nullptr);
        return false;
    default:
        return false;
    }
}

bool OnCharacter(Circuit& circuit, const CanvasInput& input) {
    if (!EditingText()) {
        // A letter typed at the canvas starts a search for a function to place.
        if (input.Character.size() == 1 && input.Character.at(0).isLetter())
            OpenPlacePopup(circuit, input.GlobalPos, input.Character, nullptr);
        return false;
    }
    const QString typed = PastableText(input.Character, false);
    if (typed.isEmpty()) return false;
    InsertAtCaret(typed);
    return true;
}

// Double click on a selected constant: Booleans flip, the others open their value for editing.
void EditConstant(Node& node) {
    const CatalogueState& catalogue = Catalogue();
    Port* port = FirstPort(node);
    if (!port || !IsConstant(node)) return;
    if (node.Implementation == catalogue.ConstantBoolean) {
        // Any value other than 0 reads as True, so the flip goes to exactly 0 or 1.
        ChangeConstantValue(node, QStringLiteral("Flip Value"), port->Value != 0 ? 0 : 1,
                            port->Text);
    } else if (node.Implementation) {
        StartEditing(nullptr, &node, EditTextOf(node));
    }
    if (Editor().EditNode == &node) {
        // Typing replaces the whole value; the redraw must not put a caret at the pointer.
        SelectAllText();
        Editor().LastEvent = CanvasEvent::None;
    }
}

// A pin's name is edited whole: typing replaces it, as a constant's value.
void EditPinName(Node& pin) {
    StartEditing(nullptr, &pin, PinName(pin));
    SelectAllText();
    Editor().LastEvent = CanvasEvent::None;
}

bool OnDoubleClick(Circuit& circuit, const CanvasInput& input) {
    EditorState& editor = Editor();
    if (input.Modifiers & KeyModifier::Ctrl) return false;
    const bool hoverSelected = editor.Has(HoverSelected);
    if (!editor.HoveredPort && CanOpenInstance(circuit, editor.HoveredNode)) {
        OpenInstance(circuit, *editor.HoveredNode);
    } else if (hoverSelected && !editor.EditComment && editor.HoveredComment) {
        StartEditing(editor.HoveredComment, nullptr, editor.HoveredComment->Text);
    } else if (hoverSelected && !editor.EditNode && editor.HoveredNode) {
        if (IsPin(*editor.HoveredNode))
            EditPinName(*editor.HoveredNode);
        else
            EditConstant(*editor.HoveredNode);
    } else if (!hoverSelected) {
        Comment* comment =
            AddComment(&ShownFrame(circuit), QString(), editor.MouseX - 8, editor.MouseY - 4);
        comment->Flags |= ObjectFlag::Selected;
        StartEditing(comment, nullptr, QString());
        // It becomes a step of the history once it is committed with a text.
        editor.EditCommentNew = true;
    }
    return true;
}

void OnPrintOutput(Circuit& circuit, const CanvasInput& input) {
    // Lines of an earlier Start may still arrive after a new one began; they are not shown.
    if (input.RunNumber == SessionOf(circuit).RunNumber.load())
        AppendOutputLines(circuit, input.PrintedLines, input.PrintedBy);
}

bool Handle(Circuit& circuit, const CanvasInput& input) {
    switch (input.Type) {
    case CanvasEvent::LeftDown:
        return OnLeftDown(circuit, input);
    case CanvasEvent::LeftUp:
        return OnLeftUp(circuit, input);
    case CanvasEvent::LeftDoubleClick:
        return OnDoubleClick(circuit, input);
    case CanvasEvent::RightClick:
        return OnRightClick(circuit, input);
    case CanvasEvent::MiddleDown:
        Editor().Set(Panning);
        Editor().PanAnchorX = Editor().MouseX;
        Editor().PanAnchorY = Editor().MouseY;
        SetCursor(CursorShape::Move);
        return true;
    case CanvasEvent::MiddleUp:
        Editor().Set(Panning, false);
        SetCursor(CursorShape::Arrow);
        return true;
    case CanvasEvent::MouseMove:
        return OnMouseMove(circuit, input);
    case CanvasEvent::MouseWheel:
        return OnWheel(circuit, input);
    case CanvasEvent::KeyDown:
        return OnKeyDown(circuit, input);
    case CanvasEvent::CharacterInput:
        return OnCharacter(circuit, input);
    case CanvasEvent::PrintOutput:
        OnPrintOutput(circuit, input);
        return false;
    case CanvasEvent::None:
        return false;
    }
    return false;
}

// A mouse move that changes nothing drawn needs no redraw: nothing follows the mouse (no
// placement, wire, band, drag, pan or text selection) and the same object stays under it.
bool StillPicture(const Circuit& circuit, const CanvasInput& input) {
    const EditorState& editor = Editor();
    return input.Type == CanvasEvent::MouseMove &&
           !(input.Buttons & (MouseButton::Left | MouseButton::Middle)) &&
           !editor.Has(Panning | RubberBand | Dragged | Editing | DeselectAll | ToggleHovered) &&
           !Pending() && !editor.WireSource && HoverWouldStay(circuit);
}

} // namespace

void OnCanvasEvent(Circuit& circuit, const CanvasInput& input) {
    EditorState& editor = Editor();
    editor.CurrentCircuit = &circuit;
    const QPointF mouse = ToCircuitPoint(circuit, QPointF(input.PixelX, input.PixelY));
    editor.MouseX = ToCircuitUnit(mouse.x());
    editor.MouseY = ToCircuitUnit(mouse.y());
    editor.LastEvent = input.Type;
    editor.LastEventLeftHeld = input.Buttons & MouseButton::Left;

    const bool redraw = Handle(circuit, input);
    if (CircuitWindow* window = WindowOf(circuit)) window->ShowHistorySteps();

    SetStatusText(circuit, StatusField::Position,
                  QStringLiteral("%1, %2").arg(editor.MouseX).arg(editor.MouseY));
    if (!redraw || StillPicture(circuit, input)) return;
    editor.Set(HoverFound | HoverSelected, false);
    editor.HoveredComment = nullptr;
    editor.HoveredNode = nullptr;
    editor.HoveredPort = nullptr;
    RedrawCircuit(circuit);
    ShowOutputLinesOf(circuit, editor.HoveredPort ? editor.HoveredPort->Node : editor.HoveredNode);
    editor.Set(ToggleHovered | DeselectAll, false);
    if (input.Type == CanvasEvent::MouseMove) ShapeCursorAfterMove(input);
}

void EditObjectText(Comment* comment, Node* node) {
    if (comment) {
        StartEditing(comment, nullptr, comment->Text);
        Editor().Caret = int(comment->Text.size());
        Editor().LastEvent = CanvasEvent::None;
    } else if (node) {
        EditConstant(*node);
    }
}

void CommitEdit() {
    EditorState& editor = Editor();
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
        if (IsPin(*node)) {
            // A port needs a name to tell it from its neighbours: an empty one keeps the old,
            // and so does one longer than a file may hold, with a notice.
            if (editor.EditBuffer.size() > kLongestName) {
                if (Circuit* circuit = OwnerCircuit(*node))
                    ShowStatusNotice(*circuit,
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
        else if (Circuit* circuit = OwnerCircuit(*node))
            ShowStatusNotice(*circuit, typed.Refusal);
        // The value text is laid out from the stored value again, even when it did not change.
        node->Flags |= ObjectFlag::NeedsLayout;
    }
}

Circuit* EditedCircuit() {
    const EditorState& editor = Editor();
    if (!editor.Has(Editing)) return nullptr;
    if (editor.EditComment && editor.EditComment->Frame) return editor.EditComment->Frame->Owner;
    return editor.EditNode ? OwnerCircuit(*editor.EditNode) : nullptr;
}

void CommitEditOf(const Circuit& circuit) {
    if (EditedCircuit() == &circuit) CommitEdit();
}

QString PendingStepName(const Circuit& circuit) {
    const EditorState& editor = Editor();
    if (EditedCircuit() != &circuit) return QString();
    if (const Node* node = editor.EditNode) {
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

void CancelEdit() {
    EditorState& editor = Editor();
    if (editor.EditComment) {
        // The comment's Text is stored only when an edit ends: committing it unchanged ends the
        // edit, and drops a new comment that is still empty, as a commit always does. Its box
        // was last measured from the buffer.
        editor.EditComment->Flags |= ObjectFlag::NeedsLayout;
        editor.EditBuffer = editor.EditComment->Text;
        CommitEdit();
        return;
    }
    editor.Set(Editing, false);
    // The constant's value was never touched; its size goes back to fit it.
    if (Node* node = std::exchange(editor.EditNode, nullptr))
        node->Flags |= ObjectFlag::NeedsLayout;
}

void ForgetCircuit(const Circuit& circuit) {
    EditorState& editor = Editor();
    // Another circuit made at the same address later is not the one the last pass saw.
    if (editor.LastHitCircuit == &circuit) editor.LastHitCircuit = nullptr;
    const auto inCircuit = [&](const Node* node) {
        return node && OwnerCircuit(*node) == &circuit;
    };
    const auto commentInCircuit = [&](const Comment* comment) {
        return comment && comment->Frame && comment->Frame->Owner == &circuit;
    };
    if (commentInCircuit(editor.EditComment) || inCircuit(editor.EditNode)) {
        editor.Set(Editing, false);
        editor.EditComment = nullptr;
        editor.EditNode = nullptr;
        editor.EditBuffer.clear();
        editor.Caret = editor.SelectionLength = 0;
    }
    if (editor.WireSource && inCircuit(editor.WireSource->Node)) editor.WireSource = nullptr;
    if (editor.HoveredPort && inCircuit(editor.HoveredPort->Node)) editor.HoveredPort = nullptr;
    if (inCircuit(editor.HoveredNode)) editor.HoveredNode = nullptr;
    if (commentInCircuit(editor.HoveredComment)) editor.HoveredComment = nullptr;
    if (editor.CurrentCircuit == &circuit) {
        // The release of a button held in the closed window never arrives.
        editor.Set(Panning | Dragged | RubberBand, false);
        editor.DragDX = editor.DragDY = 0;
        editor.CurrentCircuit = nullptr;
    }
}

} // namespace flow

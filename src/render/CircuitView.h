#pragma once
// What one window shows of its circuit and how the user is interacting with it: the camera of
// the level shown and of the levels left, the open path, the canvas size, what lies under the
// mouse, the text being edited, and what a press, a wire or a placement has under way. Each
// window holds one (CircuitWindow); --render and Export Image draw through one of their own.
// Drawing reads it and never changes it; the editor's interaction code changes it.

#include "model/Records.h"
#include "render/OverviewMap.h"
#include "render/SceneIndex.h"
#include "render/StepMarks.h"

#include <QHash>

#include <array>
#include <climits>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class QObject;
class QUndoStack;

namespace flow {

class CanvasSurface;
class RunSession;

// What the last hit-test pass found, the selection requests of the last event for the next pass,
// and whether a text is being edited.
namespace InteractionFlag {
constexpr int HoverFound = 0x01;
constexpr int HoverSelected = 0x02;
constexpr int ToggleHovered = 0x04;
constexpr int DeselectAll = 0x08;
constexpr int Editing = 0x10;
} // namespace InteractionFlag

// The canvas events, as stored in LastEvent.
enum class CanvasEvent {
    None,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightClick,
    MiddleDown,
    MiddleUp,
    MouseMove,
    MouseWheel,
    KeyDown,
    CharacterInput,
};

// A camera: the circuit point at the canvas centre, and the zoom.
struct CameraView {
    Int X = 0, Y = 0;
    float Zoom = 0.0f, Magnification = 1.0f;
    bool operator==(const CameraView&) const = default;
};

// What the left button has under way, from its press to its release: one of these at a time.
namespace press {
struct None {};
// Held on an object, not yet moved far enough to drag it; on a port, dragging draws a wire.
struct Held {
    Int DownX = 0, DownY = 0;
    bool OnPort = false;
};
// Moving the selected nodes and comments, which are drawn at this offset until the release.
struct Dragging {
    Int DownX = 0, DownY = 0;
    Int DX = 0, DY = 0;
};
// Drawing a rubber band from where the press went down to the mouse.
struct Banding {
    Int DownX = 0, DownY = 0;
};
// Taken by something else (Escape, a wire let go over empty canvas): it neither drags nor draws
// a band until its release.
struct Taken {};
// Went down on the overview's map: the view centres where the pointer is on the map until the
// release.
struct Steering {};
} // namespace press
using LeftPress = std::variant<press::None, press::Held, press::Dragging, press::Banding,
                               press::Taken, press::Steering>;

// The middle button's pan: the circuit point that stays under the pointer.
struct PanAnchor {
    Int X = 0, Y = 0;
};

// An object the hit test marked Hovered (under the mouse, or inside the rubber band), by its
// place in the shown frame's lists; a port by its node's.
struct HoverMark {
    enum class Kind { Comment, Node, Port, Wire };
    Kind Of = Kind::Node;
    int Index = 0;
    Port* OnPort = nullptr;
    bool operator==(const HoverMark&) const = default;
};

// What the last hit-test pass brought up to date, so that the next needs to visit only the
// objects near the mouse while nothing else changed (editor/canvas/HitTestPass): the frame and
// the circuit's edit count its sizes, selection and scene index are true for, and its marks.
struct PassRecord {
    const Frame* Shown = nullptr;
    std::uint64_t Edits = 0;
    bool Editing = false;
    bool Dragging = false;
    std::vector<HoverMark> Marks;
    // Whether Changed holds every change the pass made to what is drawn: the marks it took away
    // and those it set. Not after a pass that visited every object, nor for many marks.
    bool ChangesListed = false;
    std::vector<HoverMark> Changed;
    // How many objects the pass looked at: a count for the tests that hold a frame's work to
    // what it shows.
    std::size_t Visited = 0;
};

// The interaction under way on the canvas: the mouse, the press, the text being edited.
struct EditorState {
    Int MouseX = INT_MIN; // no position yet, so nothing is under the mouse at first
    Int MouseY = INT_MIN;
    LeftPress Press;
    std::optional<PanAnchor> Pan;
    int InteractionFlags = 0;
    CanvasEvent LastEvent = CanvasEvent::None;
    bool LastEventLeftHeld = false; // whether the left button was held during LastEvent
    Comment* EditComment = nullptr;
    bool EditCommentNew = false; // made by the double click that began the edit
    Node* EditNode = nullptr;
    bool EditName = false; // the edited node's name (an input's), not its value
    int Caret = 0;
    int SelectionLength = 0;
    QString EditBuffer;
    Comment* HoveredComment = nullptr;
    Node* HoveredNode = nullptr;
    Port* HoveredPort = nullptr;
    Port* WireSource = nullptr;
    // What the last hit-test pass found under the mouse; none before the first pass.
    std::optional<const void*> LastHit;
    PassRecord LastPass;

    bool Has(int flag) const { return (InteractionFlags & flag) != 0; }
    const press::Dragging* Drag() const { return std::get_if<press::Dragging>(&Press); }
    const press::Banding* Band() const { return std::get_if<press::Banding>(&Press); }
    void Set(int flag, bool on = true) {
        InteractionFlags = on ? (InteractionFlags | flag) : (InteractionFlags & ~flag);
    }
};

// What a canvas's image was last drawn from, besides the hover marks of the objects: a later
// drawing from the same differs from it only where marks changed (editor/canvas/CanvasRedraw).
struct PictureStamp {
    qint64 Image = 0; // the image's cacheKey, taken once drawn; 0 for none
    const Frame* Shown = nullptr;
    std::uint64_t Edits = 0;
    CameraView Camera;
    int CanvasWidth = 0, CanvasHeight = 0;
    // The run shown, as far as drawing tells it: state, Start, firings, skips.
    const RunSession* Run = nullptr;
    int RunState = 0;
    std::uint64_t RunNumber = 0, Skips = 0;
    std::size_t Firings = 0;
    QString FindText;
    bool ShowsEditing = false, Labels = false, Overview = false;
    std::uint64_t OverviewGeneration = 0;
    std::size_t Press = 0;
    bool Pan = false, Editing = false;
    const Port* WireSource = nullptr;
    const FunctionDef* Placing = nullptr;
    bool operator==(const PictureStamp&) const = default;
};

struct CircuitView : EditorState {
    explicit CircuitView(flow::Circuit& circuit);
    CircuitView(const CircuitView&) = delete;
    CircuitView& operator=(const CircuitView&) = delete;

    flow::Circuit* Circuit;
    // The camera of the level shown.
    Int CameraX = 0;
    Int CameraY = 0;
    float ZoomLevel = 0.0f;
    float Magnification = 1.0f;
    int CanvasWidth = 0, CanvasHeight = 0;
    // The instances the window has been opened into, from the main frame inwards: each lies in
    // the body of the one before (the first in the main frame). The window shows the body of
    // the last one's sub-circuit, or the main frame when there is none.
    std::vector<Node*> OpenPath;
    // LeftCameras[i]: the camera of depth i when the window went deeper; none where a defect
    // opened the path and the level was never shown.
    std::vector<std::optional<CameraView>> LeftCameras;
    // The camera each sub-circuit's body was last left with, by the sub-circuit's name.
    QHash<QString, CameraView> CamerasInside;
    // The node chosen from the add-node menu or the type-to-place popup, following the mouse
    // until it is placed: a node of no frame, whose Function is none while nothing is placed.
    Node Preview;
    // Whether hover, selection, the edit, the interaction under way and the run show: off for
    // pictures, which show the circuit as its file holds it.
    bool ShowsEditing = true;
    // The window that shows the view, and the undo stack of its circuit's edits, which lives and
    // ends with the window; none for a picture's view.
    QObject* Window = nullptr;
    QUndoStack* History = nullptr;
    // The run whose results the view shows (values, never-fired marks, the run state); none for
    // a picture.
    const RunSession* Run = nullptr;
    // The canvas the window draws the view on, and its status bar with the bar's field labels in
    // the order of StatusField (editor/window/StatusText.h).
    CanvasSurface* Canvas = nullptr;
    QObject* StatusLine = nullptr;
    std::array<QObject*, 3> StatusFields{};
    // What Edit → Find looks for while its bar is open: the matching objects in sight are
    // marked. Empty while the bar is closed.
    QString FindText;
    // Breakpoints, and what a paused run or a replay marks (render/StepMarks.h).
    StepMarks Stepping;
    // Where the objects of the shown frame lie; derived data kept between redraws.
    mutable SceneIndex Index;
    // The overview's map of the shown frame (render/Overview.h); derived data too.
    OverviewMap Overview;
    // What the canvas's image holds.
    PictureStamp Painted;
    // How many objects the last drawing of the view visited, a count as PassRecord::Visited.
    mutable std::size_t Drawn = 0;

    CameraView Camera() const { return {CameraX, CameraY, ZoomLevel, Magnification}; }
    // The camera the circuit's file keeps: where a window opens and what --render shows.
    void TakeSavedCamera() {
        SetCamera({Circuit->Saved.CameraX, Circuit->Saved.CameraY, Circuit->Saved.ZoomLevel,
                   Circuit->Saved.Magnification});
    }
    void SetCamera(const CameraView& camera) {
        CameraX = camera.X;
        CameraY = camera.Y;
        ZoomLevel = camera.Zoom;
        Magnification = camera.Magnification;
    }
};

// The frame the view shows: the body of the last instance on its open path, else the main frame.
Frame& ShownFrame(const CircuitView& view);

// Lets go of every reference the view holds into a node or comment that is about to go: an
// edit of it ends without being stored, and a wire begun at one of its ports is dropped.
void ForgetNode(CircuitView& view, const Node* node);
void ForgetComment(CircuitView& view, const Comment* comment);

} // namespace flow

#pragma once
// The process-wide interaction state shared by every circuit window: what the mouse is over,
// what is being dragged, placed, wired or edited.

#include "model/Records.h"

#include <climits>

namespace flow {

namespace InteractionFlag {
constexpr int Panning = 0x01;
constexpr int Dragged = 0x02;
constexpr int RubberBand = 0x04;
constexpr int HoverFound = 0x08;
constexpr int HoverSelected = 0x10;
constexpr int ToggleHovered = 0x20;
constexpr int DeselectAll = 0x40;
constexpr int Editing = 0x80;
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
    PrintOutput,
};

struct EditorState {
    Int MouseX = INT_MIN; // no position yet, so nothing is under the mouse at first
    Int MouseY = INT_MIN;
    Int PanAnchorX = 0, PanAnchorY = 0;
    Int DownX = 0, DownY = 0;
    Int DragDX = 0, DragDY = 0;
    int InteractionFlags = 0;
    CanvasEvent LastEvent = CanvasEvent::None;
    bool LastEventLeftHeld = false; // whether the left button was held during LastEvent
    Comment* EditComment = nullptr;
    bool EditCommentNew = false; // made by the double click that began the edit
    Node* EditNode = nullptr;
    int Caret = 0;
    int SelectionLength = 0;
    QString EditBuffer;
    // The pending placement lives in the placement preview node (PreviewNode()).
    Comment* HoveredComment = nullptr;
    Node* HoveredNode = nullptr;
    Port* HoveredPort = nullptr;
    Circuit* CurrentCircuit = nullptr;
    Port* WireSource = nullptr;
    // The left press was taken by something else (Escape, a wire let go on empty canvas): it
    // neither drags nor draws a band until its release.
    bool PressCancelled = false;
    // The left press began on a port: dragging draws a wire from it instead of moving objects.
    bool PressOnPort = false;
    // What the last hit-test pass found under the mouse, and in which circuit.
    const Circuit* LastHitCircuit = nullptr;
    const void* LastHit = nullptr;

    bool Has(int flag) const { return (InteractionFlags & flag) != 0; }
    void Set(int flag, bool on = true) {
        InteractionFlags = on ? (InteractionFlags | flag) : (InteractionFlags & ~flag);
    }
};

EditorState& Editor();
// Back to the state at start; for tests.
void ResetEditorState();

// Lets go of every reference the editor holds into a node or comment that is about to go: an
// edit of it ends without being stored, and a wire begun at one of its ports is dropped.
void ForgetNode(const Node* node);
void ForgetComment(const Comment* comment);

} // namespace flow

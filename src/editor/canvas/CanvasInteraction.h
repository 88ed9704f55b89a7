#pragma once
// Everything the user does on a circuit's canvas arrives here as one canvas event: the editor
// turns it into edits of the model, moves the camera, edits texts, and asks for a redraw.

#include "editor/canvas/OpenViews.h"
#include "model/ZoomRange.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace flow {

namespace MouseButton {
constexpr int Left = 0x1, Right = 0x2, Middle = 0x4;
}

namespace KeyModifier {
constexpr int Shift = 0x1, Alt = 0x2, Ctrl = 0x4;
}

// The keys the canvas reacts to, by their virtual-key codes.
namespace VirtualKey {
constexpr int None = 0, Backspace = 8, Tab = 9, Enter = 13, Escape = 27, End = 35, Home = 36,
              Left = 37, Up = 38, Right = 39, Down = 40, Delete = 46, A = 65, C = 67, V = 86,
              X = 88;
} // namespace VirtualKey

namespace CursorShape {
constexpr int Arrow = 0, Cross = 1, IBeam = 2, Hand = 3, Move = 6;
}

// One canvas event with what was sampled when it was raised.
struct CanvasInput {
    CanvasEvent Type = CanvasEvent::None;
    double PixelX = 0.0; // pointer position in canvas pixels
    double PixelY = 0.0;
    int Buttons = 0;            // MouseButton bits held
    int Modifiers = 0;          // KeyModifier bits held
    int Key = VirtualKey::None; // KeyDown
    QString Character;          // CharacterInput: one character (a surrogate pair counts as one)
    int Notches = 0;            // MouseWheel: positive away from the user
    QPoint GlobalPos;           // the pointer on the screen
};

void OnCanvasEvent(Circuit& circuit, const CanvasInput& input);
void OnCanvasEvent(CircuitView& view, const CanvasInput& input);

// Ends edit mode and stores the edited text in the comment or constant.
void CommitEdit(CircuitView& view);
// Commits the edit in progress in the circuit's window: what is typed counts before the circuit
// runs, is saved, closed, or steps through its history.
void CommitEditOf(const Circuit& circuit);
// The step that committing the edit in progress in the circuit would record; empty for none.
QString PendingStepName(const Circuit& circuit);
// Starts editing a comment's text (caret at its end) or a constant's value (all of it selected,
// so that typing replaces it); a Boolean constant flips instead, as a double click does.
void EditObjectText(Comment* comment, Node* node);
// Starts editing an input's or a pin's name, all of it selected.
void EditNameOf(Node& node);

// Ends edit mode and leaves the comment or constant with the text it had when the edit began.
void CancelEdit(CircuitView& view);

} // namespace flow

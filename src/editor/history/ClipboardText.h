#pragma once
// Groups of objects through the system clipboard: the selection copied as circuit-file text,
// and such text pasted as new objects.

#include "file/CircuitFragment.h"
#include "file/ReadLosses.h"

#include <QByteArray>
#include <QPointF>

#include <optional>

class QMimeData;

namespace flow {

// The clipboard type of circuit text; the same text also goes as plain text.
inline constexpr char kCircuitMimeType[] = "application/x-flowlattice+xml";

// The selected comments and nodes of the frame, and the wires that run between two of those
// nodes: what a copy takes.
FrameObjects SelectedObjectsWithInnerWires(const Frame& frame);
// Every selected wire, node and comment of the frame: what a deletion takes.
FrameObjects SelectedObjectsWithSelectedWires(const Frame& frame);

// The circuit text for the clipboard; and the circuit text it holds, by its own type or else
// as plain text (empty when neither). A text longer than `largest` bytes or characters is not
// taken (nor converted, which alone would cost twice its size): *tooLarge tells.
QMimeData* CircuitMimeData(const std::string& text);
QByteArray CircuitTextOf(const QMimeData* data, qsizetype largest = -1, bool* tooLarge = nullptr);

// Reads circuit text into the circuit as new objects and makes them the selection. The group's
// bounding box is centred on `centre` when given; otherwise it keeps its place moved by `offset`
// units right and down. Returns what was added; nothing for text that is no circuit.
FrameObjects PasteCircuitText(Circuit& circuit, std::string_view text,
                              std::optional<QPointF> centre, Int offset,
                              ReadLosses* losses = nullptr);

// Places pasted copies this far right of and below the originals when the pointer is not on the
// canvas, and for Duplicate.
constexpr Int kPasteOffset = 20;

} // namespace flow

#pragma once
// Groups of objects through the system clipboard: the selection copied as circuit-file text,
// and such text pasted as new objects.

#include "file/CircuitFragment.h"
#include "file/ReadLosses.h"

#include <QByteArray>
#include <QPointF>

#include <functional>
#include <optional>
#include <string>

class QMimeData;

namespace flow {

// The clipboard type of circuit text; the same text also goes as plain text.
inline constexpr char kCircuitMimeType[] = "application/x-flowlattice+xml";

// The selected comments and nodes of the frame, and the wires that run between two of those
// nodes: what a copy takes.
FrameObjects SelectedObjectsWithInnerWires(const Frame& frame);
// Every selected wire, node and comment of the frame: what a deletion takes.
FrameObjects SelectedObjectsWithSelectedWires(const Frame& frame);

// Makes these objects the frame's selection, and nothing else.
void SelectOnly(Frame& frame, const FrameObjects& objects);

// The circuit text for the clipboard; and the circuit text it holds, by its own type or else
// as plain text (empty when neither). A text longer than `largest` bytes or characters is not
// taken (nor converted, which alone would cost twice its size): *tooLarge tells.
QMimeData* CircuitMimeData(const std::string& text);
QByteArray CircuitTextOf(const QMimeData* data, qsizetype largest = -1, bool* tooLarge = nullptr);

// The circuit text of objects of the circuit, with the sub-circuits their instances need.
std::string CopiedCircuitText(const Circuit& circuit, const FrameObjects& objects);

// How a paste goes on the history: the step's name, what arranges the pasted objects before the
// step keeps them, and where a refusal is told.
struct PasteStep {
    QString Name = QStringLiteral("Paste");
    std::function<void(const FrameObjects&)> Arrange;
    QString* Refusal = nullptr;
};

// Reads circuit text into the frame the circuit shows as new objects, as one step of its
// history, and makes them the selection. The group's bounding box is centred on `centre` when
// given; otherwise it keeps its place moved by `offset` units right and down. Sub-circuits the
// text brings are matched to the circuit's by name and body, come under a new name where the
// circuit's of that name is another, or are added. Returns what was added; nothing for text
// that is no circuit, or when an instance would make the shown sub-circuit contain itself.
FrameObjects PasteCircuitText(Circuit& circuit, std::string_view text,
                              std::optional<QPointF> centre, Int offset,
                              ReadLosses* losses = nullptr, const PasteStep& step = {});

// Places pasted copies this far right of and below the originals when the pointer is not on the
// canvas, and for Duplicate.
constexpr Int kPasteOffset = 20;

} // namespace flow

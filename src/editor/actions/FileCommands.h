#pragma once
// Opening and saving circuit files from a window, and the question before unsaved work goes.
// Every failure is told to the user in a message box.

#include "model/Records.h"

#include <functional>

class QWidget;

namespace flow {

// Loads the file into a new window placed by the window the command came from, or brings the
// window that shows it already to the front. A file that cannot be read opens nothing; one
// read with any loss opens recovered, bound to no file, with a message that lists the losses.
Circuit* OpenCircuitFile(Circuit& from, const QString& fileName);
// Opens the file named at start; when it cannot be read, an empty window opens and tells why.
Circuit& OpenStartFile(const QString& fileName);
// Save: to the circuit's own file, or under a name asked for when it has none.
bool SaveCircuitFile(Circuit& circuit);
// SaveAs: under a name asked for. False when cancelled or when the file could not be written.
bool SaveCircuitFileAs(Circuit& circuit);
// Writes the file; on success it becomes the circuit's own and the circuit counts as saved.
// An existing file other than the circuit's own, and its own once another program changed it,
// are replaced only when the user says so.
bool SaveCircuitTo(Circuit& circuit, const QString& fileName);

// The name shown for the circuit: its file's name, the name of the file it was recovered from
// with " (recovered)", or "Untitled".
QString CircuitTitle(const Circuit& circuit);
// Whether the circuit has changes that are not in its file: edits, a recovered circuit, a file
// deleted by another program.
bool IsModified(const Circuit& circuit);
// Asks Save / Discard / Cancel when the circuit is modified; true when its window may close.
// An edit in progress in the circuit is committed first: it counts as a change.
bool MayClose(Circuit& circuit);

// How the question before closing is put; the editor shows a message box, tests may answer it.
enum class SaveAnswer { Save, Discard, Cancel };
using SaveQuestion = std::function<SaveAnswer(QWidget* parent, const QString& circuitTitle)>;
SaveQuestion& AskToSave();
// Whether to save over a file that another window shows; tests may answer it.
using ReplaceQuestion = std::function<bool(QWidget* parent, const QString& fileTitle)>;
ReplaceQuestion& AskToReplaceOpenFile();

} // namespace flow

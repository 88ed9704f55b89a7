#pragma once
// Where the file dialogs start, and what they add to a chosen name: a circuit's dialogs start in
// the folder of its file, else in the folder a dialog used last; Export Image keeps a folder and
// a format of its own.

#include "model/Records.h"

#include <QString>

class QWidget;

namespace flow {

// The start folder for the circuit of this window (a CircuitWindow; any other: the last one).
QString CircuitDialogFolder(const QWidget* window);
QString CircuitDialogFolder(const Circuit& circuit);
// Remembers the folder of a file chosen in a dialog; an empty name is ignored.
void RememberDialogFolder(const QString& fileName);

// A name without a suffix gets ".xml", the circuit files' own, unless a file of that very name
// exists (the user chose it to replace it); any other name is kept as it is.
QString WithCircuitSuffix(const QString& fileName);

// Export Image starts in the folder it last wrote to, else as the circuit's dialogs do, and
// offers the format it last wrote ("png" or "svg"; "png" at first).
QString ExportDialogFolder(const Circuit& circuit);
QString LastExportFormat();
void RememberExport(const QString& fileName);

} // namespace flow

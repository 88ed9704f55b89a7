#pragma once
// File → Export Image…: a picture of the current view or of the whole circuit, as PNG or SVG.

#include "model/Records.h"

#include <QString>

#include <functional>

class QWidget;

namespace flow {

struct ExportChoice {
    QString FileName; // empty when cancelled
    bool WholeCircuit = false;
};

// Asks where to write the picture and of what. The editor shows a file dialog; tests put a
// chooser of their own here.
using ExportChooser = std::function<ExportChoice(QWidget* parent)>;
ExportChooser& ChooseExport();

// Writes the picture the user asks for, at the canvas's size, asking before it replaces a
// file. The whole circuit is drawn as Fit Circuit would show it, without moving the window's
// own view.
void ExportImage(Circuit& circuit);

} // namespace flow

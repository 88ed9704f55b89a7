#pragma once
// Pictures of a circuit for documents: the canvas's drawing written to a file, as SVG when the
// file name ends in ".svg" and as PNG otherwise.

#include "model/Records.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace flow {

struct CircuitView;

bool IsSvgFileName(const QString& fileName);

// The drawing of a canvas of this size through the view's camera, encoded as a file; scale is
// the number of picture pixels to a canvas pixel (an SVG is shown that much larger). The view
// is laid out and sized for the picture: a picture's own, showing no editing
// (CircuitView::ShowsEditing off).
QByteArray CircuitSvg(CircuitView& view, QSize canvas, double scale = 1.0);
QByteArray CircuitPng(CircuitView& view, QSize canvas, double scale = 1.0);

// Writes the picture the file name asks for; returns whether it was written, and why not in
// *failure if given.
bool WriteCircuitPicture(CircuitView& view, const QString& fileName, QSize canvas, double scale,
                         QString* failure = nullptr);

} // namespace flow

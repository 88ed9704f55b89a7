#pragma once
// Pictures of a circuit for documents: the canvas's drawing written to a file, as SVG when the
// file name ends in ".svg" and as PNG otherwise.

#include "model/Records.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace flow {

bool IsSvgFileName(const QString& fileName);

// The drawing of a canvas of this size through the circuit's camera, encoded as a file.
QByteArray CircuitSvg(Circuit& circuit, QSize size);
QByteArray CircuitPng(Circuit& circuit, QSize size);

// Writes the picture the file name asks for; returns whether it was written, and why not in
// *failure if given.
bool WriteCircuitPicture(Circuit& circuit, const QString& fileName, QSize size,
                         QString* failure = nullptr);

} // namespace flow

#pragma once
// The colours and fonts every drawing uses, created once at start, and the colour helpers they
// share.

#include "model/Records.h"

#include <QFont>
#include <QRgb>

#include <array>

namespace flow {

namespace ColorSlot {
constexpr int Background = 0, MajorGrid = 1, MediumGrid = 2, NodeOutline = 5, NodeDark = 6,
              NodeLight = 7, Shadow = 8, PreviewShadow = 9, SymbolFill = 10, SymbolOutline = 11,
              CommentFill = 13, CommentOutline = 14, Hover = 15, Selection = 16;
}

constexpr double kCommentTextSize = 14.0;

void SetupPalette();
const std::array<QRgb, 18>& ColorTable();
// "DejaVu Sans" regular and bold, made at size 32; drawing always sets its own pixel size.
const QFont& RegularFont();
const QFont& BoldFont();
// The font at a size in drawing units.
QFont FontAt(const QFont& font, double size);

// Mixes each channel (alpha included) of a and b in the proportion t (0 gives a, 1 gives b).
QRgb BlendColor(QRgb a, QRgb b, float t);

// The colour of a port type code; unknown codes are fully transparent.
QRgb PortTypeColor(int type);
QRgb PortTypeColor(const Port& port, const std::vector<Node*>& openPath);

} // namespace flow

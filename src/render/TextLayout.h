#pragma once
// Multi-line text with tab stops, shared by comment boxes and constant nodes.

#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

namespace flow {

constexpr int kTabStep = 30;
constexpr int kNoCaret = -65535;

double TextBlockWidth(const QFont& font, const QString& text);
double TextBlockHeight(const QFont& font, const QString& text);
// The caret index nearest to (x, y), relative to the text origin; ties go to the later index.
int TextIndexAt(const QFont& font, const QString& text, double x, double y);
// Where TextIndexAt sees the caret index: the pen x before it and the centre of its line.
QPointF CaretPoint(const QFont& font, const QString& text, int index);
// The text with every line wider than `width` cut short and ended by "…", so that the block is
// at most that wide (tab stops counted as TextBlockWidth counts them); fitting text stays as it
// is.
QString ElidedTextBlock(const QFont& font, const QString& text, double width);
// The height of one line of text.
double LineHeight(const QFont& font);
// Draws text at (x, y) in the painter's font and pen colour, with a caret (kNoCaret for none)
// or a selection (signed length from the caret) shown inverted.
void DrawEditText(QPainter& painter, double x, double y, const QString& text, int caret,
                  int selection);

} // namespace flow

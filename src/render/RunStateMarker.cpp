#include "render/RunStateMarker.h"

#include "engine/RunSession.h"
#include "render/CircuitView.h"

#include "render/Palette.h"
#include "render/TextMetrics.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace flow {

namespace {

constexpr QRgb kInitializingColor = 0xC000FFFF;
constexpr QRgb kExecutingColor = 0xC000FF00;
constexpr QRgb kDefectColor = 0xC0FF0000;
constexpr QPointF kBadgeCentre(30, 30);

// A 10-wide stroke along the canvas edge, half of which lies inside the canvas.
void DrawFrame(QPainter& painter, const CircuitView& view, QRgb color) {
    QPen pen(QColor::fromRgba(color), 10);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0, 0, view.CanvasWidth, view.CanvasHeight));
}

void FillPath(QPainter& painter, QPainterPath& path, QRgb color) {
    path.setFillRule(Qt::OddEvenFill);
    painter.fillPath(path, QColor::fromRgba(color));
}

void DrawInitializing(QPainter& painter, const CircuitView& view) {
    DrawFrame(painter, view, kInitializingColor);
    QPainterPath path;
    AddTextOutline(path, FontAt(BoldFont(), 32), 20, 20, QStringLiteral("\u2731"));
    FillPath(painter, path, kInitializingColor);
}

void DrawExecuting(QPainter& painter, const CircuitView& view) {
    DrawFrame(painter, view, kExecutingColor);
    const QFont font = FontAt(BoldFont(), 32);
    const QString play = QStringLiteral("\u25B6");
    QPainterPath path;
    AddCentredTextOutline(path, font, kBadgeCentre.x(), kBadgeCentre.y(), play);
    FillPath(painter, path, kExecutingColor);
}

void DrawDefect(QPainter& painter, const CircuitView& view, const Defect& defect) {
    // Darkens the top of the canvas so that the message stays readable over the scene.
    QLinearGradient shade(QPointF(0, 0), QPointF(0, 80));
    shade.setColorAt(0, QColor::fromRgba(0xC0000000));
    shade.setColorAt(0.5, QColor::fromRgba(0xC0000000));
    shade.setColorAt(1, QColor::fromRgba(0x00000000));
    painter.fillRect(QRectF(0, 0, view.CanvasWidth, 80), shade);

    DrawFrame(painter, view, kDefectColor);
    // The cross is cut out of the disc: both go into one even-odd path.
    const QFont crossFont = FontAt(BoldFont(), 35);
    const QString cross = QStringLiteral("\u2716");
    QPainterPath path;
    path.addEllipse(kBadgeCentre, 20, 20);
    AddCentredTextOutline(path, crossFont, kBadgeCentre.x(), kBadgeCentre.y(), cross);
    FillPath(painter, path, kDefectColor);

    if (defect.Kind == ErrorKind::None) return;
    const QFont messageFont = FontAt(BoldFont(), 20);
    const QFontMetricsF& metrics = MetricsOf(messageFont);
    painter.setFont(messageFont);
    painter.setPen(QColor::fromRgba(kDefectColor));
    painter.drawText(QPointF(60, 30 - metrics.height() / 2 + metrics.ascent()), defect.Message);
}

} // namespace

void DrawRunStateMarker(QPainter& painter, const CircuitView& view) {
    if (!view.ShowsEditing || !view.Run) return;
    const RunSession& run = *view.Run;
    switch (run.State()) {
    case RunState::Initializing:
        DrawInitializing(painter, view);
        break;
    case RunState::Executing:
        DrawExecuting(painter, view);
        break;
    case RunState::Defect:
        DrawDefect(painter, view, run.Fault());
        break;
    default:
        break;
    }
}

} // namespace flow

#include "render/StepMarks.h"

#include "engine/RunCopies.h"
#include "model/Expansion.h"
#include "render/CircuitView.h"
#include "render/Strokes.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace flow {

namespace {

constexpr QRgb kBreakpointColor = 0xFFE02020;
constexpr QRgb kPausedColor = 0xFFFFA000;
constexpr QRgb kReadyColor = 0xFF40B0FF;
constexpr QRgb kLitColor = 0xFFFFE040;
constexpr double kDotRadius = 5.0;

QRectF BodyOf(const Node& node) {
    // A constant grows leftwards: its Width is negative.
    return QRectF(double(node.X), double(node.Y), double(node.Width), double(node.Height))
        .normalized();
}

void Outline(QPainter& painter, const Node& node, QRgb color, double width, double margin) {
    QPainterPath outline;
    outline.addRoundedRect(BodyOf(node).adjusted(-margin, -margin, margin, margin), 5, 5);
    painter.strokePath(outline, SolidPen(color, width));
}

} // namespace

NodeKey KeyOf(const Node& node) {
    const Frame* frame = node.Frame;
    if (frame && frame->Instance && frame->Instance->Function)
        return {frame->Instance->Function->Name, node.Id};
    if (frame && frame->Definition) return {frame->Definition->Name, node.Id};
    return {QString(), node.Id};
}

void DrawStepMarks(QPainter& painter, const Node& node, const CircuitView& view) {
    const StepMarks& marks = view.Stepping;
    if (marks.Any()) {
        const Node* ran = RunCopyOf(node, view.OpenPath);
        // A node inside an instance lights the instance that holds it, in the main frame.
        const bool lit =
            marks.Lit &&
            ((ran && ran == marks.Lit) ||
             (view.OpenPath.empty() && OutermostNode(const_cast<Node*>(marks.Lit)) == &node));
        if (lit) {
            QColor glow = QColor::fromRgba(kLitColor);
            glow.setAlpha(70);
            QPainterPath halo;
            halo.addRoundedRect(BodyOf(node).adjusted(-8, -8, 8, 8), 8, 8);
            painter.fillPath(halo, glow);
            Outline(painter, node, kLitColor, 3.0, 8);
        }
        if (ran && ran == marks.PausedBefore) {
            Outline(painter, node, kPausedColor, 4.0, 7);
        } else if (ran &&
                   std::find(marks.Ready.begin(), marks.Ready.end(), ran) != marks.Ready.end()) {
            QPen pen = SolidPen(kReadyColor, 2.0);
            pen.setDashPattern({2, 2});
            QPainterPath outline;
            outline.addRoundedRect(BodyOf(node).adjusted(-7, -7, 7, 7), 5, 5);
            painter.strokePath(outline, pen);
        }
    }
    if (!marks.Breakpoints.isEmpty() && marks.Breakpoints.contains(KeyOf(node))) {
        const QRectF body = BodyOf(node);
        painter.setPen(QPen(QColor(Qt::white), 1.5));
        painter.setBrush(QColor::fromRgba(kBreakpointColor));
        painter.drawEllipse(body.topLeft(), kDotRadius, kDotRadius);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::NoPen);
    }
}

} // namespace flow

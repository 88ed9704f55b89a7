#include "render/PinDrawing.h"

#include "model/SubCircuits.h"
#include "render/CaretPlacement.h"
#include "render/CircuitView.h"
#include "render/Palette.h"
#include "render/TextLayout.h"
#include "render/TextMetrics.h"

#include <QPainter>

#include <algorithm>
#include <unordered_map>

namespace flow {

namespace {

constexpr double kPinNameSize = 11.0;
constexpr double kPinNameGap = 6.0;
// A pin's name is cut short beyond this width, about 30 characters: a name may be long enough
// to reach across any view, and the pin's wires need the room beside it.
constexpr double kWidestPinName = 240.0;
// Port labels inside an instance are left out where they would be a smudge.
constexpr double kSmallestReadable = 5.0;

bool NameEdited(const Node& pin, const EditorState* editor) {
    if (!editor) return false;
    return editor->Has(InteractionFlag::Editing) && editor->EditNode == &pin;
}

// The name under edit is shown whole, for the caret to reach every character of it.
QString ShownName(const Node& pin, const EditorState* editor) {
    if (NameEdited(pin, editor)) return editor->EditBuffer;
    return ElidedTextBlock(PinNameFont(), PinName(pin), kWidestPinName);
}

void DrawPinName(QPainter& painter, const QTransform& local, const Node& pin,
                 const EditorState& editor) {
    const QString name = ShownName(pin, &editor);
    const bool edited = NameEdited(pin, &editor);
    if (name.isEmpty() && !edited) return;
    const QPointF origin = PinNameOrigin(pin, name);
    painter.save();
    painter.setTransform(local);
    painter.setFont(PinNameFont());
    painter.setPen(QColor::fromRgba(ColorTable()[ColorSlot::SymbolFill]));
    DrawEditText(painter, origin.x(), origin.y(), name, edited ? editor.Caret : kNoCaret,
                 edited ? editor.SelectionLength : 0);
    painter.restore();
}

// The room for one label of a row, in the width the row leaves for labels: all it needs when
// the other label leaves it that, else what the other leaves it, but never less than half.
double LabelRoom(double own, double other, double room) {
    if (own + other <= room || own <= room / 2) return room;
    return room - std::min(other, room / 2);
}

// Each side gets the room the other leaves on the port's row. Only the rows in sight are
// labelled: an instance may have a hundred thousand of them.
void DrawPortLabels(QPainter& painter, const QTransform& local, const Node& instance) {
    if (kPortLabelSize * local.m11() < kSmallestReadable) return;
    const QFont font = FontAt(RegularFont(), kPortLabelSize);
    const QFontMetricsF& metrics = MetricsOf(font);
    const double width = double(instance.Width);
    const QPaintDevice* device = painter.device();
    const QRectF seen =
        device ? local.inverted().mapRect(QRectF(0, 0, device->width(), device->height()))
               : QRectF();
    const double rowHeight = RunHeight(metrics);
    std::unordered_map<Int, const Port*> inputRows, outputRows;
    for (const auto& port : instance.Ports)
        (port->Direction & Direction::In ? inputRows : outputRows).emplace(port->Y, port.get());
    painter.save();
    painter.setTransform(local);
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(ColorTable()[ColorSlot::SymbolFill]));
    for (const auto& port : instance.Ports) {
        if (device && (double(port->Y) + rowHeight < seen.top() ||
                       double(port->Y) - rowHeight > seen.bottom()))
            continue;
        const bool input = port->Direction & Direction::In;
        const auto& otherSide = input ? outputRows : inputRows;
        const auto other = otherSide.find(port->Y);
        const double own = RunWidth(metrics, port->Label);
        double room = width - 1.5 * kPortLabelInset;
        if (other != otherSide.end())
            room = LabelRoom(own, RunWidth(metrics, other->second->Label),
                             width - 3 * kPortLabelInset);
        const QString text =
            own <= room ? port->Label
                        : metrics.elidedText(port->Label, Qt::ElideRight, std::max(0.0, room));
        const double textWidth = RunWidth(metrics, text);
        const double x = input ? kPortLabelInset : width - kPortLabelInset - textWidth;
        const double y = double(port->Y) - rowHeight / 2 + metrics.ascent();
        painter.drawText(QPointF(x, y), text);
    }
    painter.restore();
}

} // namespace

QFont PinNameFont() {
    return FontAt(BoldFont(), kPinNameSize);
}

QPointF PinNameOrigin(const Node& pin, const QString& name) {
    const QFont font = PinNameFont();
    const double top = (double(pin.Height) - TextBlockHeight(font, name)) / 2;
    if (IsOutputPin(pin)) return {double(pin.Width) + kPinNameGap, top};
    return {-kPinNameGap - TextBlockWidth(font, name), top};
}

QRectF PinNameBox(const Node& pin, const EditorState* editing) {
    const QString name = ShownName(pin, editing);
    const QFont font = PinNameFont();
    return {PinNameOrigin(pin, name),
            QSizeF(TextBlockWidth(font, name), TextBlockHeight(font, name))};
}

void LayoutPinName(const Node& pin, CircuitView& view) {
    if (!IsPin(pin) || !NameEdited(pin, &view)) return;
    const QPointF origin = PinNameOrigin(pin, view.EditBuffer);
    PlaceCaret(view, PinNameFont(), double(pin.X) + origin.x(), double(pin.Y) + origin.y());
}

void DrawNodeLabels(QPainter& painter, const QTransform& local, const Node& node,
                    const CircuitView& view) {
    if (IsPin(node))
        DrawPinName(painter, local, node, view);
    else if (IsInstance(node))
        DrawPortLabels(painter, local, node);
}

} // namespace flow

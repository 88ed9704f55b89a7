#include "render/ValueLabels.h"

#include "engine/PortValues.h"
#include "engine/RunCopies.h"
#include "model/SubCircuits.h"
#include "render/CircuitView.h"
#include "render/Palette.h"
#include "render/TextMetrics.h"
#include "render/ValueDisplay.h"
#include "render/WireGeometry.h"

#include <QPainter>

#include <cmath>
#include <mutex>

namespace flow {

namespace {

bool& Shown() {
    static bool shown = false;
    return shown;
}

// A little smaller than a constant's text, so that a label never reads as a node.
constexpr double kLabelTextSize = 10.0;
// Below this many pixels a label is a smudge, not a number.
constexpr double kSmallestReadable = 5.0;
constexpr double kPadding = 1.5;
constexpr double kGapFromPort = 4.0;

struct Label {
    QPointF End;      // the input the value arrived at
    QPointF Approach; // a unit vector from it back along the wire
    CarriedValue Value;
};

QPointF Unit(QPointF v) {
    const double length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : QPointF(-1, 0);
}

// Taken under the circuit's lock in one go, so a run in flight waits once per frame, and only
// for reading.
void CollectLabels(const CircuitView& view, const RunSession& run, const std::vector<int>& wires,
                   std::vector<Label>& labels) {
    labels.clear();
    std::lock_guard lock(const_cast<RunSession&>(run).FiringLock());
    const std::uint64_t latest = run.RunNumber;
    const auto& frameWires = ShownFrame(view).Wires;
    for (const int i : wires) {
        const Wire& wire = *frameWires[std::size_t(i)];
        const Port* end = CarryingEnd(wire);
        if (!end) continue;
        std::optional<CarriedValue> value;
        if (const auto* replayed = view.Stepping.Replayed) {
            const Port* ran = RunCopyOf(*end, view.OpenPath);
            if (const auto found = replayed->constFind(ran); ran && found != replayed->constEnd())
                value = *found;
        } else {
            value = LatestValueHeld(run, *end, latest, view.OpenPath);
        }
        if (!value) continue;
        const Port& other = end == wire.Destination ? *wire.Source : *wire.Destination;
        const WireGeometry g =
            GeometryBetween(PortPosition(other, &view), PortPosition(*end, &view), other, end);
        const QPointF towards = -g.EndOffset; // to the curve's last control point
        labels.push_back(
            {g.End, Unit(towards.isNull() ? g.Start - g.End : towards), std::move(*value)});
    }
}

} // namespace

bool ValueLabelsShown() {
    return Shown();
}

void ShowValueLabels(bool shown) {
    Shown() = shown;
}

void DrawValueLabels(QPainter& painter, const CircuitView& view, const std::vector<int>& wires) {
    const RunSession* run = view.Run;
    // A replay shows its values whether or not the labels are on.
    if (!(Shown() || view.Stepping.Replayed) || !view.ShowsEditing || !run || run->RunNumber == 0 ||
        run->Target() != view.Circuit)
        return;
    if (kLabelTextSize * double(view.Magnification) < kSmallestReadable) return;
    static std::vector<Label> labels; // kept, so that its buffer is reused
    CollectLabels(view, *run, wires, labels);
    if (labels.empty()) return;
    const QFont font = FontAt(RegularFont(), kLabelTextSize);
    const QFontMetricsF& metrics = MetricsOf(font);
    const QColor box = QColor::fromRgba(BlendColor(ColorTable()[ColorSlot::Background], 0, 0.2f));
    painter.setFont(font);
    for (const Label& label : labels) {
        const QString text = DisplayCarried(label.Value);
        const double width = RunWidth(metrics, text) + 2 * kPadding;
        const double height = RunHeight(metrics);
        // Beside the wire just before its end, clear of the port and above the wire.
        const QPointF centre =
            label.End + label.Approach * (kGapFromPort + width / 2) - QPointF(0, height / 2 + 1);
        const QRectF rect(centre.x() - width / 2, centre.y() - height / 2, width, height);
        painter.fillRect(rect, box);
        painter.setPen(QColor::fromRgba(PortTypeColor(label.Value.Type)));
        painter.drawText(QPointF(rect.left() + kPadding, rect.top() + metrics.ascent()), text);
    }
}

} // namespace flow

#include "editor/window/TimelinePanel.h"

#include "engine/DefectPlace.h"
#include "engine/TraceEvents.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace flow {

namespace {

constexpr int kLaneHeight = 18;
constexpr int kAxisHeight = 18;
constexpr int kNameWidth = 220;
constexpr int kBarInset = 3;
constexpr double kZoomStep = 1.25;
constexpr QRgb kBarColor = 0xFF3C8CE0;
constexpr QRgb kWaitColor = 0x503C8CE0;

QString Micro(std::int64_t nanoseconds) {
    const double micro = double(nanoseconds) / 1000.0;
    if (micro >= 1e6) return QString::number(micro / 1e6, 'g', 4) + QStringLiteral(" s");
    if (micro >= 1e3) return QString::number(micro / 1e3, 'g', 4) + QStringLiteral(" ms");
    return QString::number(micro, 'g', 4) + QStringLiteral(" µs");
}

QString ValuesText(const Node& node, const std::vector<FiringRecord::Value>& values,
                   const QString& direction) {
    QStringList parts;
    for (const FiringRecord::Value& value : values) {
        const Port* port =
            value.Port < node.PortArray.size() ? node.PortArray[value.Port] : nullptr;
        const QString label = port && !port->Label.isEmpty() ? port->Label : QString();
        parts << (label.isEmpty() ? QString() : label + QStringLiteral(": ")) +
                     TokenText(value.Carried);
    }
    return parts.isEmpty() ? QString() : direction + parts.join(QStringLiteral(", "));
}

} // namespace

TimelinePanel::TimelinePanel(NodeChooser choose, QWidget* parent)
    : QAbstractScrollArea(parent), choose_(std::move(choose)) {
    viewport()->setMouseTracking(true);
    setMinimumHeight(kAxisHeight + 2 * kLaneHeight);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(kLaneHeight);
}

void TimelinePanel::ShowFirings(std::vector<FiringRecord> firings, std::size_t dropped) {
    firings_ = std::move(firings);
    dropped_ = dropped;
    lanes_ = LanesOf(firings_);
    std::unordered_map<const Node*, std::size_t> laneIndex;
    laneNames_.clear();
    for (std::size_t i = 0; i < lanes_.size(); ++i) {
        laneIndex[lanes_[i]] = i;
        laneNames_.push_back(NodePlace(*lanes_[i]));
    }
    // A node waits from the run's start, then from the end of its previous firing (a loop's
    // body fires once an iteration).
    laneOf_.assign(firings_.size(), 0);
    since_.assign(firings_.size(), 0);
    std::vector<std::int64_t> lastEnd(lanes_.size(), 0);
    std::vector<std::size_t> byStart(firings_.size());
    for (std::size_t i = 0; i < byStart.size(); ++i)
        byStart[i] = i;
    std::stable_sort(byStart.begin(), byStart.end(), [&](std::size_t a, std::size_t b) {
        return firings_[a].Began < firings_[b].Began;
    });
    length_ = 0;
    for (std::size_t i : byStart) {
        const std::size_t lane = laneIndex[firings_[i].Fired];
        laneOf_[i] = lane;
        since_[i] = std::min(lastEnd[lane], firings_[i].Arrived);
        lastEnd[lane] = firings_[i].Ended;
        length_ = std::max(length_, firings_[i].Ended);
    }
    pixelsPerNanosecond_ = 0;
    UpdateScrollBars();
    viewport()->update();
}

double TimelinePanel::XOf(std::int64_t nanoseconds) const {
    return kNameWidth + double(nanoseconds) * pixelsPerNanosecond_ - horizontalScrollBar()->value();
}

int TimelinePanel::LaneTop(std::size_t lane) const {
    return kAxisHeight + int(lane) * kLaneHeight - verticalScrollBar()->value();
}

void TimelinePanel::UpdateScrollBars() {
    const int width = std::max(1, viewport()->width() - kNameWidth - 10);
    if (pixelsPerNanosecond_ <= 0)
        pixelsPerNanosecond_ = double(width) / double(std::max<std::int64_t>(length_, 1));
    const int timeWidth = int(std::ceil(double(length_) * pixelsPerNanosecond_));
    horizontalScrollBar()->setRange(0, std::max(0, timeWidth - width));
    horizontalScrollBar()->setPageStep(width);
    const int lanesHeight = int(lanes_.size()) * kLaneHeight;
    const int height = std::max(1, viewport()->height() - kAxisHeight);
    verticalScrollBar()->setRange(0, std::max(0, lanesHeight - height));
    verticalScrollBar()->setPageStep(height);
}

QRect TimelinePanel::BarRect(std::size_t firing) const {
    const FiringRecord& record = firings_[firing];
    const int left = int(std::floor(XOf(record.Arrived)));
    const int right = std::max(left + 2, int(std::ceil(XOf(record.Ended))));
    return {left, LaneTop(laneOf_[firing]) + kBarInset, right - left, kLaneHeight - 2 * kBarInset};
}

int TimelinePanel::FiringAt(QPoint point) const {
    if (point.x() < kNameWidth || point.y() < kAxisHeight) return -1;
    for (std::size_t i = 0; i < firings_.size(); ++i) {
        QRect bar = BarRect(i);
        bar.setLeft(std::min(bar.left(), int(XOf(since_[i]))));
        if (bar.adjusted(-1, 0, 1, 0).contains(point)) return int(i);
    }
    return -1;
}

QString TimelinePanel::FiringText(std::size_t firing) const {
    const FiringRecord& record = firings_[firing];
    QStringList lines{laneNames_[laneOf_[firing]]};
    const QString in = ValuesText(*record.Fired, record.In, QStringLiteral("in "));
    const QString out = ValuesText(*record.Fired, record.Out, QStringLiteral("out "));
    if (!in.isEmpty()) lines << in;
    if (!out.isEmpty()) lines << out;
    lines << QStringLiteral("waited %1 to %2; inputs there at %2, computed %3 to %4")
                 .arg(Micro(since_[firing]), Micro(record.Arrived), Micro(record.Began),
                      Micro(record.Ended));
    return lines.join(QLatin1Char('\n'));
}

void TimelinePanel::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, palette().base());
    painter.setPen(palette().text().color());
    if (firings_.empty()) {
        painter.drawText(area, Qt::AlignCenter,
                         QStringLiteral("Run the circuit to see its firings here."));
        return;
    }
    // Bars, clipped to the time area.
    painter.save();
    painter.setClipRect(QRect(kNameWidth, kAxisHeight, area.width(), area.height()));
    for (std::size_t i = 0; i < firings_.size(); ++i) {
        const QRect bar = BarRect(i);
        if (bar.bottom() < kAxisHeight || bar.top() > area.height()) continue;
        const int waitLeft = int(XOf(since_[i]));
        if (waitLeft < bar.left())
            painter.fillRect(QRect(waitLeft, bar.top(), bar.left() - waitLeft, bar.height()),
                             QColor::fromRgba(kWaitColor));
        painter.fillRect(bar, QColor::fromRgba(kBarColor));
    }
    painter.restore();
    // Lane names, over their column.
    painter.fillRect(QRect(0, kAxisHeight, kNameWidth, area.height()), palette().window());
    for (std::size_t lane = 0; lane < lanes_.size(); ++lane) {
        const int top = LaneTop(lane);
        if (top + kLaneHeight < kAxisHeight || top > area.height()) continue;
        painter.drawText(
            QRect(4, top, kNameWidth - 8, kLaneHeight), Qt::AlignVCenter | Qt::AlignLeft,
            painter.fontMetrics().elidedText(laneNames_[lane], Qt::ElideRight, kNameWidth - 8));
    }
    // The time axis: a tick about every 100 pixels, at a round number of microseconds.
    painter.fillRect(QRect(0, 0, area.width(), kAxisHeight), palette().window());
    const double rawStep = 100.0 / pixelsPerNanosecond_;
    const double magnitude = std::pow(10.0, std::floor(std::log10(std::max(rawStep, 1.0))));
    const double step = rawStep <= 2 * magnitude   ? 2 * magnitude
                        : rawStep <= 5 * magnitude ? 5 * magnitude
                                                   : 10 * magnitude;
    for (double t = 0; t <= double(length_) + step; t += step) {
        const int x = int(XOf(std::int64_t(t)));
        if (x < kNameWidth) continue;
        if (x > area.width()) break;
        painter.drawLine(x, kAxisHeight - 4, x, kAxisHeight);
        painter.drawText(x + 2, kAxisHeight - 5, Micro(std::int64_t(t)));
    }
    QString title = QStringLiteral("%1 firings").arg(firings_.size());
    if (dropped_ > 0) title += QStringLiteral(", %1 earlier ones dropped").arg(dropped_);
    painter.drawText(QRect(4, 0, kNameWidth - 8, kAxisHeight), Qt::AlignVCenter, title);
}

void TimelinePanel::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || firings_.empty()) return;
    // The moment under the pointer stays under it.
    const double x = event->position().x();
    const double at = (x - kNameWidth + horizontalScrollBar()->value()) / pixelsPerNanosecond_;
    pixelsPerNanosecond_ *= std::pow(kZoomStep, notches);
    UpdateScrollBars();
    horizontalScrollBar()->setValue(int(at * pixelsPerNanosecond_ - (x - kNameWidth)));
    viewport()->update();
    event->accept();
}

void TimelinePanel::mouseMoveEvent(QMouseEvent* event) {
    const int firing = FiringAt(event->position().toPoint());
    if (firing < 0)
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), FiringText(std::size_t(firing)),
                           viewport());
}

void TimelinePanel::mousePressEvent(QMouseEvent* event) {
    const int firing = FiringAt(event->position().toPoint());
    if (firing >= 0 && event->button() == Qt::LeftButton && choose_)
        choose_(firings_[std::size_t(firing)].Fired);
}

void TimelinePanel::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

} // namespace flow

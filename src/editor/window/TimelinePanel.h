#pragma once
// View → Run Timeline: the recorded firings of the latest run under the canvas, one lane per
// node in the order of first firing, each firing a bar from the moment its last input arrived
// to the end of its computation, after a fainter one for the time it waited. The wheel zooms
// the time axis about the pointer; the scroll bars move along it and through the lanes.
// Hovering a bar tells its node, values and times; a click chooses its node.

#include "engine/FiringRecord.h"

#include <QAbstractScrollArea>

#include <functional>
#include <vector>

namespace flow {

class TimelinePanel : public QAbstractScrollArea {
    Q_OBJECT
  public:
    using NodeChooser = std::function<void(const Node* node)>;
    explicit TimelinePanel(NodeChooser choose, QWidget* parent = nullptr);

    // Shows these firings (of one run, in the order they ended); dropped ones are noted.
    void ShowFirings(std::vector<FiringRecord> firings, std::size_t dropped);
    std::size_t LaneCount() const { return lanes_.size(); }
    const std::vector<FiringRecord>& Firings() const { return firings_; }
    // Where the firing's bar is drawn in the viewport, as it is scrolled and zoomed now.
    QRect BarRect(std::size_t firing) const;
    // The firing whose bar (or wait before it) lies under a viewport point; -1 for none.
    int FiringAt(QPoint point) const;
    // What hovering the firing's bar tells.
    QString FiringText(std::size_t firing) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateScrollBars();
    double XOf(std::int64_t nanoseconds) const;
    int LaneTop(std::size_t lane) const;

    NodeChooser choose_;
    std::vector<FiringRecord> firings_;
    std::vector<std::size_t> laneOf_; // by firing
    std::vector<std::int64_t> since_; // by firing: when it began to wait
    std::vector<const Node*> lanes_;  // in the order of first firing
    std::vector<QString> laneNames_;
    std::size_t dropped_ = 0;
    std::int64_t length_ = 0;        // the last firing's end
    double pixelsPerNanosecond_ = 0; // 0: fit the run to the width at the next layout
};

} // namespace flow

#pragma once
// A uniform grid of buckets over a list of boxes, answering which boxes meet an area without
// looking at the others. Boxes are in circuit units (doubles, so that positions near the
// limits of the model's integers cannot overflow).

#include <QRectF>

#include <cstdint>
#include <vector>

namespace flow {

class BoxGrid {
  public:
    // Makes the buckets for these boxes (the list position is what Collect reports). A box whose
    // right edge lies left of its left edge is never found.
    void Build(std::vector<QRectF> boxes);
    // Appends to `found` the positions of the boxes that meet the area, in increasing order.
    void Collect(const QRectF& area, std::vector<int>& found) const;
    const std::vector<QRectF>& Boxes() const { return boxes_; }

  private:
    struct Span {
        int Column0, Row0, Column1, Row1;
    };
    // The cells an area covers, clamped to the grid; false when it misses the grid entirely.
    bool Cells(const QRectF& area, Span& span) const;
    void ScanAll(const QRectF& area, std::vector<int>& found) const;

    std::vector<QRectF> boxes_;
    QRectF extent_; // holds every box
    double cellWidth_ = 1, cellHeight_ = 1;
    int columns_ = 0, rows_ = 0;
    std::vector<std::uint32_t> cellStart_; // per cell, into items_; one more at the end
    std::vector<std::uint32_t> items_;
    std::vector<std::uint32_t> large_;        // boxes spanning too many cells to be put in each
    mutable std::vector<std::uint32_t> seen_; // per box: the query that last reported it
    mutable std::uint32_t query_ = 0;
};

} // namespace flow

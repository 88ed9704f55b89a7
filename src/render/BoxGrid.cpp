#include "render/BoxGrid.h"

#include <algorithm>
#include <cmath>

namespace flow {

namespace {

// A box spanning more cells than this is listed once, among the large ones, rather than in
// every cell it covers (long wires across the whole circuit).
constexpr long long kMostCellsPerBox = 16;

bool Meets(const QRectF& a, const QRectF& b) {
    // Closed boxes: touching counts, so that nothing on the edge of an area is missed.
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}

// Boxes whose right lies left of their left are never found.
bool Findable(const QRectF& box) {
    return box.left() <= box.right() && box.top() <= box.bottom();
}

int Clamp(double cell, int count) {
    if (!(cell >= 0)) return 0; // also NaN
    if (cell >= count - 1) return count - 1;
    return static_cast<int>(cell);
}

} // namespace

void BoxGrid::Build(std::vector<QRectF> boxes) {
    boxes_ = std::move(boxes);
    seen_.assign(boxes_.size(), 0);
    query_ = 0;
    cellStart_.clear();
    items_.clear();
    large_.clear();
    columns_ = rows_ = 0;
    if (boxes_.empty()) return;

    double left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const QRectF& box : boxes_) {
        if (!Findable(box)) continue;
        if (first) {
            left = box.left();
            top = box.top();
            right = box.right();
            bottom = box.bottom();
            first = false;
        }
        left = std::min(left, box.left());
        top = std::min(top, box.top());
        right = std::max(right, box.right());
        bottom = std::max(bottom, box.bottom());
    }
    extent_ = QRectF(QPointF(left, top), QPointF(right, bottom));
    // About one cell per box, shaped like the extent.
    const double width = std::max(right - left, 1.0), height = std::max(bottom - top, 1.0);
    const double cells = std::max<double>(1, double(boxes_.size()));
    const double side = std::sqrt(width * height / cells);
    columns_ = int(std::clamp(std::ceil(width / side), 1.0, 4096.0));
    rows_ = int(std::clamp(std::ceil(height / side), 1.0, 4096.0));
    cellWidth_ = width / columns_;
    cellHeight_ = height / rows_;

    // Counted first, then filled, so that all buckets share one array.
    std::vector<Span> spans(boxes_.size());
    cellStart_.assign(std::size_t(columns_) * rows_ + 1, 0);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        Span& span = spans[i];
        Cells(boxes_[i], span);
        if (!Findable(boxes_[i])) {
            span.Column0 = 1; // in no cell
            span.Column1 = 0;
            continue;
        }
        const long long covered =
            (long long)(span.Column1 - span.Column0 + 1) * (span.Row1 - span.Row0 + 1);
        if (covered > kMostCellsPerBox) {
            large_.push_back(std::uint32_t(i));
            span.Column0 = 1; // marks it as listed among the large ones
            span.Column1 = 0;
            continue;
        }
        for (int row = span.Row0; row <= span.Row1; ++row)
            for (int column = span.Column0; column <= span.Column1; ++column)
                ++cellStart_[std::size_t(row) * columns_ + column + 1];
    }
    for (std::size_t cell = 1; cell < cellStart_.size(); ++cell)
        cellStart_[cell] += cellStart_[cell - 1];
    items_.resize(cellStart_.back());
    std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const Span& span = spans[i];
        for (int row = span.Row0; row <= span.Row1; ++row)
            for (int column = span.Column0; column <= span.Column1; ++column)
                items_[next[std::size_t(row) * columns_ + column]++] = std::uint32_t(i);
    }
}

bool BoxGrid::Cells(const QRectF& area, Span& span) const {
    span.Column0 = Clamp(std::floor((area.left() - extent_.left()) / cellWidth_), columns_);
    span.Column1 = Clamp(std::floor((area.right() - extent_.left()) / cellWidth_), columns_);
    span.Row0 = Clamp(std::floor((area.top() - extent_.top()) / cellHeight_), rows_);
    span.Row1 = Clamp(std::floor((area.bottom() - extent_.top()) / cellHeight_), rows_);
    return Meets(area, extent_);
}

void BoxGrid::ScanAll(const QRectF& area, std::vector<int>& found) const {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (Findable(boxes_[i]) && Meets(boxes_[i], area)) found.push_back(int(i));
}

void BoxGrid::Collect(const QRectF& area, std::vector<int>& found) const {
    if (columns_ == 0) return;
    Span span;
    if (!Cells(area, span)) return;
    const std::size_t first = found.size();
    const long long covered =
        (long long)(span.Column1 - span.Column0 + 1) * (span.Row1 - span.Row0 + 1);
    // An area over most of the grid is faster read straight through, already in order.
    if (covered * 4 > (long long)(columns_)*rows_) {
        ScanAll(area, found);
        return;
    }
    if (++query_ == 0) { // the counter wrapped: forget every earlier query
        std::fill(seen_.begin(), seen_.end(), 0);
        query_ = 1;
    }
    for (int row = span.Row0; row <= span.Row1; ++row) {
        const std::size_t base = std::size_t(row) * columns_;
        for (std::uint32_t k = cellStart_[base + span.Column0];
             k < cellStart_[base + span.Column1 + 1]; ++k) {
            const std::uint32_t i = items_[k];
            if (seen_[i] == query_) continue;
            seen_[i] = query_;
            if (Meets(boxes_[i], area)) found.push_back(int(i));
        }
    }
    for (const std::uint32_t i : large_)
        if (Meets(boxes_[i], area)) found.push_back(int(i));
    std::sort(found.begin() + std::ptrdiff_t(first), found.end());
}

} // namespace flow

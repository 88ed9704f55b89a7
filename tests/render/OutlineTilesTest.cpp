// An outline filled a tile at a time must give exactly the pixels of one fill of the whole, and
// no tile may hand the rasteriser more cells than its pool holds.

#include "render/OutlineTiles.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace flow {
namespace {

const QRect kView(0, 0, 1280, 800);

QImage Canvas() {
    QImage image(kView.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(0xFFF0F0F0);
    return image;
}

// A band two and a half pixels wide along a gentle slope, from far left of the view to far
// right: one side rightwards, the other back, with a point every `step` pixels.
Polyline LevelBand(double y, double step) {
    Polyline band;
    for (double x = -3000; x <= 4000; x += step)
        band.emplace_back(x, y + x * 0.004);
    for (double x = 4000; x >= -3000; x -= step)
        band.emplace_back(x, y + x * 0.004 + 2.5);
    return band;
}

// Zigzags and stars reaching beyond the view on some side, overlapping and crossing themselves,
// at sub-pixel positions, with few enough cells in view for one fill of the painter to hold
// them: a fill that needs a larger pool is redrawn by Qt after it ran out, which can lose
// pixels, and would be no measure.
Polyline RandomPolygon(std::mt19937& random) {
    std::uniform_real_distribution<double> unit(-1, 1);
    for (;;) {
        Polyline polygon;
        const int count = 3 + int(random() % 12);
        const double reach = std::exp2(5 + (unit(random) + 1) * 4);
        const QPointF centre(640 + unit(random) * 700, 400 + unit(random) * 450);
        for (int i = 0; i < count; ++i) {
            const double flatten = i % 3 ? 0.05 : 1;
            polygon.emplace_back(centre.x() + unit(random) * reach,
                                 centre.y() + unit(random) * reach * flatten);
        }
        if (TileFills({polygon}, kView).size() == 1) return polygon;
    }
}

QPainterPath Whole(const std::vector<Polyline>& polygons) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Polyline& polygon : polygons) {
        path.moveTo(polygon.front());
        for (std::size_t i = 1; i < polygon.size(); ++i)
            path.lineTo(polygon[i]);
    }
    return path;
}

// Tiles holding a handful of cells each give the pixels of one fill of the whole.
TEST(OutlineTilesTest, GiveTheWholeFillsPixels) {
    std::mt19937 random(11);
    const QColor colors[] = {QColor(0, 160, 40), QColor(200, 0, 80, 140)};
    int tiled = 0;
    for (int round = 0; round < 200; ++round) {
        const std::vector<Polyline> polygons{RandomPolygon(random)};
        const int cells = 8 + round % 24;
        if (TileFills(polygons, kView, cells).size() < 2) continue;
        ++tiled;
        const QBrush brush(colors[round % 2]);

        QImage expected = Canvas();
        QImage actual = Canvas();
        QPainter(&expected).fillPath(Whole(polygons), brush);
        QPainter painter(&actual);
        FillInTiles(painter, polygons, kView, brush, cells);
        painter.end();
        ASSERT_TRUE(actual == expected) << "round " << round;
    }
    EXPECT_GT(tiled, 80);
}

TEST(OutlineTilesTest, EachTileHoldsAPoolOfCells) {
    const Polyline band = LevelBand(300.3, 5);
    const std::vector<TileFill> fills = TileFills({band}, kView);
    // Two sides crossing the view leave about 2,600 cells in it.
    ASSERT_GE(fills.size(), 2 * 1280u / kCellsPerFill);
    int nextColumn = kView.left();
    for (const TileFill& fill : fills) {
        // Side by side from one side of the view to the other, each as wide as its cells allow
        // and only a few rows high, like the band.
        EXPECT_EQ(fill.Tile.left(), nextColumn);
        EXPECT_LE(fill.Tile.width() * 2, kCellsPerFill);
        EXPECT_LE(fill.Tile.height(), 9);
        nextColumn = fill.Tile.right() + 1;
        // What lies beside the tile is a run along each cut, whatever its length: the points
        // left are those within an edge of the tile.
        const QRectF reach = fill.Path.boundingRect();
        EXPECT_GE(reach.left(), fill.Tile.left() - 8);
        EXPECT_LE(reach.right(), fill.Tile.right() + 1 + 8);
        EXPECT_LE(fill.Path.elementCount(), 2 * ((fill.Tile.width() + 16) / 5 + 2) + 8);
    }
    EXPECT_EQ(nextColumn, kView.right() + 1);

    // An outline whose cells fit one fill is one fill of the whole view.
    const Polyline small{{100, 100}, {150, 102}, {150, 104}, {100, 102}};
    const std::vector<TileFill> one = TileFills({small}, kView);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one.front().Tile, kView);
    EXPECT_TRUE(TileFills({Polyline{{-900, 5}, {-800, 5}, {-850, 9}}}, kView).empty());
}

} // namespace
} // namespace flow

// Long wires are stroked by way of an outline trimmed to the canvas; the pixels must be exactly
// those of the painter's own stroke, whatever the wire, the pen and the zoom.

#include "render/TrimmedStroke.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace flow {
namespace {

QImage Canvas() {
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    image.fill(0xFFF0F0F0);
    return image;
}

TEST(TrimmedStrokeTest, GivesThePaintersOwnPixels) {
    ASSERT_TRUE(StrokeTrimmingAvailable()); // else nothing here is trimmed
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    int trimmed = 0;
    for (int round = 0; round < 120; ++round) {
        const double scale = std::exp2(unit(random) * 3);
        const double length = std::exp2(6 + (unit(random) + 1) * 7);
        // Mostly the long, nearly level wires of wide circuits; a few steep ones and some that
        // run backwards into an S.
        const double rise = unit(random) * length * (round % 3 == 0 ? 1 : 0.05);
        const QPointF start(unit(random) * 800 / scale, unit(random) * 500 / scale);
        const QPointF end = start + QPointF(round % 5 ? length : -length, rise);
        const double reach = std::nearbyint(4 * std::sqrt(std::hypot(length, rise)));
        QPainterPath wire(start);
        wire.cubicTo(start + QPointF(reach, 0), end - QPointF(reach, 0), end);
        const QPen pen(QColor(0, 200, 0, round % 7 ? 255 : 128), round % 4 ? 2 : 6, Qt::SolidLine,
                       round % 2 ? Qt::RoundCap : Qt::FlatCap);

        QImage expected = Canvas();
        QImage actual = Canvas();
        QTransform camera;
        camera.translate(640 + unit(random) * 0.5, 400 + unit(random) * 0.5);
        camera.scale(scale, scale);
        for (QImage* image : {&expected, &actual}) {
            QPainter painter(image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setTransform(camera);
            if (image == &expected)
                painter.strokePath(wire, pen);
            else
                StrokeTrimmedToView(painter, wire, pen);
        }
        ASSERT_TRUE(actual == expected) << "round " << round << ", scale " << scale << ", length "
                                        << length << ", rise " << rise;
        const QRectF onDevice = camera.mapRect(wire.controlPointRect());
        if (!QRectF(-300, -300, 1880, 1400).contains(onDevice)) ++trimmed;
    }
    // Most rounds reach far beyond the canvas, where the trimming is used.
    EXPECT_GT(trimmed, 60);
}

// Strokes that the trimming does not reproduce are left to the painter: dashes, hairlines, and
// devices other than a raster image.
TEST(TrimmedStrokeTest, LeavesOtherStrokesToThePainter) {
    QPainterPath wire(QPointF(-5000, 100));
    wire.cubicTo(QPointF(-4000, 100), QPointF(5000, 140), QPointF(6000, 140));
    QPen dashed(QColor(0, 0, 200), 2, Qt::DashLine, Qt::RoundCap);
    QPen hairline(QColor(0, 0, 200), 0.5, Qt::SolidLine, Qt::RoundCap);
    for (const QPen& pen : {dashed, hairline}) {
        QImage expected = Canvas();
        QImage actual = Canvas();
        QPainter(&expected).strokePath(wire, pen);
        QPainter painter(&actual);
        StrokeTrimmedToView(painter, wire, pen);
        painter.end();
        EXPECT_TRUE(actual == expected) << pen.style();
    }
}

} // namespace
} // namespace flow

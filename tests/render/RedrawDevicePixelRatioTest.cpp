#include "support/SceneFixture.h"

#include "render/Palette.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

namespace flow {
namespace {

using namespace flow::test;

constexpr QRgb kBackground = 0xFF202020;

class RedrawDevicePixelRatioTest : public SceneFixture {
  protected:
    QImage RenderAt(double ratio, QSize logical = {400, 300}) {
        QImage image(qRound(logical.width() * ratio), qRound(logical.height() * ratio),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        RedrawViewInto(view, image);
        return image;
    }

    // The runs of one colour other than the background along a row: where each starts and
    // how many pixels it spans.
    static std::vector<std::pair<int, int>> LinesAlong(const QImage& image, int y) {
        std::vector<std::pair<int, int>> lines;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb color = image.pixel(x, y);
            if (color == kBackground) continue;
            if (!lines.empty() && lines.back().first + lines.back().second == x &&
                image.pixel(x - 1, y) == color)
                ++lines.back().second;
            else
                lines.push_back({x, 1});
        }
        return lines;
    }
};

// At ratio 2 the canvas keeps its logical size and view, in twice the pixels: each grid pixel of
// ratio 1 becomes two whole device pixels of the same colour, with background between lines.
TEST_F(RedrawDevicePixelRatioTest, RatioTwoDoublesEveryGridPixel) {
    view.CameraX = 13;
    view.CameraY = -7;
    for (float zoom : {0.0f, 1.0f, -0.75f}) {
        Zoom(zoom);
        const QImage single = RenderAt(1);
        const QImage doubled = RenderAt(2);
        ASSERT_EQ(doubled.size(), QSize(800, 600));
        EXPECT_EQ(view.CanvasWidth, 400);
        EXPECT_EQ(view.CanvasHeight, 300);
        // Row 3 at ratio 1 lies between horizontal lines at these camera positions.
        ASSERT_EQ(single.pixel(100, 3), kBackground);
        for (int x = 0; x < 800; ++x)
            ASSERT_EQ(doubled.pixel(x, 7), single.pixel(x / 2, 3)) << "column " << x;
        for (const auto& [start, width] : LinesAlong(doubled, 7)) {
            EXPECT_EQ(width, 2) << "line at " << start;
            EXPECT_EQ(start % 2, 0);
        }
    }
}

// At 1.5 each line is two device pixels wide, never blended over a third, and the 64-pixel
// levels stay evenly spaced at 96 device pixels.
TEST_F(RedrawDevicePixelRatioTest, FractionalRatiosKeepLinesWholeAndEvenlySpaced) {
    view.CameraX = 5;
    const QImage image = RenderAt(1.5);
    ASSERT_EQ(image.size(), QSize(600, 450));
    const auto lines = LinesAlong(image, 10);
    ASSERT_GE(lines.size(), 5u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].second, 2) << "line at " << lines[i].first;
        if (i > 0) {
            EXPECT_EQ(lines[i].first - lines[i - 1].first, 96);
        }
    }
    for (const auto& [start, width] : LinesAlong(RenderAt(1.25), 10))
        EXPECT_EQ(width, 1) << "line at " << start;
}

// Text, outlines and curves are drawn at the device resolution, not stretched: the ratio 2
// picture differs from the ratio 1 picture scaled up where the scene is.
TEST_F(RedrawDevicePixelRatioTest, TheSceneIsDrawnNotStretched) {
    Node* print = Add("Print", -60, -20);
    Node* constant = Add("Constant", -100, -10, Catalogue().ConstantString);
    constant->PortArray[1]->Text = "sharp";
    ConnectPorts(constant->PortArray[1], print->PortArray[1]);
    AddComment(&circuit.MainFrame, "A comment\nof two lines", 0, 40);
    const QImage single = RenderAt(1);
    const QImage doubled = RenderAt(2);
    const QImage stretched = single.scaled(800, 600, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRect scene(2 * 60, 2 * 120, 2 * 260, 2 * 120);
    int different = 0, drawn = 0;
    for (int y = scene.top(); y <= scene.bottom(); ++y) {
        for (int x = scene.left(); x <= scene.right(); ++x) {
            different += doubled.pixel(x, y) != stretched.pixel(x, y);
            drawn += doubled.pixel(x, y) != kBackground;
        }
    }
    EXPECT_GT(different, 2000);
    // The same view: about four times the drawn pixels of ratio 1 in the same place.
    int drawnSingle = 0;
    for (int y = scene.top() / 2; y <= scene.bottom() / 2; ++y)
        for (int x = scene.left() / 2; x <= scene.right() / 2; ++x)
            drawnSingle += single.pixel(x, y) != kBackground;
    EXPECT_NEAR(drawn, 4 * drawnSingle, drawnSingle);
}

} // namespace
} // namespace flow

namespace flow {
namespace {

// An SVG picture smaller than the canvas (--scale 0.5) still holds the grid of the whole canvas:
// the grid spans the canvas, whatever size the picture is shown at.
TEST_F(RedrawDevicePixelRatioTest, SmallPicturesKeepTheWholeGrid) {
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(QSize(200, 150));
    generator.setViewBox(QRect(0, 0, 400, 300));
    FitCanvas(view, QSize(400, 300), 1.0);
    RedrawCircuitOnto(view, generator, QSize(400, 300));
    QSvgRenderer renderer(svg.data());
    QImage shown(400, 300, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    QPainter painter(&shown);
    renderer.render(&painter, QRectF(0, 0, 400, 300));
    painter.end();
    // The medium lines every 64 pixels from 200 mod 64 = 8, down to the bottom and right edges.
    EXPECT_EQ(shown.pixel(264, 290), 0xFF303030u);
    EXPECT_EQ(shown.pixel(390, 278), 0xFF303030u);
}

} // namespace
} // namespace flow

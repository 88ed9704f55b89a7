#include "support/SceneFixture.h"

#include "render/Camera.h"

namespace flow {
namespace {

using namespace flow::test;

constexpr QRgb kBackground = 0xFF202020;
constexpr QRgb kMedium = 0xFF303030;
constexpr QRgb kMajor = 0xFF404040;

using RedrawTest = SceneFixture;

TEST_F(RedrawTest, ZoomZeroShowsMediumAndMajorGridOnly) {
    const QImage image = Render();
    EXPECT_EQ(view.CanvasWidth, 800);
    EXPECT_EQ(view.CanvasHeight, 600);
    // The origin sits at (400, 300): vertical lines every 64 px from 400 mod 64 = 16, major
    // ones every 256 px from 400 mod 256 = 144. Row 20 lies between horizontal lines.
    for (int x = 0; x < 800; ++x) {
        const QRgb expected = (x - 144) % 256 == 0 ? kMajor
                              : (x - 16) % 64 == 0 ? kMedium
                                                   : kBackground;
        ASSERT_EQ(image.pixel(x, 20), expected) << "column " << x;
    }
    // Horizontal lines from 300 mod 64 = 44 (major from 300 mod 256 = 44), at column 30.
    for (int y = 1; y < 600; ++y) {
        const QRgb expected = (y - 44) % 256 == 0  ? kMajor
                              : (y - 44) % 64 == 0 ? kMedium
                                                   : kBackground;
        ASSERT_EQ(image.pixel(30, y), expected) << "row " << y;
    }
}

TEST_F(RedrawTest, EvenZoomLevelsLookLikeZoomZero) {
    for (float level : {2.0f, -2.0f, 4.0f}) {
        Zoom(level);
        const QImage image = Render();
        EXPECT_EQ(image.pixel(80, 20), kMedium) << level;
        EXPECT_EQ(image.pixel(144, 20), kMajor) << level;
        EXPECT_EQ(image.pixel(112, 20), kBackground) << level;
    }
}

TEST_F(RedrawTest, ZoomLevelOneAddsTheFineGrid) {
    Zoom(1);
    const QImage image = Render();
    // Steps 32, 128 and 512 from 400: fine at 16 + 32k, medium at 16 + 128k, major at 400.
    EXPECT_EQ(image.pixel(48, 20), 0xFF282828u);
    EXPECT_EQ(image.pixel(80, 20), 0xFF282828u);
    EXPECT_EQ(image.pixel(144, 20), 0xFF383838u);
    EXPECT_EQ(image.pixel(400, 20), kMajor);
    EXPECT_EQ(image.pixel(64, 20), kBackground);
    // Horizontal fine lines from 300 mod 32 = 12, medium ones from 300 mod 128 = 44.
    EXPECT_EQ(image.pixel(30, 76), 0xFF282828u);
    EXPECT_EQ(image.pixel(30, 44), 0xFF383838u);
    EXPECT_EQ(image.pixel(30, 30), kBackground);
}

TEST_F(RedrawTest, NegativeZoomKeepsGridStepsInRange) {
    Zoom(-0.5f); // g = 0.5: fine step 32 * sqrt 2
    const QImage image = Render();
    const double step = 32 * std::sqrt(2.0);
    const double first = FlooredMod(400, step);
    const int x = static_cast<int>(std::round(first + step));
    EXPECT_NE(image.pixel(x, 20), kBackground);
    EXPECT_EQ(image.pixel(x + 8, 20), kBackground);
}

TEST_F(RedrawTest, GridFollowsAFarCamera) {
    view.CameraX = 1000;
    view.CameraY = -700;
    const QImage image = Render();
    // ox = 400 - 1000 = -600: lines from -600 mod 64 = 40, major from -600 mod 256 = 168.
    EXPECT_EQ(image.pixel(40, 20), kMedium);
    EXPECT_EQ(image.pixel(168, 20), kMajor);
    EXPECT_EQ(image.pixel(41, 20), kBackground);
    // oy = 300 + 700 = 1000: rows from 1000 mod 64 = 40, major from 1000 mod 256 = 232.
    EXPECT_EQ(image.pixel(30, 40), kMedium);
    EXPECT_EQ(image.pixel(30, 232), kMajor);
}

TEST_F(RedrawTest, OriginMarkerLiesRightOfAndBelowTheOrigin) {
    view.CameraX = 20; // origin at (380, 270), between grid lines
    view.CameraY = 30;
    const QImage image = Render();
    EXPECT_EQ(image.pixel(383, 273), kMedium);
    EXPECT_EQ(image.pixel(386, 271), kMedium);
    EXPECT_EQ(image.pixel(381, 276), kMedium);
    EXPECT_EQ(image.pixel(376, 273), kBackground); // left
    EXPECT_EQ(image.pixel(383, 266), kBackground); // above
    EXPECT_EQ(image.pixel(376, 266), kBackground);
    EXPECT_EQ(image.pixel(387, 277), kBackground); // beyond the radius of 8
}

bool Reddish(QRgb color) {
    return qRed(color) > 150 && qGreen(color) < 40 && qBlue(color) < 40;
}

int CountReddish(const QImage& image, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += Reddish(image.pixel(x, y));
    return count;
}

TEST_F(RedrawTest, DefectShowsTheCrossedDiscAndTheMessage) {
    run.SetState(RunState::Defect);
    run.Fault().Kind = ErrorKind::MissingInput;
    run.Fault().Message = "Missing input port connection";
    QImage image = Render();
    EXPECT_TRUE(Reddish(image.pixel(30, 13))) << std::hex << image.pixel(30, 13);
    EXPECT_TRUE(Reddish(image.pixel(47, 30)));
    EXPECT_FALSE(Reddish(image.pixel(30, 30))); // the cross is cut out of the disc
    EXPECT_FALSE(Reddish(image.pixel(30, 55))); // below the disc
    EXPECT_TRUE(Reddish(image.pixel(2, 300)));  // the frame along the edge
    EXPECT_TRUE(Reddish(image.pixel(797, 300)));
    EXPECT_FALSE(Reddish(image.pixel(8, 300)));
    EXPECT_GT(CountReddish(image, QRect(60, 15, 300, 30)), 100);
    // The shade band darkens the top: the medium grid line at column 80 is dimmed there.
    EXPECT_LT(qRed(image.pixel(80, 20)), 0x20);
    EXPECT_EQ(image.pixel(80, 100), kMedium);

    run.Fault().Kind = ErrorKind::None;
    image = Render();
    EXPECT_TRUE(Reddish(image.pixel(30, 13)));
    EXPECT_EQ(CountReddish(image, QRect(60, 15, 300, 30)), 0);
}

TEST_F(RedrawTest, RunningStatesShowTheirFrames) {
    run.SetState(RunState::Initializing);
    QImage image = Render();
    QRgb edge = image.pixel(2, 300);
    EXPECT_TRUE(qRed(edge) < 60 && qGreen(edge) > 150 && qBlue(edge) > 150) << std::hex << edge;
    run.SetState(RunState::Executing);
    image = Render();
    edge = image.pixel(410, 597);
    EXPECT_TRUE(qRed(edge) < 60 && qGreen(edge) > 150 && qBlue(edge) < 60) << std::hex << edge;
    EXPECT_EQ(image.pixel(30, 30), edge); // the play sign covers its centre
    run.SetState(RunState::Ready);
    image = Render();
    EXPECT_EQ(image.pixel(2, 310), kBackground);
}

TEST_F(RedrawTest, RubberBandOnlyOnceTheMouseHasMoved) {
    EditorState& editor = view;
    editor.MouseX = -100; // pixel 300
    editor.MouseY = -50;  // pixel 250
    editor.Press = press::Banding{editor.MouseX, editor.MouseY};
    QImage image = Render();
    EXPECT_EQ(image.pixel(300, 250), kBackground);
    // Dragged up and to the left: the box extends that way from the press.
    editor.MouseX = -180; // pixel 220
    editor.MouseY = -90;  // pixel 210
    image = Render();
    // Corners at pixels (300, 250) and (221, 211); the edges are dashed.
    int white = 0;
    for (int y = 212; y < 250; ++y)
        white += image.pixel(300, y) == 0xFFFFFFFFu;
    EXPECT_GT(white, 10);
    EXPECT_LT(white, 30);
    int top = 0;
    for (int x = 222; x < 300; ++x)
        top += image.pixel(x, 211) == 0xFFFFFFFFu;
    EXPECT_GT(top, 20);
    EXPECT_LT(top, 60);
    EXPECT_EQ(image.pixel(260, 230), kBackground);
}

TEST_F(RedrawTest, ClearsTheHoverTextOnlyWhenNothingIsHovered) {
    QLabel* field = &HoverField();
    field->setText("Port (In): x");
    view.Set(InteractionFlag::HoverFound);
    Render();
    EXPECT_EQ(field->text(), "Port (In): x");
    view.Set(InteractionFlag::HoverFound, false);
    Render();
    EXPECT_EQ(field->text(), "");
    // Even when there is nothing to draw into.
    field->setText("Wire");
    QImage empty;
    RedrawViewInto(view, empty);
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(view.CanvasWidth, 800); // the last successful size stays
}

} // namespace
} // namespace flow

// Stored window geometry from a file, fitted to the screens there are.

#include "editor/window/WindowPlacement.h"
#include "EditorFixture.h"

#include <QScreen>

#include <climits>
#include <random>

namespace flow::test {
namespace {

using WindowPlacementTest = EditorFixture;

TEST_F(WindowPlacementTest, FittingGeometryIsKeptAndAnyOtherEndsWhollyOnTheScreen) {
    const QRect screen(0, 0, 1920, 1040), desktop(0, 0, 3840, 1040);
    const QSize minimum(200, 150);
    EXPECT_EQ(FitStoredGeometry(312, 140, 800, 600, screen, desktop, minimum),
              QRect(312, 140, 800, 600));
    // Starting on the desktop is enough: the title bar can be reached.
    EXPECT_EQ(FitStoredGeometry(1500, 900, 800, 600, screen, desktop, minimum),
              QRect(1500, 900, 800, 600));
    EXPECT_EQ(FitStoredGeometry(-40, 10, 800, 600, screen, desktop, minimum),
              QRect(0, 10, 800, 600));
    EXPECT_EQ(
        FitStoredGeometry(INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX, screen, desktop, minimum),
        screen);
    EXPECT_EQ(FitStoredGeometry(INT_MIN, 5, 3000, -7, screen, desktop, minimum),
              QRect(0, 5, 1920, 150));

    // Whatever a file holds: within the screen, or kept as it was.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> near(-3000, 5000);
    for (int i = 0; i < 20000; ++i) {
        const bool wild = i % 2;
        const int x = wild ? any(random) : near(random), y = wild ? any(random) : near(random);
        const int w = wild ? any(random) : near(random), h = wild ? any(random) : near(random);
        const QRect fitted = FitStoredGeometry(x, y, w, h, screen, desktop, minimum);
        // Compared by parts: a QRect of the raw values could itself overflow.
        if (fitted.x() == x && fitted.y() == y && fitted.width() == w && fitted.height() == h)
            continue;
        ASSERT_TRUE(screen.contains(fitted)) << x << " " << y << " " << w << " " << h;
        ASSERT_GE(fitted.width(), minimum.width());
    }
}

TEST_F(WindowPlacementTest, HugeStoredWindowOpensAtScreenSizeAndPaints) {
    Circuit& circuit = NewCircuit();
    circuit.Saved.WindowX = circuit.Saved.WindowY = 2147483000;
    circuit.Saved.WindowWidth = circuit.Saved.WindowHeight = 2147483647;
    OpenCircuitWindow(circuit);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowOf(circuit)));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(WindowOf(circuit)->width(), available.width());
    EXPECT_LE(WindowOf(circuit)->height(), available.height());
    EXPECT_TRUE(available.contains(WindowOf(circuit)->geometry().topLeft()));
    // The canvas image was made and drawn: the background shows at its centre.
    const QImage image = CanvasOf(circuit).grab().toImage();
    EXPECT_EQ(image.pixel(image.width() / 2 + 20, image.height() / 2 + 20), 0xFF202020u);
}

} // namespace
} // namespace flow::test

#include "EditorFixture.h"

namespace flow::test {
namespace {

using CircuitCanvasTest = EditorFixture;

// The canvas paints the screen's pixels (twice the logical size when the screen is scaled to
// 200 %), while the circuit keeps the logical size.
TEST_F(CircuitCanvasTest, TheCanvasImageHasTheScreensPixels) {
    Circuit& circuit = OpenWindow();
    CircuitCanvas& canvas = CanvasOf(circuit);
    const QImage& image = canvas.Surface();
    const qreal ratio = canvas.devicePixelRatioF();
    EXPECT_EQ(image.devicePixelRatio(), ratio);
    EXPECT_EQ(image.size(), canvas.size() * ratio);
    EXPECT_EQ(ViewOf(circuit)->CanvasWidth, canvas.width());
    EXPECT_EQ(ViewOf(circuit)->CanvasHeight, canvas.height());

    // Moved to another screen, the canvas is drawn again at once.
    ViewOf(circuit)->CanvasWidth = 0;
    QEvent moved(QEvent::ScreenChangeInternal);
    QCoreApplication::sendEvent(&canvas, &moved);
    EXPECT_EQ(ViewOf(circuit)->CanvasWidth, canvas.width());
}

} // namespace
} // namespace flow::test

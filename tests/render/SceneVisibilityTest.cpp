#include "support/SceneFixture.h"

#include "render/SceneVisibility.h"

namespace flow {
namespace {

using namespace flow::test;

using SceneVisibilityTest = SceneFixture;

// Objects off the canvas are not drawn; that must not change a single pixel, also for objects
// of which only a shadow, an outline or a highlight reaches into the canvas. The canvas is
// 400 x 300: circuit x from -200 to 200 and y from -150 to 150 at magnification 1. Objects sit
// at every small distance beyond each edge.
TEST_F(SceneVisibilityTest, SkippingObjectsOffTheCanvasChangesNoPixel) {
    for (Int d = 0; d < 12; ++d) {
        // Print bodies above the top edge, their shadows reaching down into it.
        Add("Print", -190 + 30 * d, -190 - d)->Flags |= ObjectFlag::Selected;
        // Not bodies below the bottom edge (their shape starts 2 units above Y).
        Add("Not", -190 + 30 * d, 152 + d);
        // Comments beyond the left edge.
        Comment* comment = AddComment(&circuit.MainFrame, "left", -241 - d, -120 + 20 * d);
        comment->Flags |= ObjectFlag::Selected;
        // String constants beyond the right edge: their box extends left of X.
        Node* constant = Add("Constant", 224 + d, -120 + 20 * d, Catalogue().ConstantString);
        constant->PortArray[1]->Text = "abc";
        // Selected straight wires just above the top edge: only their light border can show.
        Node* from = Add("Random", -300, -150 - d - 20);
        Node* to = Add("ToString", 300, -150 - d - 8);
        ConnectPorts(from->PortArray[1], to->PortArray[1])->Flags |= ObjectFlag::Selected;
    }
    for (float zoom : {0.0f, 1.0f, -0.75f}) {
        Zoom(zoom);
        SkipHiddenObjects() = false;
        const QImage everything = Render(400, 300);
        SkipHiddenObjects() = true;
        const QImage skipping = Render(400, 300);
        int different = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                different += skipping.pixel(x, y) != everything.pixel(x, y);
        EXPECT_EQ(different, 0) << "zoom " << zoom;
    }
    // Selected objects follow a drag before they are moved: the drawn place counts.
    Zoom(0);
    view.Press = press::Dragging{0, 0, 0, 30};
    SkipHiddenObjects() = false;
    const QImage everything = Render(400, 300);
    SkipHiddenObjects() = true;
    EXPECT_EQ(Render(400, 300), everything);
}

} // namespace
} // namespace flow

// Resting the pointer on a node shows what it does; on empty canvas, or while something is
// under way, nothing.

#include "editor/window/NodeToolTip.h"
#include "EditorFixture.h"
#include "render/NodeReference.h"

#include <QHelpEvent>
#include <QToolTip>

namespace flow::test {
namespace {

using NodeToolTipTest = EditorFixture;

TEST_F(NodeToolTipTest, ANodeRestedOnShowsItsReferenceAndEmptyCanvasNone) {
    Circuit& circuit = OpenWindow();
    Node& plus = Place(circuit, "Plus (+)", 0, 0);
    const auto restAt = [&](double x, double y) {
        MoveTo(circuit, x, y);
        const QPoint pixel = PixelOf(circuit, x, y);
        QHelpEvent help(QEvent::ToolTip, pixel, CanvasOf(circuit).mapToGlobal(pixel));
        QApplication::sendEvent(&CanvasOf(circuit), &help);
    };
    // A tooltip told to go fades out first.
    const auto goesAway = [] {
        for (int wait = 0; wait < 250 && QToolTip::isVisible(); ++wait)
            QTest::qWait(20);
        return !QToolTip::isVisible();
    };
    restAt(plus.X + 12, plus.Y + 16);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), NodeReferenceHtml(plus));
    restAt(plus.X + 300, plus.Y + 200);
    EXPECT_TRUE(goesAway());
    // On one of its ports, the node's all the same.
    const Port& x = *plus.PortArray[1];
    restAt(double(plus.X + x.X), double(plus.Y + x.Y));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), NodeReferenceHtml(plus));
    // While a node waits to be placed, none.
    OnMenu(circuit, AddNodeCommand("PrintN"));
    restAt(plus.X + 12, plus.Y + 16);
    EXPECT_TRUE(goesAway());
}

} // namespace
} // namespace flow::test

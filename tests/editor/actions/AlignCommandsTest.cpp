// Align and Distribute line up the selection in one step each; with Snap to Grid on, placing and
// dragging land on the finest grid lines the canvas shows.

#include "EditorFixture.h"
#include "editor/canvas/GridSnap.h"
#include "editor/history/History.h"
#include "render/Grid.h"

#include <QUndoStack>

namespace flow::test {
namespace {

class ArrangeTest : public EditorFixture {
  protected:
    void TearDown() override {
        SetSnapToGrid(false);
        EditorFixture::TearDown();
    }
};

TEST_F(ArrangeTest, AlignAndDistributeEachMoveTheSelectionInOneStep) {
    Circuit& circuit = OpenWindow();
    Node& a = Place(circuit, "Plus (+)", -150, -80);
    Node& b = Place(circuit, "ToString", 10, 30); // a wider node
    Node& c = Place(circuit, "Plus (+)", 130, -10);
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    const int steps = HistoryOf(circuit)->count();

    OnMenu(circuit, Command::AlignTop);
    EXPECT_EQ(a.Y, -80 - 16);
    EXPECT_EQ(b.Y, a.Y);
    EXPECT_EQ(c.Y, a.Y);
    EXPECT_EQ(HistoryOf(circuit)->count(), steps + 1);
    EXPECT_EQ(HistoryOf(circuit)->undoText(), "Align Top");
    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(b.Y, 30 - b.Height / 2);

    OnMenu(circuit, Command::AlignRight);
    EXPECT_EQ(a.X + a.Width, c.X + c.Width);
    EXPECT_EQ(b.X + b.Width, c.X + c.Width);

    // Spread across: the outer two keep their places, the gaps between boxes are equal.
    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    const Int left = a.X, right = c.X;
    OnMenu(circuit, Command::DistributeHorizontally);
    EXPECT_EQ(a.X, left);
    EXPECT_EQ(c.X, right);
    EXPECT_LE(std::abs((b.X - (a.X + a.Width)) - (c.X - (b.X + b.Width))), 1);
    EXPECT_EQ(HistoryOf(circuit)->undoText(), "Distribute Horizontally");
}

TEST_F(ArrangeTest, SnappingPutsPlacedAndDraggedNodesOnTheFinestGridLines) {
    Circuit& circuit = OpenWindow();
    // At zoom level 0 the finest level has faded out: the lines drawn are 64 units apart; one
    // level in, the finest level shows, 16 units apart; three levels in, 4.
    EXPECT_EQ(FinestGridStep(*ViewOf(circuit)), 64);
    OnMenu(circuit, Command::ZoomIn);
    EXPECT_EQ(FinestGridStep(*ViewOf(circuit)), 16);
    OnMenu(circuit, Command::ZoomIn);
    OnMenu(circuit, Command::ZoomIn);
    EXPECT_EQ(FinestGridStep(*ViewOf(circuit)), 4);
    OnMenu(circuit, Command::ActualSize);

    Node& loose = Place(circuit, "Plus (+)", -37, 21);
    EXPECT_EQ(loose.X, -37 - 16);
    OnMenu(circuit, Command::SnapToGrid);
    ASSERT_TRUE(SnapToGridOn());
    Node& snapped = Place(circuit, "Plus (+)", 37, 21);
    EXPECT_EQ(snapped.X, 0);
    EXPECT_EQ(snapped.Y, 0);
    Drag(circuit, 16, 16, 16 + 100, 16 + 20);
    EXPECT_EQ(snapped.X, 128);
    EXPECT_EQ(snapped.Y, 0);
}

} // namespace
} // namespace flow::test

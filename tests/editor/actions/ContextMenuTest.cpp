// The right button on an object opens its menu, whose actions are the Edit menu's own; on empty
// canvas it opens the add-node menu as before.

#include "editor/actions/ContextMenu.h"
#include "EditorFixture.h"
#include "editor/actions/AddNodeMenu.h"
#include "editor/history/History.h"

#include <QMenu>
#include <QUndoStack>

namespace flow::test {
namespace {

class ContextMenuTest : public EditorFixture {
  protected:
    QMenu* RightClick(Circuit& circuit, double x, double y) {
        MoveTo(circuit, x, y);
        Press(circuit, x, y, Qt::RightButton);
        Release(circuit, x, y, Qt::RightButton);
        return OpenedContextMenu();
    }
    static QAction* Item(QMenu* menu, const QString& text) {
        for (QAction* action : menu->actions())
            if (action->text() == text) return action;
        return nullptr;
    }
};

TEST_F(ContextMenuTest, AnObjectsMenuActsOnItAloneOrOnTheSelectionItBelongsTo) {
    Circuit& circuit = OpenWindow();
    Node& kept = Place(circuit, "Plus (+)", -100, 0);
    Node& other = Place(circuit, "Plus (+)", 100, 0);
    Click(circuit, kept.X + 16, kept.Y + 16);
    const int steps = HistoryOf(circuit)->count();

    // Not part of the selection: the menu's Delete takes the object alone, in one step.
    QMenu* menu = RightClick(circuit, other.X + 16, other.Y + 16);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(kept.Flags & ObjectFlag::Selected);
    QAction* remove = Item(menu, "Delete");
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->data().toInt(), int(Command::Delete)) << "the Edit menu's own action";
    remove->trigger();
    menu->close();
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 1u);
    EXPECT_EQ(circuit.MainFrame.Nodes.front().get(), &kept);
    EXPECT_EQ(HistoryOf(circuit)->count(), steps + 1);
    EXPECT_EQ(HistoryOf(circuit)->undoText(), "Delete");
    Key(circuit, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 2u);

    // Part of the selection: Duplicate copies the whole selection.
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    menu = RightClick(circuit, kept.X + 16, kept.Y + 16);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Item(menu, "Edit Value"), nullptr) << "Plus has no value";
    Item(menu, "Duplicate")->trigger();
    menu->close();
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 4u);

    // Empty canvas keeps the add-node menu.
    RightClick(circuit, 0, 200);
    EXPECT_TRUE(AddNodeMenu()->isVisible());
    AddNodeMenu()->hide();
}

TEST_F(ContextMenuTest, EditValueSelectsTheValueAndSelectConnectedFollowsTheWires) {
    Circuit& circuit = OpenWindow();
    Node& number = Place(circuit, "Constant (Integer)", -100, 0);
    Node& print = Place(circuit, "PrintN", 0, 0);
    Node& alone = Place(circuit, "PrintN", 0, 150);
    const auto port = [](const Node& node) {
        return QPointF(double(node.X + node.PortArray[1]->X),
                       double(node.Y + node.PortArray[1]->Y));
    };
    Click(circuit, port(number).x(), port(number).y());
    Click(circuit, port(print).x(), port(print).y());
    ASSERT_EQ(circuit.MainFrame.Wires.size(), 1u);

    QMenu* menu = RightClick(circuit, print.X + 20, print.Y + 20);
    Item(menu, "Select Connected")->trigger();
    menu->close();
    EXPECT_TRUE(number.Flags & ObjectFlag::Selected);
    EXPECT_TRUE(print.Flags & ObjectFlag::Selected);
    EXPECT_FALSE(alone.Flags & ObjectFlag::Selected);

    menu = RightClick(circuit, number.X + number.Width / 2.0, number.Y + number.Height / 2.0);
    Item(menu, "Edit Value")->trigger();
    menu->close();
    ASSERT_EQ(ViewOf(circuit)->EditNode, &number);
    Type(circuit, "42");
    Click(circuit, 0, 250);
    EXPECT_EQ(number.PortArray[1]->Value, 42);
}

} // namespace
} // namespace flow::test

// The right button on an object opens its menu, whose actions are the Edit menu's own; on empty
// canvas it opens the add-node menu as before.

#include "editor/actions/ContextMenu.h"
#include "EditorFixture.h"
#include "editor/actions/AddNodeMenu.h"
#include "editor/history/History.h"
#include "model/SubCircuits.h"
#include "support/SubCircuitBuilding.h"

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
    static QStringList Items(QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) texts << action->text();
        return texts;
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

TEST_F(ContextMenuTest, AWireAloneOffersWhatItCanDoAndAnInstanceOffersOpenAndUngroup) {
    Circuit& circuit = OpenWindow();
    // Placed before the sub-circuit is made, whose entry the shared add-node menu would keep.
    Node& number = Place(circuit, "Constant (Integer)", -150, 0);
    FunctionDef* twice = MakeDouble(circuit);
    Node& instance = *AddNode(&circuit.MainFrame, twice, nullptr);
    FollowDefinitions(circuit);
    ConnectPorts(number.PortArray[1], instance.PortArray[1]);
    const QPointF from = PortPoint(number, 1), to = PortPoint(instance, 1);
    const QPointF middle = (from + to) / 2;

    QMenu* menu = RightClick(circuit, middle.x(), middle.y());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Items(menu), QStringList({"Delete", "Select Connected"}));
    menu->close();
    // With nodes selected too, the wire's menu acts on the selection, which can be copied.
    number.Flags |= ObjectFlag::Selected;
    menu = RightClick(circuit, middle.x(), middle.y());
    EXPECT_EQ(Items(menu), QStringList({"Cut", "Copy", "Duplicate", "Delete", "Select Connected"}));
    menu->close();

    menu = RightClick(circuit, instance.X + instance.Width / 2.0, instance.Y + 6);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Items(menu),
              QStringList({"Cut", "Copy", "Duplicate", "Delete", "Open Sub-circuit", "Ungroup",
                           "Rename Sub-circuit…", "Select Connected", "Toggle Breakpoint"}));
    Item(menu, "Open Sub-circuit")->trigger();
    menu->close();
    EXPECT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>{&instance});
    OnMenu(circuit, Command::Up);
    menu = RightClick(circuit, instance.X + instance.Width / 2.0, instance.Y + 6);
    Item(menu, "Ungroup")->trigger();
    menu->close();
    EXPECT_EQ(InstanceCount(circuit, twice), 0u);
    EXPECT_EQ(HistoryOf(circuit)->undoText(), "Ungroup");
    // A plain node's menu has neither.
    menu = RightClick(circuit, Middle(number).x(), Middle(number).y());
    EXPECT_EQ(Item(menu, "Open Sub-circuit"), nullptr);
    EXPECT_EQ(Item(menu, "Ungroup"), nullptr);
    menu->close();
}

} // namespace
} // namespace flow::test

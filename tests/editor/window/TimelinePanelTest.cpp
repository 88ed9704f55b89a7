// View → Run Timeline: the recorded run's lanes, and a click on a bar choosing its node.

#include "editor/window/TimelinePanel.h"
#include "EditorFixture.h"
#include "support/ExampleWindow.h"

#include <QAction>

namespace flow::test {
namespace {

class TimelinePanelTest : public EditorFixture {};

TEST_F(TimelinePanelTest, ARunFillsOneLanePerNodeAndAClickOnABarSelectsItsNode) {
    Circuit* opened = OpenExampleWindow(QStringLiteral("factorial.xml"));
    ASSERT_NE(opened, nullptr);
    Circuit& circuit = *opened;
    CircuitWindow& window = *WindowOf(circuit);
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == "Run Timeline") action->trigger();
    ASSERT_TRUE(window.TimelineShown());
    TimelinePanel& timeline = *window.Timeline();

    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeline.Firings().size() == 34; }));
    // Four main-frame nodes, and the body's three, once an iteration each on a lane of its own.
    EXPECT_EQ(timeline.LaneCount(), 7u);

    const Node& print = *circuit.MainFrame.Nodes[3];
    const Node& loop = *circuit.MainFrame.Nodes[2];
    const auto barOf = [&](auto&& chosen) {
        for (std::size_t i = 0; i < timeline.Firings().size(); ++i)
            if (chosen(*timeline.Firings()[i].Fired)) return timeline.BarRect(i);
        return QRect();
    };
    const QRect printBar = barOf([&](const Node& node) { return &node == &print; });
    ASSERT_TRUE(printBar.isValid());
    const int hovered = timeline.FiringAt(printBar.center());
    ASSERT_GE(hovered, 0);
    EXPECT_TRUE(timeline.FiringText(std::size_t(hovered)).startsWith("Print at 100, -60\nin "));
    QTest::mouseClick(timeline.viewport(), Qt::LeftButton, {}, printBar.center());
    EXPECT_TRUE(print.Flags & ObjectFlag::Selected);
    EXPECT_FALSE(loop.Flags & ObjectFlag::Selected);

    // A node inside the loop is shown by the instance that holds it.
    const QRect bodyBar = barOf([&](const Node& node) { return node.Frame != &circuit.MainFrame; });
    ASSERT_TRUE(bodyBar.isValid());
    QTest::mouseClick(timeline.viewport(), Qt::LeftButton, {}, bodyBar.center());
    EXPECT_TRUE(loop.Flags & ObjectFlag::Selected);
    EXPECT_FALSE(print.Flags & ObjectFlag::Selected);
}

} // namespace
} // namespace flow::test

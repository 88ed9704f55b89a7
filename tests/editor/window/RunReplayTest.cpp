// Run → Replay: the latest run played back firing by firing, ended by a key.

#include "editor/window/RunReplay.h"
#include "EditorFixture.h"
#include "render/CircuitView.h"
#include "support/ExampleWindow.h"

#include <QAction>

namespace flow::test {
namespace {

class RunReplayTest : public EditorFixture {};

TEST_F(RunReplayTest, AReplayLightsTheFiringsFillsThePanelAndEndsOnAKey) {
    Circuit* opened = OpenExampleWindow(QStringLiteral("sum.xml"));
    ASSERT_NE(opened, nullptr);
    Circuit& sum = *opened;
    Key(sum, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(sum, 1));

    // The run was not recorded: Replay runs it again, recorded, and plays that.
    for (QAction* action : WindowOf(sum)->findChildren<QAction*>())
        if (action->text() == "Replay") action->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Replaying(sum); }));
    const StepMarks& marks = WindowOf(sum)->View().Stepping;
    // Plus lights after both constants and before its Print, whose line comes with it.
    const Node* plus = sum.MainFrame.Nodes[2].get();
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks.Lit == plus; }));
    EXPECT_EQ(PanelOf(sum).toPlainText(), "");
    EXPECT_NE(marks.Replayed, nullptr);

    Key(sum, Qt::Key_Space);
    EXPECT_FALSE(Replaying(sum));
    EXPECT_EQ(marks.Lit, nullptr);
    EXPECT_EQ(marks.Replayed, nullptr);
    EXPECT_EQ(PanelOf(sum).toPlainText(), "5");
}

} // namespace
} // namespace flow::test

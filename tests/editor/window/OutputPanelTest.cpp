// The output panel: each line leads to the Print node that printed it, a hovered Print node
// lights up its lines, and the panel follows its end only while the user leaves it there.

#include "editor/window/OutputPanel.h"
#include "EditorFixture.h"
#include "model/ObjectsById.h"
#include "support/ExampleWindow.h"

#include <QScrollBar>
#include <QTextBlock>

namespace flow::test {
namespace {

class OutputPanelTest : public EditorFixture {};

TEST_F(OutputPanelTest, ClickingALineSelectsItsPrintNodeAndHoveringTheNodeLightsItsLines) {
    Circuit* circuit = OpenExampleWindow(QStringLiteral("logic.xml"));
    ASSERT_NE(circuit, nullptr);
    Key(*circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(*circuit, 4));
    OutputPanel& panel = *WindowOf(*circuit)->OutputPanel();
    const auto nodes = ObjectsById(circuit->MainFrame.Nodes);
    for (int line = 0; line < 4; ++line) {
        const Node* print = nodes.value(panel.NodeOfLine(line));
        ASSERT_NE(print, nullptr);
        EXPECT_EQ(print->Function->Name, "Print");
    }

    const int line = 2;
    Node& print = *nodes.value(panel.NodeOfLine(line));
    QTextCursor cursor(panel.document()->findBlockByNumber(line));
    QTest::mouseClick(panel.viewport(), Qt::LeftButton, {}, panel.cursorRect(cursor).center());
    for (const auto& node : circuit->MainFrame.Nodes)
        EXPECT_EQ(bool(node->Flags & ObjectFlag::Selected), node.get() == &print);
    EXPECT_EQ(QPoint(int(ViewOf(*circuit)->CameraX), int(ViewOf(*circuit)->CameraY)),
              QPoint(int(print.X + print.Width / 2), int(print.Y + print.Height / 2)));

    MoveTo(*circuit, double(ViewOf(*circuit)->CameraX), double(ViewOf(*circuit)->CameraY));
    EXPECT_EQ(panel.HighlightedNode(), print.Id);
    EXPECT_EQ(panel.extraSelections().size(), 1);
    EXPECT_EQ(panel.extraSelections().front().cursor.blockNumber(), line);
    MoveTo(*circuit, double(ViewOf(*circuit)->CameraX) - 400, double(ViewOf(*circuit)->CameraY));
    EXPECT_EQ(panel.HighlightedNode(), 0);
}

TEST_F(OutputPanelTest, NewLinesKeepThePanelAtItsEndUnlessTheUserScrolledUp) {
    Circuit& circuit = OpenWindow();
    OutputPanel& panel = *WindowOf(circuit)->OutputPanel();
    QScrollBar& bar = *panel.verticalScrollBar();
    const auto print = [&](int count) {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << QString::number(i);
        AppendOutputLines(circuit, lines, std::vector<Int>(std::size_t(count), 7));
        QCoreApplication::processEvents();
    };
    print(2500);
    EXPECT_GT(bar.maximum(), 0);
    EXPECT_EQ(bar.value(), bar.maximum());
    bar.setValue(10);
    print(100);
    EXPECT_EQ(bar.value(), 10);
    bar.setValue(bar.maximum());
    print(100);
    EXPECT_EQ(bar.value(), bar.maximum());
    EXPECT_EQ(panel.NodeOfLine(2699), 7);
}

} // namespace
} // namespace flow::test

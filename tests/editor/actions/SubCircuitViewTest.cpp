// Going into instances and out again: the title and the status bar say where the window is,
// each level keeps its view, a run's defect or values inside are those of the opened instance.

#include "editor/actions/SubCircuitView.h"
#include "EditorFixture.h"
#include "editor/actions/ViewCommands.h"
#include "editor/canvas/TextEditing.h"
#include "editor/window/OutputPanel.h"
#include "editor/window/WindowObserver.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"
#include "render/HoverText.h"
#include "support/DoubleCircuit.h"
#include "support/Files.h"

#include <QLabel>
#include <QTemporaryDir>

namespace flow::test {
namespace {

class SubCircuitViewTest : public EditorFixture {
  protected:
    Circuit& OpenDouble(bool missingInput = false) {
        Circuit* circuit = LoadDoubleCircuit(folder_.path(), missingInput);
        EXPECT_NE(circuit, nullptr);
        return circuit ? OpenInWindow(*circuit, {800, 600}) : OpenWindow();
    }
    static Node& MainNode(const Circuit& circuit, std::size_t i) {
        return *circuit.MainFrame.Nodes[i];
    }
    static Node& BodyNode(const Circuit& circuit, std::size_t i) {
        return *BodyOf(*circuit.SubCircuits.front()).Nodes[i];
    }
    static QString Title(const Circuit& circuit) { return WindowOf(circuit)->windowTitle(); }
    static QLabel& PathLabel(const Circuit& circuit) { return *WindowOf(circuit)->OpenPathLabel(); }

    QTemporaryDir folder_;
};

TEST_F(SubCircuitViewTest, OpeningAndGoingUpKeepEachLevelsViewTheTitleAndTheSavedCamera) {
    Circuit& circuit = OpenDouble();
    ZoomView(circuit, 1.0f);
    const CameraView main = ViewOf(circuit)->Camera();
    DoubleClick(circuit, 36, -24); // the upper instance's name
    ASSERT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>({&MainNode(circuit, 2)}));
    EXPECT_EQ(Title(circuit), "double.xml[*] ▸ Double");
    EXPECT_EQ(PathLabel(circuit).text(), "<a href=\"0\">double.xml</a> ▸ Double");
    EXPECT_NE(ViewOf(circuit)->Camera(), main);
    // A selection inside stays inside.
    Click(circuit, 10, 10);
    EXPECT_TRUE(BodyNode(circuit, 1).Flags & ObjectFlag::Selected);
    ZoomView(circuit, -1.0f);
    const CameraView inside = ViewOf(circuit)->Camera();

    Key(circuit, Qt::Key_Backspace);
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
    EXPECT_EQ(ViewOf(circuit)->Camera(), main);
    EXPECT_EQ(Title(circuit), "double.xml[*]");
    EXPECT_FALSE(PathLabel(circuit).isVisible());
    EXPECT_FALSE(BodyNode(circuit, 1).Flags & ObjectFlag::Selected);

    // The other instance by the menu: the body comes back as it was left.
    Click(circuit, 36, 56);
    OnMenu(circuit, Command::OpenSubCircuit);
    ASSERT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>({&MainNode(circuit, 3)}));
    EXPECT_EQ(ViewOf(circuit)->Camera(), inside);
    // Saved from inside, the file keeps the main view; the window stays where it is.
    const QString saved = folder_.path() + "/saved.xml";
    ASSERT_TRUE(SaveCircuitTo(circuit, saved));
    EXPECT_NE(
        ReadBytes(saved).find(QStringLiteral("<Camera X=\"%1\" Y=\"%2\" Magnification=\"2\"/>")
                                  .arg(main.X)
                                  .arg(main.Y)
                                  .toStdString()),
        std::string::npos);
    EXPECT_EQ(ViewOf(circuit)->Camera(), inside);
    Q_EMIT PathLabel(circuit).linkActivated("0");
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
    EXPECT_EQ(ViewOf(circuit)->Camera(), main);

    // An instance that goes while it is open (here by Redo) takes the window back out.
    Click(circuit, 36, -24);
    Key(circuit, Qt::Key_Delete);
    OnMenu(circuit, Command::Undo);
    DoubleClick(circuit, 36, -24);
    ASSERT_EQ(ViewOf(circuit)->OpenPath.size(), 1u);
    OnMenu(circuit, Command::Redo);
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
    EXPECT_EQ(ViewOf(circuit)->Camera(), main);
    EXPECT_EQ(Title(circuit), "saved.xml[*]");
}

TEST_F(SubCircuitViewTest, BackspaceGoesUpUnlessATextIsBeingTyped) {
    Circuit& circuit = OpenDouble();
    ZoomView(circuit, 1.0f);
    DoubleClick(circuit, 36, -24);
    ASSERT_EQ(ViewOf(circuit)->OpenPath.size(), 1u);
    // A new comment in the body's empty corner.
    const QPointF corner = ToCircuitPoint(*ViewOf(circuit), QPointF(30, 30));
    DoubleClick(circuit, corner.x(), corner.y());
    ASSERT_TRUE(EditingText(*ViewOf(circuit)));
    Type(circuit, "ab");
    Key(circuit, Qt::Key_Backspace);
    EXPECT_EQ(ViewOf(circuit)->EditBuffer, "a");
    EXPECT_EQ(ViewOf(circuit)->OpenPath.size(), 1u);
    Key(circuit, Qt::Key_Escape);
    Key(circuit, Qt::Key_Backspace);
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
}

TEST_F(SubCircuitViewTest, ADefectInsideOpensTheInstanceAtTheFaultyPort) {
    Circuit& circuit = OpenDouble(true);
    const CameraView main = ViewOf(circuit)->Camera();
    Key(circuit, Qt::Key_F5);
    EXPECT_EQ(StatusText(circuit, StatusField::RunStatus), "Defect!");
    ASSERT_EQ(ViewOf(circuit)->OpenPath, std::vector<Node*>({&MainNode(circuit, 2)}));
    EXPECT_EQ(Title(circuit), "double.xml[*] ▸ Double");
    // The camera looks at the Plus node's second input, in the body.
    const Port& missing = *BodyNode(circuit, 1).PortArray[2];
    EXPECT_EQ(ViewOf(circuit)->CameraX, missing.X);
    EXPECT_EQ(ViewOf(circuit)->CameraY, missing.Y);
    MoveTo(circuit, double(ViewOf(circuit)->CameraX) + 150, double(ViewOf(circuit)->CameraY) + 120);
    EXPECT_EQ(StatusText(circuit, StatusField::Hover),
              "At input 2 \"y\" of the Plus node at 0, 0 inside Double, instance at 0, -40");
    Key(circuit, Qt::Key_Backspace);
    EXPECT_EQ(ViewOf(circuit)->Camera(), main);
}

TEST_F(SubCircuitViewTest, ValuesInsideAreThoseOfTheOpenedInstanceAndLinesNameTheInstance) {
    Circuit& circuit = OpenDouble();
    Key(circuit, Qt::Key_F5);
    ASSERT_TRUE(WaitForLines(circuit, 4));
    const auto* panel = WindowOf(circuit)->OutputPanel();
    std::vector<Int> printers;
    for (int line = 0; line < 4; ++line)
        printers.push_back(panel->NodeOfLine(line));
    std::sort(printers.begin(), printers.end());
    // The Print node inside prints for each instance; its lines select the instance.
    std::vector<Int> expected;
    for (std::size_t node = 2; node < 6; ++node)
        expected.push_back(MainNode(circuit, node).Id);
    EXPECT_EQ(printers, expected);

    const Port& sum = *BodyNode(circuit, 1).PortArray[3];
    const auto shows = [&](const Port& port) {
        return HoverText(port, ViewOf(circuit)->OpenPath, &SessionOf(circuit));
    };
    EXPECT_FALSE(shows(sum).contains('=')); // no instance opened: no value to show
    OpenInstance(circuit, MainNode(circuit, 3));
    EXPECT_TRUE(shows(sum).endsWith(" = 2.5"));
    GoUp(circuit);
    OpenInstance(circuit, MainNode(circuit, 2));
    EXPECT_TRUE(shows(sum).endsWith(" = 42"));
    EXPECT_TRUE(shows(*BodyNode(circuit, 0).PortArray[1]).endsWith(" = 21"));
}

} // namespace
} // namespace flow::test

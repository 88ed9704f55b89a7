// Edit → Rename Sub-circuit… and the instance menu's item: the sub-circuit and every instance take
// the new name in one step; built-in and taken names are refused.

#include "EditorFixture.h"

#include "editor/actions/ContextMenu.h"
#include "editor/actions/SubCircuitNameDialog.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "support/SubCircuitBuilding.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>

namespace flow::test {
namespace {

class RenameSubCircuitTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        realAsker = AskNewSubCircuitName();
        AskNewSubCircuitName() = [this](Circuit&, const FunctionDef&) { return answer; };
    }
    void TearDown() override {
        AskNewSubCircuitName() = realAsker;
        EditorFixture::TearDown();
    }
    // Double, with an instance in the main frame and one in the body of Quad, which has one too.
    Node* Build(Circuit& circuit) {
        MakeDouble(circuit);
        FunctionDef* quad = AddSubCircuit(circuit, QStringLiteral("Quad"));
        flow::test::Place(BodyOf(*quad), QStringLiteral("Double"));
        Node* instance = flow::test::Place(circuit.MainFrame, QStringLiteral("Double"), 0, 0);
        flow::test::Place(circuit.MainFrame, QStringLiteral("Quad"), 0, 100);
        FollowDefinitions(circuit);
        RedrawCircuit(circuit);
        return instance;
    }
    static void SelectOnly(Circuit& circuit, Node* node) {
        for (const auto& other : ShownFrame(circuit).Nodes)
            other->Flags &= ~ObjectFlag::Selected;
        if (node) node->Flags |= ObjectFlag::Selected;
    }

    SubCircuitRenameAsker realAsker;
    std::optional<QString> answer;
};

TEST_F(RenameSubCircuitTest, EveryInstanceTakesTheNameInOneStepAndUndoGivesTheFileBack) {
    Circuit& circuit = OpenWindow();
    Node* instance = Build(circuit);
    const std::string before = CircuitFileBytes(circuit);
    const Int wideAsDouble = instance->Width;
    SelectOnly(circuit, instance);
    answer = QStringLiteral("Twice the value");
    OnMenu(circuit, Command::RenameSubCircuit);
    const FunctionDef* twice = FindSubCircuit(circuit, QStringLiteral("Twice the value"));
    ASSERT_TRUE(twice);
    EXPECT_EQ(instance->Function, twice);
    EXPECT_EQ(InstanceCount(circuit, twice), 2u);
    EXPECT_GT(instance->Width, wideAsDouble) << "an instance is as wide as its name needs";
    QUndoStack& history = *HistoryOf(circuit);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Rename Sub-circuit");
    const std::string renamed = CircuitFileBytes(circuit);

    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(CircuitFileBytes(circuit), before);
    EXPECT_EQ(instance->Width, wideAsDouble);
    OnMenu(circuit, Command::Redo);
    EXPECT_EQ(CircuitFileBytes(circuit), renamed);

    // Inside a body with nothing selected, the body's sub-circuit is the one renamed, and the
    // title names it so.
    OpenInstance(circuit, *instance);
    SelectOnly(circuit, nullptr);
    answer = QStringLiteral("Doubled");
    OnMenu(circuit, Command::RenameSubCircuit);
    EXPECT_EQ(twice->Name, "Doubled");
    EXPECT_TRUE(WindowOf(circuit)->windowTitle().endsWith(" ▸ Doubled"));
    OnMenu(circuit, Command::Undo);
    EXPECT_TRUE(WindowOf(circuit)->windowTitle().endsWith(" ▸ Twice the value"));
}

TEST_F(RenameSubCircuitTest, BuiltInAndTakenNamesAreRefused) {
    Circuit& circuit = OpenWindow();
    Node* instance = Build(circuit);
    const std::string before = CircuitFileBytes(circuit);
    SelectOnly(circuit, instance);
    answer = QStringLiteral("Quad"); // past the dialog: the step refuses it too
    OnMenu(circuit, Command::RenameSubCircuit);
    EXPECT_EQ(StatusNotice(circuit), "The circuit has a sub-circuit named “Quad” already");

    // The dialog stays open on a refused name, and its own name changes nothing.
    AskNewSubCircuitName() = realAsker;
    QStringList reasons;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SubCircuitNameDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), "Rename Sub-circuit");
        for (const char* name : {"Plus", "Quad", "Double"}) {
            dialog->Field()->setText(QString::fromUtf8(name));
            dialog->accept();
            reasons << (dialog->isVisible() ? dialog->Reason()->text() : QStringLiteral("closed"));
        }
    });
    OnMenu(circuit, Command::RenameSubCircuit);
    EXPECT_EQ(reasons,
              QStringList({"“Plus” is the name of a built-in function",
                           "The circuit has a sub-circuit named “Quad” already", "closed"}));
    EXPECT_EQ(HistoryOf(circuit)->count(), 0);
    EXPECT_EQ(CircuitFileBytes(circuit), before);
}

TEST_F(RenameSubCircuitTest, AnInstancesMenuRenamesItsSubCircuit) {
    Circuit& circuit = OpenWindow();
    Node* instance = Build(circuit);
    MoveTo(circuit, instance->X + 10, instance->Y + 10);
    Press(circuit, instance->X + 10, instance->Y + 10, Qt::RightButton);
    Release(circuit, instance->X + 10, instance->Y + 10, Qt::RightButton);
    QMenu* menu = OpenedContextMenu();
    ASSERT_TRUE(menu);
    QAction* rename = nullptr;
    for (QAction* action : menu->actions())
        if (action->text() == "Rename Sub-circuit…") rename = action;
    ASSERT_TRUE(rename);
    answer = QStringLiteral("Twice");
    rename->trigger();
    menu->close();
    EXPECT_EQ(instance->Function->Name, "Twice");
    EXPECT_EQ(HistoryOf(circuit)->count(), 1);
}

} // namespace
} // namespace flow::test

// Making sub-circuits through the name dialog, pins removed with the wires to their instances,
// instances pasted into other windows with their sub-circuits, placements and pastes that would
// make a sub-circuit contain itself, and unused sub-circuits deleted from the add-node menu.

#include "EditorFixture.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/ClipboardCommands.h"
#include "editor/actions/MakeSubCircuit.h"
#include "editor/actions/SubCircuitNameDialog.h"
#include "editor/history/History.h"
#include "editor/history/PastedDefinitions.h"
#include "editor/window/StatusText.h"
#include "file/CircuitWriter.h"
#include "model/SubCircuits.h"
#include "support/SubCircuitBuilding.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>

namespace flow::test {
namespace {

class SubCircuitCommandsTest : public EditorFixture {
  protected:
    // Two constants into `function`, which feeds a Print; `function` alone made into `name`.
    Node* GroupedSum(Circuit& circuit, const char* function, const QString& name) {
        Frame* frame = &circuit.MainFrame;
        Node* a = AddNode(frame, Catalogue().Constant, Catalogue().ConstantInteger);
        Node* b = AddNode(frame, Catalogue().Constant, Catalogue().ConstantInteger);
        Node* middle = AddNode(frame, FindFunction(function), nullptr);
        Node* print = AddNode(frame, FindFunction("Print"), nullptr);
        a->PortArray[1]->Value = 2;
        b->PortArray[1]->Value = 3;
        b->Y = print->X = 60;
        ConnectPorts(a->PortArray[1], middle->PortArray[1]);
        ConnectPorts(b->PortArray[1], middle->PortArray[2]);
        ConnectPorts(middle->PortArray[3], print->PortArray[1]);
        middle->Flags |= ObjectFlag::Selected;
        return MakeSubCircuit(circuit, name);
    }
    static void SelectOnly(Circuit& circuit, Node* node) {
        for (const auto& other : ShownFrame(circuit).Nodes)
            other->Flags &= ~ObjectFlag::Selected;
        node->Flags |= ObjectFlag::Selected;
    }
};

TEST_F(SubCircuitCommandsTest, TheNameDialogRefusesTakenNamesAndTheNewInstanceComputesTheSame) {
    Circuit& circuit = OpenWindow();
    EXPECT_FALSE(SelectionProblem(circuit).isEmpty());
    Node* plus = GroupedSum(circuit, "Plus", QString()); // refused: no name
    ASSERT_EQ(plus, nullptr);
    QStringList reasons;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SubCircuitNameDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        const QString tooLong(kLongestName + 1, QLatin1Char('A'));
        for (const QString& name :
             {QStringLiteral("Plus"), QStringLiteral(" Add"), tooLong, QStringLiteral("Add")}) {
            dialog->Field()->setText(name);
            dialog->accept();
            reasons << (dialog->Reason()->isVisible() ? dialog->Reason()->text() : QString());
        }
    });
    OnMenu(circuit, Command::MakeSubCircuit);
    EXPECT_EQ(reasons,
              QStringList({"“Plus” is the name of a built-in function",
                           "A sub-circuit's name may not begin or end with a blank",
                           "A sub-circuit's name may hold at most 256 characters", QString()}));
    const FunctionDef* add = FindSubCircuit(circuit, "Add");
    ASSERT_TRUE(add);
    EXPECT_EQ(HistoryOf(circuit)->count(), 1);
    EXPECT_EQ(add->Ports[0]->Label + add->Ports[1]->Label + add->Ports[2]->Label,
              "xy" + FindFunction("Plus")->Ports[2]->Label);
    OnMenu(circuit, Command::Start);
    EXPECT_TRUE(WaitForLines(circuit, 1));
    EXPECT_EQ(PanelOf(circuit).toPlainText(), "5");
    ViewOf(circuit)->OpenPath = {InstancesIn(circuit.MainFrame).front()};
    OnMenu(circuit, Command::Undo); // shown inside, the instance goes: the window goes back out
    EXPECT_TRUE(ViewOf(circuit)->OpenPath.empty());
    EXPECT_FALSE(FindSubCircuit(circuit, "Add"));
}

TEST_F(SubCircuitCommandsTest, APinDeletedInsideTakesTheWiresToEveryInstanceInTheSameStep) {
    Circuit& circuit = OpenWindow();
    Node* instance = GroupedSum(circuit, "Plus", "Add");
    SelectOnly(circuit, instance);
    OnMenu(circuit, Command::SelectAll);
    OnMenu(circuit, Command::Duplicate);
    const std::string before = CircuitFileBytes(circuit);
    const int steps = HistoryOf(circuit)->count();
    ViewOf(circuit)->OpenPath = {instance};
    Node* pinY = BodyOf(*instance->Function).Nodes.end()[-2].get();
    ASSERT_EQ(PinName(*pinY), "y");
    SelectOnly(circuit, pinY);
    OnMenu(circuit, Command::Delete);
    ViewOf(circuit)->OpenPath.clear();
    EXPECT_EQ(HistoryOf(circuit)->count(), steps + 1);
    EXPECT_EQ(circuit.MainFrame.Wires.size(), 4u);
    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(CircuitFileBytes(circuit), before);
    ViewOf(circuit)->OpenPath = {instance};
    SelectOnly(circuit, BodyOf(*instance->Function).Nodes.end()[-2].get()); // the pin again
    OnMenu(circuit, Command::Duplicate);
    EXPECT_EQ(instance->Ports.size(), 4u);
}

TEST_F(SubCircuitCommandsTest,
       PastedInstancesBringTheirSubCircuitReusedOrRenamedAndNeverInsideItself) {
    Circuit& from = OpenWindow();
    SelectOnly(from, GroupedSum(from, "Plus", "Add"));
    OnMenu(from, Command::Copy);
    Circuit& to = OpenWindow();
    OnMenu(to, Command::Paste);
    OnMenu(to, Command::Paste);
    ASSERT_EQ(to.SubCircuits.size(), 1u);
    EXPECT_EQ(ComparableBody(*to.SubCircuits[0]), ComparableBody(*from.SubCircuits[0]));
    EXPECT_EQ(InstanceCount(to, to.SubCircuits[0].get()), 2u);

    Circuit& other = OpenWindow();
    Node* own = GroupedSum(other, "Subtract", "Add");
    FunctionDef* ownAdd = own->Function;
    OnMenu(other, Command::Paste);
    ASSERT_EQ(other.SubCircuits.size(), 2u);
    EXPECT_EQ(other.SubCircuits[1]->Name, "Add 2");
    EXPECT_EQ(InstanceCount(other, other.SubCircuits[1].get()), 1u);
    OnMenu(other, Command::Undo);
    EXPECT_EQ(other.SubCircuits.size(), 1u);

    SelectOnly(other, own);
    AskSubCircuitName() = [](Circuit&) { return QStringLiteral("Outer"); };
    OnMenu(other, Command::MakeSubCircuit);
    AskSubCircuitName() = SubCircuitNameAsker();
    Node* outer = InstancesIn(other.MainFrame).front();
    ViewOf(other)->OpenPath = {outer, InstancesIn(BodyOf(*outer->Function)).front()};
    EXPECT_FALSE(PlacementRefusal(other, outer->Function).isEmpty());
    EXPECT_FALSE(PlacementRefusal(other, ownAdd).isEmpty());
    ViewOf(other)->OpenPath.clear();
    SelectOnly(other, outer);
    OnMenu(other, Command::Copy);
    ViewOf(other)->OpenPath = {outer};
    const std::size_t inside = BodyOf(*outer->Function).Nodes.size();
    OnMenu(other, Command::Paste);
    EXPECT_EQ(BodyOf(*outer->Function).Nodes.size(), inside);
    EXPECT_TRUE(StatusNotice(other).contains("contain itself"))
        << StatusNotice(other).toStdString();
}

TEST_F(SubCircuitCommandsTest, NamesNumberedApartStayWithinTheBound) {
    const QString longest(kLongestName, QChar(0x00E9));
    // Two instances of a sub-circuit whose pin has the longest name, each fed from outside:
    // grouped, each needs a pin of its own, named apart.
    Circuit& circuit = OpenWindow();
    FunctionDef* inner = AddSubCircuit(circuit, QStringLiteral("Inner"));
    AddPin(*inner, PinFunctions().Input, longest, 0, 0);
    FollowDefinitions(circuit);
    for (Int y : {0, 80}) {
        Node* constant =
            AddNode(&circuit.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger);
        Node* instance = AddNode(&circuit.MainFrame, inner, nullptr);
        MoveObject(*constant, 0, y);
        MoveObject(*instance, 100, y);
        Link(constant, 1, instance, 1);
        instance->Flags |= ObjectFlag::Selected;
    }
    ASSERT_NE(MakeSubCircuit(circuit, longest), nullptr);
    QStringList pinNames;
    for (const auto& node : BodyOf(*FindSubCircuit(circuit, longest)).Nodes)
        if (IsPin(*node)) pinNames << PinName(*node);
    ASSERT_EQ(pinNames.size(), 2);
    EXPECT_EQ(pinNames[0], longest);
    EXPECT_EQ(pinNames[1], longest.left(kLongestName - 2) + " 2");

    // Pasted where another body has the name, the copy is numbered within the bound too.
    SelectOnly(circuit, InstancesIn(circuit.MainFrame).front());
    OnMenu(circuit, Command::Copy);
    Circuit& other = OpenWindow();
    GroupedSum(other, "Plus", longest);
    OnMenu(other, Command::Paste); // without the bound, no number would ever make a free name
    ASSERT_EQ(other.SubCircuits.size(), 3u);
    EXPECT_EQ(other.SubCircuits.back()->Name, longest.left(kLongestName - 2) + " 2");
}

} // namespace
} // namespace flow::test

// A sub-circuit taken out comes back at its place in the list with the IDs of its body; a step
// made of steps is undone last part first and redone first part first, so that an instance
// never stands without its sub-circuit.

#include "EditorFixture.h"
#include "editor/history/CompoundEdit.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "support/SubCircuitBuilding.h"

#include <QUndoStack>

namespace flow::test {
namespace {

using DefinitionStepsTest = EditorFixture;

std::vector<Int> BodyIds(const FunctionDef& definition) {
    std::vector<Int> ids;
    for (const auto& node : BodyOf(definition).Nodes)
        ids.push_back(node->Id);
    return ids;
}

TEST_F(DefinitionStepsTest, ASubCircuitTakenOutComesBackAtItsPlaceWithItsIds) {
    Circuit& circuit = OpenWindow();
    MakeDouble(circuit);
    FunctionDef* loud = MakeDouble(circuit, true, AddSubCircuit(circuit, "Loud"));
    AddSubCircuit(circuit, "Last");
    const std::vector<Int> ids = BodyIds(*loud);
    const std::string before = CircuitFileBytes(circuit);

    RemoveSubCircuit(circuit, *loud);
    EXPECT_EQ(FindSubCircuit(circuit, "Loud"), nullptr);
    QUndoStack& history = *HistoryOf(circuit);
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Delete Sub-circuit");
    for (int round = 0; round < 2; ++round) {
        history.undo();
        ASSERT_EQ(circuit.SubCircuits.size(), 3u);
        EXPECT_EQ(circuit.SubCircuits[1]->Name, "Loud");
        EXPECT_EQ(BodyIds(*circuit.SubCircuits[1]), ids);
        EXPECT_EQ(CircuitFileBytes(circuit), before);
        history.redo();
        EXPECT_EQ(FindSubCircuit(circuit, "Loud"), nullptr);
        EXPECT_EQ(circuit.SubCircuits.size(), 2u);
    }
}

TEST_F(DefinitionStepsTest, AStepOfStepsUndoesTheLastPartFirstAndRedoesInOrder) {
    Circuit& circuit = OpenWindow();
    FunctionDef* loud = MakeDouble(circuit, true, AddSubCircuit(circuit, "Loud"));
    Node* constant = AddNode(&circuit.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger);
    SetConstantValue(*constant, 21, QStringLiteral("21"));
    constant->PortArray[1]->Type = PortType::Integer;
    Node* instance = test::Place(circuit.MainFrame, "Loud", 100, 0);
    Link(constant, 1, instance, 1);
    FollowDefinitions(circuit);
    const std::string before = CircuitFileBytes(circuit);

    // The instance goes, then its sub-circuit: the other way round the instance would come back
    // before the function it is made from.
    CompoundEdit edit(circuit, QStringLiteral("Ungroup"));
    const FrameObjects removing{{}, {instance}, {}};
    edit.Edit(circuit.MainFrame, removing, [&] {
        TakeOut(removing);
        return FrameObjects{};
    });
    edit.Remove(*loud);
    edit.Commit();
    QUndoStack& history = *HistoryOf(circuit);
    ASSERT_EQ(history.count(), 1);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(circuit.SubCircuits.empty());
        EXPECT_EQ(circuit.MainFrame.Nodes.size(), 1u);
        history.undo();
        EXPECT_EQ(CircuitFileBytes(circuit), before);
        ASSERT_EQ(circuit.MainFrame.Nodes.size(), 2u);
        const Node& back = *circuit.MainFrame.Nodes[1];
        EXPECT_EQ(back.Function, FindSubCircuit(circuit, "Loud"));
        EXPECT_EQ(back.PortArray[1]->Source, constant->PortArray[1]);
        // Resolved through the body that came back first: Integer in, Integer out.
        EXPECT_EQ(back.PortArray[2]->Type, PortType::Integer);
        history.redo();
    }
}

} // namespace
} // namespace flow::test

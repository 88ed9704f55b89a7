// An edit in parts, in several frames, made part by part and recorded as one step at Commit:
// each part sees the instances follow the one before; without a history the parts are simply
// made, and an edit that changed nothing records nothing.

#include "editor/history/CompoundEdit.h"
#include "EditorFixture.h"
#include "editor/history/History.h"
#include "file/CircuitWriter.h"
#include "support/SubCircuitBuilding.h"

#include <QUndoStack>

namespace flow::test {
namespace {

using CompoundEditTest = EditorFixture;

TEST_F(CompoundEditTest, PartsInSeveralFramesAreOneStepAndEachSeesThePartBefore) {
    Circuit& circuit = OpenWindow();
    Frame& main = circuit.MainFrame;
    Node* constant = AddNode(&main, Catalogue().Constant, Catalogue().ConstantInteger);
    MoveObject(*constant, -100, 0);
    const std::string before = CircuitFileBytes(circuit);
    QUndoStack& history = *HistoryOf(circuit);

    CompoundEdit edit(circuit, QStringLiteral("Group"));
    FunctionDef* made = MakeDouble(circuit);
    edit.Added(*made);
    Node* instance = nullptr;
    edit.Edit(main, {}, [&] {
        instance = test::Place(main, "Double", 0, 0);
        Link(constant, 1, instance, 1);
        return FrameObjects{{}, {instance}, {}};
    });
    // A second output pin in the body: the instance has its port at once, to be wired.
    edit.Edit(BodyOf(*made), {}, [&] {
        Node* again = AddPin(*made, PinFunctions().Output, QStringLiteral("again"), 100, 60);
        Link(BodyOf(*made).Nodes[0].get(), 1, again, 1);
        return FrameObjects{{}, {again}, {}};
    });
    ASSERT_EQ(instance->Ports.size(), 3u);
    edit.Edit(main, {}, [&] {
        Node* print = test::Place(main, "Print", 100, 60);
        Link(instance, 3, print, 1);
        return FrameObjects{{}, {print}, {}};
    });
    EXPECT_EQ(history.count(), 0) << "nothing goes on the history before Commit";
    edit.Commit();
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Group");
    const std::string after = CircuitFileBytes(circuit);

    for (int round = 0; round < 2; ++round) {
        history.undo();
        EXPECT_EQ(CircuitFileBytes(circuit), before);
        EXPECT_TRUE(circuit.SubCircuits.empty());
        history.redo();
        EXPECT_EQ(CircuitFileBytes(circuit), after);
        ASSERT_EQ(main.Nodes.size(), 3u);
        const Port* fed = main.Nodes[2]->PortArray[1]->Source;
        ASSERT_NE(fed, nullptr);
        EXPECT_EQ(fed->Label, "again");
    }
}

TEST_F(CompoundEditTest, WithoutAHistoryPartsAreJustMadeAndAnEditOfNothingRecordsNothing) {
    Circuit& bare = NewCircuit();
    FunctionDef* made = MakeDouble(bare);
    CompoundEdit unrecorded(bare, QStringLiteral("Ungroup"));
    unrecorded.Added(*made);
    const FrameObjects instance{{}, {test::Place(bare.MainFrame, "Double")}, {}};
    unrecorded.Edit(bare.MainFrame, instance, [&] {
        TakeOut(instance);
        return FrameObjects{};
    });
    unrecorded.Remove(*made);
    unrecorded.Commit();
    EXPECT_TRUE(bare.SubCircuits.empty());
    EXPECT_TRUE(bare.MainFrame.Nodes.empty());
    FreeCircuit(bare);

    Circuit& circuit = OpenWindow();
    CompoundEdit nothing(circuit, QStringLiteral("Paste"));
    nothing.Edit(circuit.MainFrame, {}, [] { return FrameObjects{}; });
    nothing.Commit();
    EXPECT_EQ(HistoryOf(circuit)->count(), 0);
}

} // namespace
} // namespace flow::test

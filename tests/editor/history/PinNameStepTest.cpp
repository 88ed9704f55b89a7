// A pin renamed is one step: the port label of every instance, wherever it stands, follows it,
// back and forth, even when the window no longer shows the body.

#include "editor/history/PinNameStep.h"
#include "EditorFixture.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/history/History.h"
#include "support/SubCircuitBuilding.h"

#include <QUndoStack>

namespace flow::test {
namespace {

using PinNameStepTest = EditorFixture;

TEST_F(PinNameStepTest, ARenameFollowsToEveryInstancesPortLabelAndUndoes) {
    Circuit& circuit = OpenWindow();
    FunctionDef* twice = MakeDouble(circuit);
    FunctionDef* outer = AddSubCircuit(circuit, "Outer");
    const std::vector<Node*> instances = {test::Place(circuit.MainFrame, "Double", 0, 0),
                                          test::Place(circuit.MainFrame, "Double", 0, 100),
                                          test::Place(BodyOf(*outer), "Double")};
    FollowDefinitions(circuit);
    const auto labels = [&] {
        QStringList all;
        for (const Node* instance : instances)
            all << instance->PortArray[1]->Label;
        return all;
    };
    OpenInstance(circuit, *instances[0]);
    Node& pin = *BodyOf(*twice).Nodes[0];
    ASSERT_EQ(PinName(pin), "x");

    RenamePin(pin, QStringLiteral("value"));
    EXPECT_EQ(PinName(pin), "value");
    EXPECT_EQ(labels(), QStringList({"value", "value", "value"}));
    QUndoStack& history = *HistoryOf(circuit);
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), "Rename Pin");
    history.undo();
    EXPECT_EQ(PinName(pin), "x");
    EXPECT_EQ(labels(), QStringList({"x", "x", "x"}));
    history.redo();
    EXPECT_EQ(labels(), QStringList({"value", "value", "value"}));

    // The same name again, or a node that is no pin, is no step.
    RenamePin(pin, QStringLiteral("value"));
    Node& plus = *BodyOf(*twice).Nodes[1];
    RenamePin(plus, QStringLiteral("other"));
    EXPECT_EQ(history.count(), 1);

    // The step finds its body by name, whatever frame the window shows.
    GoUp(circuit);
    history.undo();
    EXPECT_EQ(labels(), QStringList({"x", "x", "x"}));
}

} // namespace
} // namespace flow::test

// A pin's name is edited on the canvas as a comment's text is, and is one step of the history:
// every instance's port follows it there and back.

#include "EditorFixture.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/TextEditing.h"
#include "editor/window/StatusText.h"
#include "model/SubCircuits.h"
#include "support/DoubleCircuit.h"

#include <QTemporaryDir>

namespace flow::test {
namespace {

using PinNameEditingTest = EditorFixture;

// Opens the Double's first instance; its input pin.
Node& OpenFirstPin(Circuit& circuit) {
    OpenInstance(circuit, *circuit.MainFrame.Nodes[2]);
    return *BodyOf(*circuit.SubCircuits.front()).Nodes[0];
}

QStringList InputLabels(const Circuit& circuit) {
    QStringList labels;
    for (const auto& node : circuit.MainFrame.Nodes)
        if (IsInstance(*node)) labels << node->PortArray[1]->Label;
    return labels;
}

TEST_F(PinNameEditingTest, ARenamedPinRenamesEveryInstancesPortAsOneStep) {
    QTemporaryDir folder;
    Circuit* loaded = LoadDoubleCircuit(folder.path());
    ASSERT_NE(loaded, nullptr);
    Circuit& circuit = OpenInWindow(*loaded, {800, 600});
    Node& pin = OpenFirstPin(circuit);
    const double x = double(pin.X) + 15, y = double(pin.Y) + 8;
    Click(circuit, x, y);
    DoubleClick(circuit, x, y);
    Type(circuit, "value");
    EXPECT_EQ(PendingStepName(circuit), "Rename Pin");
    EXPECT_EQ(PinName(pin), "x"); // until Enter
    Key(circuit, Qt::Key_Return);
    EXPECT_FALSE(EditingText(*ViewOf(circuit)));
    EXPECT_EQ(PinName(pin), "value");
    EXPECT_EQ(InputLabels(circuit), QStringList({"value", "value"}));
    EXPECT_EQ(WindowOf(circuit)->UndoAction()->text(), "Undo Rename Pin");

    OnMenu(circuit, Command::Undo);
    EXPECT_EQ(InputLabels(circuit), QStringList({"x", "x"}));
    OnMenu(circuit, Command::Redo);
    EXPECT_EQ(InputLabels(circuit), QStringList({"value", "value"}));

    // An emptied name keeps the old one and records nothing.
    DoubleClick(circuit, x, y);
    Key(circuit, Qt::Key_Delete);
    Key(circuit, Qt::Key_Return);
    EXPECT_EQ(PinName(pin), "value");
    EXPECT_EQ(WindowOf(circuit)->UndoAction()->text(), "Undo Rename Pin");
}

TEST_F(PinNameEditingTest, ANameLongerThanAFileMayHoldIsRefusedWithANotice) {
    QTemporaryDir folder;
    Circuit* loaded = LoadDoubleCircuit(folder.path());
    ASSERT_NE(loaded, nullptr);
    Circuit& circuit = OpenInWindow(*loaded, {800, 600});
    Node& pin = OpenFirstPin(circuit);
    const double x = double(pin.X) + 15, y = double(pin.Y) + 8;
    Click(circuit, x, y);

    DoubleClick(circuit, x, y);
    Type(circuit, QString(kLongestName + 1, QLatin1Char('n')));
    EXPECT_EQ(PendingStepName(circuit), "");
    Key(circuit, Qt::Key_Return);
    EXPECT_FALSE(EditingText(*ViewOf(circuit)));
    EXPECT_EQ(PinName(pin), "x");
    EXPECT_EQ(StatusNotice(circuit), "A pin's name may hold at most 256 characters");
    EXPECT_FALSE(WindowOf(circuit)->UndoAction()->isEnabled());

    const QString longest(kLongestName, QLatin1Char('n'));
    DoubleClick(circuit, x, y);
    Type(circuit, longest);
    Key(circuit, Qt::Key_Return);
    EXPECT_EQ(PinName(pin), longest);
    EXPECT_EQ(InputLabels(circuit), QStringList({longest, longest}));
}

} // namespace
} // namespace flow::test

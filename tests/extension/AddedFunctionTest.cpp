// Twice, added as one entry and one routine, is wherever a built-in function is: in the
// catalogue after the built-ins, in the add-node menu and the type-to-place popup, in a circuit
// file, and in a run.

#include "TwiceFunction.h"
#include "support/CircuitBuilding.h"
#include "support/HeadlessRun.h"
#include "support/MenuLabels.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/PlacePopup.h"
#include "engine/BuiltInFunctions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace flow::test {
namespace {

QStringList LabelsOf(const std::vector<PlaceChoice>& choices) {
    QStringList labels;
    for (const PlaceChoice& choice : choices)
        labels << choice.Label;
    return labels;
}

int CommandOf(const QMenu* menu, const QString& label) {
    for (const QAction* action : menu->actions())
        if (action->text() == label && !action->menu()) return action->data().toInt();
    return 0;
}

TEST(AddedFunctionTest, TheCatalogueTakesItAfterTheBuiltInsOnce) {
    const FunctionDef* twice = FindFunction("Twice");
    ASSERT_NE(twice, nullptr);
    ASSERT_EQ(Catalogue().InOrder.size(), BuiltInFunctions().size() + 1);
    EXPECT_EQ(Catalogue().InOrder.back(), twice);
    ASSERT_EQ(twice->Implementations.size(), 1u);
    EXPECT_EQ(twice->Implementations[0]->Types,
              std::vector<int>({0, PortType::Integer, PortType::Integer}));
    EXPECT_EQ(twice->Implementations[0]->Routine, &kTwiceII);
    // Files and nodes know a function by its name: a second Twice is refused.
    EXPECT_EQ(RegisterFunction(TwiceEntry()), nullptr);
    EXPECT_EQ(Catalogue().InOrder.size(), BuiltInFunctions().size() + 1);
    EXPECT_EQ(FindFunction("Twice"), twice);
}

TEST(AddedFunctionTest, TheAddNodeMenuOffersItInItsPlace) {
    BuildAddNodeMenu();
    const QMenu* add = AddNodeMenu();
    EXPECT_EQ(Labels(add),
              QStringList({"Logic", "Numeric", "Strings", "Compare", "---", "PrintN"}));
    const QMenu* numeric = Submenu(add, "Numeric");
    ASSERT_NE(numeric, nullptr);
    EXPECT_EQ(Labels(numeric),
              QStringList({"Constant (Integer)", "Constant (Real)", "Input (Integer)",
                           "Input (Real)", "---", "Plus (+)", "Subtract (-)", "Times (*)",
                           "Divide (/)", "Remainder (mod)", "Twice (2x)", "---", "ToInteger",
                           "ToReal", "---", "Random (Real)", "Random (Integer)"}));
    EXPECT_EQ(AddNodeCommandCount(), 33);

    // Its command makes a Twice node waiting to be placed; the items below it moved one id on
    // and still make their own nodes.
    const int id = CommandOf(numeric, "Twice (2x)");
    EXPECT_EQ(id, kFirstAddNodeCommand + 18);
    Node preview;
    FillPreviewNode(preview, id);
    EXPECT_EQ(preview.Function, FindFunction("Twice"));
    ASSERT_EQ(preview.PortArray.size(), 3u);
    EXPECT_EQ(preview.PortArray[2]->Type, PortType::Integer);
    FillPreviewNode(preview, CommandOf(numeric, "ToReal"));
    EXPECT_EQ(preview.Function, FindFunction("ToReal"));
    FillPreviewNode(preview, CommandOf(add, "PrintN"));
    EXPECT_EQ(preview.Function, FindFunction("Print"));
}

TEST(AddedFunctionTest, TheTypeToPlacePopupOffersItWhereAWireFits) {
    const std::vector<PlaceChoice> choices = PlaceChoices(nullptr);
    EXPECT_EQ(LabelsOf(choices), QStringList({"Constant (Boolean)",
                                              "Constant (Integer)",
                                              "Constant (Real)",
                                              "Constant (String)",
                                              "Print",
                                              "And",
                                              "Or",
                                              "Not",
                                              "Plus",
                                              "Subtract",
                                              "Times",
                                              "Divide",
                                              "ToString",
                                              "ToInteger",
                                              "ToReal",
                                              "Random (Real)",
                                              "Random (Integer)",
                                              "Equal",
                                              "NotEqual",
                                              "Less",
                                              "LessOrEqual",
                                              "Greater",
                                              "GreaterOrEqual",
                                              "Remainder",
                                              "Select",
                                              "Switch",
                                              "Merge",
                                              "Input (Boolean)",
                                              "Input (Integer)",
                                              "Input (Real)",
                                              "Input (String)",
                                              "Twice"}));
    EXPECT_EQ(LabelsOf(MatchingChoices(choices, "tw")), QStringList({"Twice"}));

    // Only its integer implementation decides what may be wired to it.
    Circuit& circuit = NewCircuit();
    const Node* integer = IntegerConstant(circuit, 21);
    const Node* text = Make(circuit, "Constant", Catalogue().ConstantString);
    EXPECT_TRUE(LabelsOf(PlaceChoices(integer->PortArray[1])).contains("Twice"));
    const QStringList fromText = LabelsOf(PlaceChoices(text->PortArray[1]));
    EXPECT_FALSE(fromText.contains("Twice"));
    EXPECT_TRUE(fromText.contains("Plus")) << "strings do join";
    FreeCircuit(circuit);
}

TEST(AddedFunctionTest, ACircuitOfItRunsFromItsFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 21 doubled once and twice, each printed.
    const HeadlessResult doubled = RunHeadless(R"(<?xml version="1.0" encoding="UTF-8"?>
<Flowlattice>
  <MainFrame>
    <Node ID="1" Function="Constant" X="0" Y="0">
      <Integer Value="21"/>
    </Node>
    <Node ID="2" Function="Twice" X="60" Y="0"/>
    <Node ID="3" Function="Twice" X="120" Y="0"/>
    <Node ID="4" Function="Print" X="180" Y="-40"/>
    <Node ID="5" Function="Print" X="180" Y="40"/>
    <Wire Source="1/1" Destination="2/1"/>
    <Wire Source="2/2" Destination="3/1"/>
    <Wire Source="2/2" Destination="4/1"/>
    <Wire Source="3/2" Destination="5/1"/>
  </MainFrame>
</Flowlattice>
)",
                                               dir.path());
    EXPECT_EQ(doubled.Defect, "");
    EXPECT_EQ(doubled.Lines, QStringList({"42", "84"}));

    // A real has no implementation to go into.
    const HeadlessResult real = RunHeadless(R"(<?xml version="1.0" encoding="UTF-8"?>
<Flowlattice>
  <MainFrame>
    <Node ID="1" Function="Constant" X="0" Y="0">
      <Real Value="1.5"/>
    </Node>
    <Node ID="2" Function="Twice" X="60" Y="0"/>
    <Node ID="3" Function="Print" X="120" Y="0"/>
    <Wire Source="1/1" Destination="2/1"/>
    <Wire Source="2/2" Destination="3/1"/>
  </MainFrame>
</Flowlattice>
)",
                                            dir.path());
    EXPECT_NE(real.Defect, "");
    EXPECT_TRUE(real.Lines.isEmpty());
}

} // namespace
} // namespace flow::test

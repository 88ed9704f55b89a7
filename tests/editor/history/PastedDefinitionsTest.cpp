// Sub-circuits that come with pasted instances: one drawn alike under the same name is the
// target's own, whatever IDs its body had; one of the same name and another body comes under the
// first free numbered name; each comes after those it uses.

#include "editor/history/PastedDefinitions.h"
#include "EditorFixture.h"
#include "editor/history/ObjectCopy.h"
#include "support/SubCircuitBuilding.h"

namespace flow::test {
namespace {

using PastedDefinitionsTest = EditorFixture;

TEST_F(PastedDefinitionsTest, SameBodiesAreReusedOthersRenamedAndUsedOnesComeFirst) {
    Circuit& target = OpenWindow();
    FunctionDef* targetDouble = MakeDouble(target);
    FunctionDef* targetTwice = MakeDouble(target, false, AddSubCircuit(target, "Twice"));
    AddSubCircuit(target, "Twice 2");

    // The text's circuit: its IDs run differently, and "Outer", listed first, uses "Twice".
    Circuit& pasted = NewCircuit();
    AddComment(&pasted.MainFrame, "ahead", 0, 0);
    AddNode(&pasted.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger);
    FunctionDef* outer = AddSubCircuit(pasted, "Outer");
    FunctionDef* pastedDouble = MakeDouble(pasted);
    FunctionDef* pastedTwice = MakeDouble(pasted, true, AddSubCircuit(pasted, "Twice"));
    test::Place(BodyOf(*outer), "Twice");
    FollowDefinitions(pasted);
    ASSERT_NE(BodyOf(*pastedDouble).Nodes[0]->Id, BodyOf(*targetDouble).Nodes[0]->Id);

    EXPECT_EQ(ComparableBody(*pastedDouble), ComparableBody(*targetDouble));
    EXPECT_NE(ComparableBody(*pastedTwice), ComparableBody(*targetTwice));
    // Needed: what the instances use, at any depth, in the circuit's order.
    Node* outerInstance = test::Place(pasted.MainFrame, "Outer");
    Node* doubleInstance = test::Place(pasted.MainFrame, "Double");
    EXPECT_EQ(DefinitionsNeeded(pasted, FrameObjects{{}, {outerInstance}, {}}),
              std::vector<const FunctionDef*>({outer, pastedTwice}));
    EXPECT_EQ(DefinitionsNeeded(pasted, FrameObjects{{}, {doubleInstance}, {}}),
              std::vector<const FunctionDef*>({pastedDouble}));
    EXPECT_TRUE(DefinitionsNeeded(pasted, AllObjectsOf(BodyOf(*pastedDouble))).empty());

    const PastePlan plan = PlanPastedDefinitions(pasted, target);
    ASSERT_EQ(plan.Target.count(pastedDouble), 1u);
    EXPECT_EQ(plan.Target.at(pastedDouble), targetDouble);
    EXPECT_EQ(plan.Target.size(), 1u);
    EXPECT_EQ(plan.Created, std::vector<FunctionDef*>({pastedTwice, outer}));
    EXPECT_EQ(pastedTwice->Name, "Twice 3");
    EXPECT_EQ(FindSubCircuit(pasted, "Twice 3"), pastedTwice);
    EXPECT_EQ(outer->Name, "Outer") << "a name the target lacks stays";
    EXPECT_EQ(BodyOf(*outer).Nodes[0]->Function, pastedTwice);
    EXPECT_EQ(target.SubCircuits.size(), 3u) << "planning changes only the pasted circuit";
    FreeCircuit(pasted);
}

} // namespace
} // namespace flow::test

// Copies made in another frame keep what the circuit text would lose: a Real's every digit, and
// which of an input's several feeders it reads. Their IDs come as a read of the text gives them.

#include "editor/history/ObjectCopy.h"
#include "EditorFixture.h"
#include "model/Placement.h"
#include "support/SubCircuitBuilding.h"

#include <bit>

namespace flow::test {
namespace {

using ObjectCopyTest = EditorFixture;

TEST_F(ObjectCopyTest, ACopyKeepsExactValuesFeedersAndPinNamesAcrossFrames) {
    Circuit& circuit = OpenWindow();
    Frame& main = circuit.MainFrame;
    const double exact = 0.123456789012345; // far more digits than a file keeps
    Node* first = AddNode(&main, Catalogue().Constant, Catalogue().ConstantReal);
    Node* second = AddNode(&main, Catalogue().Constant, Catalogue().ConstantReal);
    SetConstantValue(*first, std::bit_cast<Int>(exact), QStringLiteral("0.123456789012345"));
    SetConstantValue(*second, std::bit_cast<Int>(-2.5), QStringLiteral("-2.5"));
    first->PortArray[1]->Type = second->PortArray[1]->Type = PortType::Real;
    Node* print = test::Place(main, QStringLiteral("Print"), 100, 0);
    Comment* note = AddComment(&main, QStringLiteral("note"), -50, -80);
    // The input reads its second feeder: the one a fresh wiring in file order would not pick.
    Wire* fromFirst = Link(first, 1, print, 1);
    Wire* fromSecond = Link(second, 1, print, 1);
    SetInputSource(*print->PortArray[1], second->PortArray[1]);
    const Int highestBefore = circuit.NextId;

    FunctionDef* inner = AddSubCircuit(circuit, QStringLiteral("Inner"));
    Frame& body = BodyOf(*inner);
    const ObjectCopies copies = CopyObjects(
        FrameObjects{{note}, {first, second, print}, {fromFirst, fromSecond}}, body, 10, -20);
    ASSERT_EQ(copies.Made.Comments.size(), 1u);
    ASSERT_EQ(copies.Made.Nodes.size(), 3u);
    ASSERT_EQ(copies.Made.Wires.size(), 2u);
    EXPECT_EQ(body.Nodes.size(), 3u);
    EXPECT_EQ(main.Nodes.size(), 3u) << "the originals stay";
    const Node* firstCopy = copies.Nodes.at(first);
    const Node* printCopy = copies.Nodes.at(print);
    EXPECT_EQ(firstCopy->Frame, &body);
    EXPECT_EQ(std::bit_cast<double>(firstCopy->PortArray[1]->Value), exact);
    EXPECT_EQ(firstCopy->PortArray[1]->Text, "0.123456789012345");
    EXPECT_EQ(firstCopy->PortArray[1]->Type, PortType::Real);
    EXPECT_EQ(std::bit_cast<double>(copies.Nodes.at(second)->PortArray[1]->Value), -2.5);
    EXPECT_EQ(printCopy->PortArray[1]->Source, copies.CopyOf(second->PortArray[1]));
    EXPECT_EQ(printCopy->PortArray[1]->Feeders,
              std::vector<Port*>(
                  {copies.CopyOf(first->PortArray[1]), copies.CopyOf(second->PortArray[1])}));
    EXPECT_EQ(QPoint(int(printCopy->X), int(printCopy->Y)), QPoint(110, -20));
    const Comment* noteCopy = copies.Made.Comments[0];
    EXPECT_EQ(noteCopy->Text, "note");
    EXPECT_EQ(QPoint(int(noteCopy->X), int(noteCopy->Y)), QPoint(-40, -100));
    // Fresh IDs, the comment's first and then the nodes' in their order, as a read would give.
    EXPECT_GT(noteCopy->Id, highestBefore);
    EXPECT_LT(noteCopy->Id, copies.Made.Nodes[0]->Id);
    EXPECT_LT(copies.Made.Nodes[0]->Id, copies.Made.Nodes[1]->Id);
    EXPECT_LT(copies.Made.Nodes[1]->Id, copies.Made.Nodes[2]->Id);
    EXPECT_EQ(copies.CopyOf(printCopy->PortArray[1]), nullptr) << "a port of no original";

    // Body to body: a pin keeps its name, and the feeders hold again.
    Node* pin = AddPin(*inner, PinFunctions().Input, QStringLiteral("amount"), -100, 0);
    FunctionDef* outer = AddSubCircuit(circuit, QStringLiteral("Outer"));
    const ObjectCopies again = CopyObjects(AllObjectsOf(body), BodyOf(*outer), 0, 0);
    EXPECT_EQ(PinName(*again.Nodes.at(pin)), "amount");
    EXPECT_TRUE(IsInputPin(*again.Nodes.at(pin)));
    const Node* printAgain = again.Nodes.at(printCopy);
    EXPECT_EQ(printAgain->PortArray[1]->Source,
              again.CopyOf(copies.Nodes.at(second)->PortArray[1]));

    // The function chosen for a copy replaces the original's, and the wires to it follow.
    FunctionDef* once = MakeDouble(circuit);
    FunctionDef* twice = MakeDouble(circuit, true, AddSubCircuit(circuit, QStringLiteral("Loud")));
    Node* instance = test::Place(main, once->Name, 0, 100);
    Wire* intoInstance = Link(first, 1, instance, 1);
    const ObjectCopies chosen =
        CopyObjects(FrameObjects{{}, {first, instance}, {intoInstance}}, main, 0, 200,
                    [&](FunctionDef* function) { return function == once ? twice : nullptr; });
    const Node* instanceCopy = chosen.Nodes.at(instance);
    EXPECT_EQ(instanceCopy->Function, twice);
    EXPECT_EQ(chosen.Nodes.at(first)->Function, Catalogue().Constant);
    EXPECT_EQ(instanceCopy->PortArray[1]->Source, chosen.CopyOf(first->PortArray[1]));
}

} // namespace
} // namespace flow::test

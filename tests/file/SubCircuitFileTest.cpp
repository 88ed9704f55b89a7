// Sub-circuits in circuit files: their Frame elements written and read back unchanged, and
// files whose sub-circuits cannot all be read.

#include "SampleFiles.h"
#include "support/ModelFault.h"
#include "support/SubCircuitBuilding.h"

#include "engine/BuiltInFunctions.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "file/ReadLosses.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

using namespace flow::test;

using SubCircuitFileTest = LoadingTest;

TEST_F(SubCircuitFileTest, NestedSubCircuitsSaveLoadAndSaveByteForByte) {
    RegisterCatalogue();
    Circuit& circuit = NewCircuit();
    // Listed before the Double it uses, which a reader must find all the same. Every object
    // is made in the order of the file, so that the IDs read back are those written.
    FunctionDef* fourTimes = AddSubCircuit(circuit, QStringLiteral("Quadruple"));
    FunctionDef* twice = AddSubCircuit(circuit, QStringLiteral("Double"));
    AddComment(&circuit.MainFrame, QStringLiteral("4 × 5"), -100, -60);
    Node* five = AddNode(&circuit.MainFrame, Catalogue().Constant, Catalogue().ConstantInteger);
    SetConstantValue(*five, 5, QString());
    MoveObject(*five, -100, 0);
    Node* instance = Place(circuit.MainFrame, fourTimes->Name, 0, 0);
    Node* print = Place(circuit.MainFrame, QStringLiteral("Print"), 100, 0);
    Node* x = AddPin(*fourTimes, PinFunctions().Input, QStringLiteral("x"), -100, 0);
    Node* first = Place(BodyOf(*fourTimes), twice->Name, 0, 0);
    Node* second = Place(BodyOf(*fourTimes), twice->Name, 80, 0);
    Node* result = AddPin(*fourTimes, PinFunctions().Output, QStringLiteral("4x"), 200, 0);
    MakeDouble(circuit, true, twice);
    Link(five, 1, instance, 1);
    Link(instance, 2, print, 1);
    Link(x, 1, first, 1);
    Link(first, 2, second, 1);
    Link(second, 2, result, 1);
    ASSERT_EQ(ModelFault(circuit), "");

    const std::string written = CircuitFileBytes(circuit);
    const std::size_t main = written.find("  </MainFrame>\r\n");
    const std::size_t outer = written.find("  <Frame Name=\"Quadruple\">\r\n    <!-- Comments -->");
    const std::size_t inner = written.find("  <Frame Name=\"Double\">");
    EXPECT_TRUE(main < outer && outer < inner && inner != std::string::npos) << written;
    EXPECT_NE(written.find("<Node ID=\"5\" Function=\"Input Pin\" X=\"-100\" Y=\"0\" Name=\"x\"/>"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("<Node ID=\"3\" Function=\"Quadruple\" X=\"0\" Y=\"0\"/>"),
              std::string::npos);

    ReadLosses losses;
    Circuit* read = Load(written, losses);
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(losses.Any()) << DescribeLosses(QStringLiteral("read.xml"), losses).toStdString();
    EXPECT_EQ(CircuitFileBytes(*read), written);
    ASSERT_EQ(read->SubCircuits.size(), 2u);
    EXPECT_EQ(BodyOf(*read->SubCircuits[0]).Wires.size(), 3u);
    EXPECT_EQ(read->SubCircuits[0]->Ports.size(), 2u);
}

TEST_F(SubCircuitFileTest, SelfContainingInstancesAndUnusableFramesAreLeftOutAndReported) {
    // A holds B, which holds A; C holds itself; a second "A", a built-in's name and no name.
    // A body's wire names the main frame's node 1, and a pin stands in the main frame.
    const std::string file =
        "<Flowlattice><MainFrame>"
        "<Node ID=\"1\" Function=\"Constant\"><Integer Value=\"1\"/></Node>"
        "<Node ID=\"2\" Function=\"A\"/><Node ID=\"9\" Function=\"Input Pin\" Name=\"p\"/>"
        "<Wire Source=\"1/1\" Destination=\"2/1\"/></MainFrame>"
        "<Frame Name=\"A\"><Node ID=\"3\" Function=\"Input Pin\" Name=\"x\"/>"
        "<Node ID=\"4\" Function=\"B\"/><Wire Source=\"3/1\" Destination=\"4/1\"/>"
        "<Wire Source=\"1/1\" Destination=\"4/1\"/></Frame>"
        "<Frame Name=\"B\"><Node ID=\"5\" Function=\"Input Pin\" Name=\"y\"/>"
        "<Node ID=\"6\" Function=\"A\"/><Wire Source=\"5/1\" Destination=\"6/1\"/></Frame>"
        "<Frame Name=\"C\"><Node ID=\"7\" Function=\"C\"/></Frame>"
        "<Frame Name=\"A\"/><Frame Name=\"Plus\"/><Frame/></Flowlattice>";
    ReadLosses losses;
    Circuit* read = Load(file, losses);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->SubCircuits.size(), 3u);
    EXPECT_EQ(BodyOf(*read->SubCircuits[0]).Nodes.size(), 2u);
    EXPECT_EQ(BodyOf(*read->SubCircuits[0]).Wires.size(), 1u);
    EXPECT_EQ(BodyOf(*read->SubCircuits[1]).Nodes.size(), 1u);
    EXPECT_TRUE(BodyOf(*read->SubCircuits[2]).Nodes.empty());
    EXPECT_EQ(read->MainFrame.Nodes.size(), 2u);
    EXPECT_EQ(read->MainFrame.Wires.size(), 1u);
    EXPECT_EQ(losses.SelfContaining, 2u);
    EXPECT_EQ(DescribeLosses(QStringLiteral("loop.xml"), losses),
              QStringLiteral("1 node was left out: no function is named “Input Pin”. 2 instances "
                             "were left out: a sub-circuit may not contain itself. 2 wires were "
                             "left out: an end names no port of a node read before it, or it "
                             "repeats another wire. Elements that were not read: <Frame>."));
}

TEST_F(SubCircuitFileTest, NamesLongerThanTheBoundLeaveOutWhatTheyNameAndAreReported) {
    const std::string longest(std::size_t(kLongestName), 'm'), tooLong(longest + "l");
    // A frame and its instance under a name one too long; a frame named at the bound with one
    // pin at the bound and one beyond it; a Name on a Print, which no reading looks at.
    const auto node = [](const char* id, const std::string& function, const std::string& name) {
        return "<Node ID=\"" + std::string(id) + "\" Function=\"" + function + "\"" +
               (name.empty() ? std::string() : " Name=\"" + name + "\"") + "/>";
    };
    const std::string file = "<Flowlattice><MainFrame>" + node("1", tooLong, {}) +
                             node("2", longest, {}) + "</MainFrame><Frame Name=\"" + tooLong +
                             "\">" + node("3", "Print", {}) + "</Frame><Frame Name=\"" + longest +
                             "\">" + node("4", "Input Pin", longest) +
                             node("5", "Output Pin", tooLong) + node("6", "Print", tooLong) +
                             "<Wire Source=\"4/1\" Destination=\"6/1\"/></Frame></Flowlattice>";
    ReadLosses losses;
    Circuit* read = Load(file, losses);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->SubCircuits.size(), 1u);
    const FunctionDef& kept = *read->SubCircuits.front();
    EXPECT_EQ(kept.Name.toStdString(), longest);
    EXPECT_EQ(BodyOf(kept).Nodes.size(), 2u);
    EXPECT_EQ(BodyOf(kept).Wires.size(), 1u);
    ASSERT_EQ(kept.Ports.size(), 1u);
    EXPECT_EQ(kept.Ports.front()->Label.toStdString(), longest);
    ASSERT_EQ(read->MainFrame.Nodes.size(), 1u);
    EXPECT_EQ(read->MainFrame.Nodes.front()->Function, &kept);
    // Counted, never quoted, and no Frame element is named as unknown.
    EXPECT_EQ(losses.LongNames, 3u);
    EXPECT_EQ(DescribeLosses(QStringLiteral("long.xml"), losses),
              QStringLiteral("3 names were longer than 256 characters: what they named was left "
                             "out."));
    ReadLosses one;
    one.LongNames = 1;
    EXPECT_TRUE(one.Any());
    EXPECT_EQ(DescribeLosses(QStringLiteral("long.xml"), one),
              QStringLiteral("1 name was longer than 256 characters: what it named was left out."));
}

} // namespace
} // namespace flow

// Input nodes in files: their names and values come back byte for byte, beside a Random node
// that keeps its own type, and a body's input is left out, said so.

#include "SampleFiles.h"

#include "file/CircuitWriter.h"
#include "model/Inputs.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <bit>

namespace flow {
namespace {

using namespace flow::test;

using InputFileTest = LoadingTest;

TEST_F(InputFileTest, InputsOfEveryTypeSaveAsTheyWereRead) {
    // As a save writes it: read and saved again, it must come back byte for byte.
    const std::string file =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n"
        "<!-- Flowlattice File -->\r\n<!-- Version 0.1 -->\r\n\r\n"
        "<Flowlattice>\r\n"
        "  <Window X=\"1\" Y=\"2\" Width=\"300\" Height=\"200\"/>\r\n"
        "  <Camera X=\"0\" Y=\"0\" Magnification=\"1\"/>\r\n"
        "  <MainFrame>\r\n"
        "    <!-- Comments -->\r\n"
        "    <!-- Nodes -->\r\n"
        "    <Node ID=\"1\" Function=\"Input\" X=\"-100\" Y=\"-60\" Name=\"count\">\r\n"
        "      <Integer Value=\"-12\"/>\r\n"
        "    </Node>\r\n"
        "    <Node ID=\"2\" Function=\"Input\" X=\"-100\" Y=\"-20\" Name=\"celsius\">\r\n"
        "      <Real Value=\"37.5\"/>\r\n"
        "    </Node>\r\n"
        "    <Node ID=\"3\" Function=\"Input\" X=\"-100\" Y=\"20\" Name=\"greeting &amp; "
        "more\">\r\n"
        "      <String Value=\"two\\nlines\"/>\r\n"
        "    </Node>\r\n"
        "    <Node ID=\"4\" Function=\"Input\" X=\"-100\" Y=\"60\" Name=\"verbose\">\r\n"
        "      <Boolean Value=\"True\"/>\r\n"
        "    </Node>\r\n"
        "    <Node ID=\"5\" Function=\"Random\" X=\"0\" Y=\"0\">\r\n"
        "      <Integer/>\r\n"
        "    </Node>\r\n"
        "    <!-- Wires -->\r\n"
        "  </MainFrame>\r\n"
        "</Flowlattice>\r\n";
    QTemporaryDir folder;
    ReadLosses losses;
    Circuit* circuit = LoadBytes(folder, file, losses);
    ASSERT_NE(circuit, nullptr);
    EXPECT_FALSE(losses.Any());
    EXPECT_EQ(CircuitFileBytes(*circuit), file);

    const std::vector<Node*> inputs = InputsOf(*circuit);
    ASSERT_EQ(inputs.size(), 4u);
    EXPECT_EQ(InputName(*inputs[2]), "greeting & more");
    EXPECT_EQ(FirstPort(*inputs[0])->Value, -12);
    EXPECT_EQ(std::bit_cast<double>(FirstPort(*inputs[1])->Value), 37.5);
    EXPECT_EQ(FirstPort(*inputs[2])->Text, "two\nlines");
    EXPECT_EQ(FirstPort(*inputs[3])->Value, 1);
    const int types[] = {PortType::Integer, PortType::Real, PortType::String, PortType::Boolean};
    for (std::size_t i = 0; i < inputs.size(); ++i)
        EXPECT_EQ(FirstPort(*inputs[i])->Type, types[i]);
}

TEST_F(InputFileTest, AnInputInABodyIsLeftOutAndOneWithoutANameIsCalledInput) {
    QTemporaryDir folder;
    ReadLosses losses;
    Circuit* circuit = LoadBytes(folder, R"(<Flowlattice><MainFrame>
<Node ID="1" Function="Input" X="0" Y="0"><Integer Value="1"/></Node>
<Node ID="2" Function="Inner" X="60" Y="0"/>
</MainFrame><Frame Name="Inner">
<Node ID="3" Function="Input" X="0" Y="0" Name="deep"><Integer Value="1"/></Node>
</Frame></Flowlattice>)",
                                 losses);
    ASSERT_NE(circuit, nullptr);
    EXPECT_EQ(losses.InputsInBodies, 1u);
    EXPECT_TRUE(DescribeLosses("f.xml", losses)
                    .contains("1 input was left out of sub-circuits: a body takes its values "
                              "through its pins."));
    ASSERT_EQ(InputsOf(*circuit).size(), 1u);
    EXPECT_EQ(InputName(*InputsOf(*circuit)[0]), kInputBaseName);
    EXPECT_TRUE(circuit->SubCircuits.front()->Frames.front()->Nodes.empty());
}

} // namespace
} // namespace flow

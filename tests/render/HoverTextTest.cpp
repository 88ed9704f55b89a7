#include "support/SceneFixture.h"

#include "render/HoverText.h"

namespace flow {
namespace {

using namespace flow::test;

using HoverTextTest = SceneFixture;

TEST_F(HoverTextTest, NameEachKindOfObject) {
    Comment* comment = AddComment(&circuit.MainFrame, "note", 0, 0);
    EXPECT_EQ(HoverText(*comment), "Comment");
    Node* constant = Add("Constant", 0, 0, Catalogue().ConstantReal);
    EXPECT_EQ(HoverText(*constant, {}), "Constant");
    Node* plus = Add("Plus", 100, 0);
    EXPECT_EQ(HoverText(*plus, {}), "Function: Plus");
    Node* print = Add("Print", 200, 0);
    Wire* wire = ConnectPorts(plus->PortArray[3], print->PortArray[1]);
    ASSERT_NE(wire, nullptr);
    EXPECT_EQ(HoverText(*wire, {}), "Wire");
}

TEST_F(HoverTextTest, PortsShowDirectionLabelAndFixedType) {
    Node* print = Add("Print", 0, 0);
    EXPECT_EQ(HoverText(*print->PortArray[1], {}), "Port (In): Value to print");
    Node* toInteger = Add("ToInteger", 0, 0);
    EXPECT_EQ(HoverText(*toInteger->PortArray[1], {}), "Port (In): x (Real)");
    EXPECT_EQ(HoverText(*toInteger->PortArray[2], {}), "Port (Out): int(x) (Integer)");

    // The type shown follows the resolution of the node's implementation.
    Node* constant = Add("Constant", 0, 0, Catalogue().ConstantReal);
    Node* plus = Add("Plus", 100, 0);
    ConnectPorts(constant->PortArray[1], plus->PortArray[1]);
    EXPECT_EQ(HoverText(*plus->PortArray[3], {}), "Port (Out): x + y (Real)");
    ConnectPorts(plus->PortArray[3], print->PortArray[1]);
    EXPECT_EQ(HoverText(*print->PortArray[1], {}), "Port (In): Value to print (Real)");

    Port port;
    port.Label = "v";
    const std::pair<int, const char*> types[] = {
        {PortType::Boolean, " (Boolean)"}, {PortType::Integer, " (Integer)"},
        {PortType::Real, " (Real)"},       {PortType::String, " (String)"},
        {PortType::Generic, ""},           {0, ""}};
    for (auto [type, suffix] : types) {
        port.Type = type;
        port.Direction = Direction::Out;
        EXPECT_EQ(HoverText(port, {}), QString("Port (Out): v") + suffix);
    }
}

} // namespace
} // namespace flow

// The values a run leaves in the ports: every wire of a generated circuit against values worked
// out without the engine, and which values an edit forgets.

#include "engine/PortValues.h"
#include "EngineFixture.h"
#include "engine/Execution.h"
#include "engine/Preparation.h"
#include "engine/Settling.h"
#include "model/Model.h"
#include "model/Placement.h"

#include <random>
#include <unordered_map>

namespace flow::test {
namespace {

class PortValuesTest : public EngineFixture {};

Int Wrapped(const char* function, Int x, Int y) {
    const auto ux = std::uint64_t(x), uy = std::uint64_t(y);
    if (function[0] == 'P') return Int(ux + uy);
    if (function[0] == 'S') return Int(ux - uy);
    return Int(ux * uy);
}

TEST_F(PortValuesTest, EveryWireRemembersTheValueItCarriedInTheLatestRun) {
    Circuit& circuit = MakeCircuit();
    std::mt19937 random(21);
    std::vector<Node*> nodes;
    std::unordered_map<const Node*, Int> expected;
    for (int i = 0; i < 8; ++i) {
        const Int value = Int(random() % 2000) - 1000;
        nodes.push_back(Constant(circuit, value));
        expected[nodes.back()] = value;
    }
    const char* functions[] = {"Plus", "Subtract", "Times"};
    for (int i = 0; i < 120; ++i) {
        const char* function = functions[random() % 3];
        Node* x = nodes[random() % nodes.size()];
        Node* y = nodes[random() % nodes.size()];
        nodes.push_back(Apply(circuit, function, {x, y}));
        expected[nodes.back()] = Wrapped(function, expected[x], expected[y]);
    }
    for (int i = 0; i < 10; ++i)
        PrintOf(circuit, nodes[random() % nodes.size()]);
    EXPECT_FALSE(LatestValue(&Session(circuit), *circuit.MainFrame.Wires.front()));
    Run(circuit);
    Run(circuit); // a second run stamps its own number
    for (const auto& wire : circuit.MainFrame.Wires) {
        const std::optional<CarriedValue> value = LatestValue(&Session(circuit), *wire);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->Type, PortType::Integer);
        EXPECT_EQ(value->Value, expected[wire->Source->Node]);
        EXPECT_EQ(LatestValue(&Session(circuit), *wire->Source)->Value, value->Value);
    }

    // An edit forgets what it changed and keeps the rest.
    Wire* cut = circuit.MainFrame.Wires.back().get();
    Port* input = cut->Destination;
    Port* output = cut->Source;
    Wire* kept = circuit.MainFrame.Wires.front().get();
    DeleteWire(cut);
    EXPECT_FALSE(LatestValue(&Session(circuit), *input));
    EXPECT_TRUE(LatestValue(&Session(circuit), *output));
    SetConstantValue(*nodes.front(), 5, QString());
    EXPECT_FALSE(LatestValue(&Session(circuit), *Output(nodes.front())));
    EXPECT_TRUE(LatestValue(&Session(circuit), *kept));
    // A Start whose run fails shows the values of none.
    PrepareCircuit(Session(circuit));
    EXPECT_FALSE(LatestValue(&Session(circuit), *kept));
}

// The settling test: a cycle's nodes never fire and are not waited for; the rest are.
TEST_F(PortValuesTest, SettlingWaitsForWhatCanFireOnly) {
    Circuit& circuit = MakeCircuit();
    Node* one = Constant(circuit, Int(1));
    Node* plus = Apply(circuit, "Plus", {one, one});
    Node* printed = PrintOf(circuit, one);
    DeleteWire(plus->PortArray[2]->Wires.front());
    ConnectPorts(Output(plus), plus->PortArray[2]);
    Node* stuck = PrintOf(circuit, plus);
    ASSERT_TRUE(PrepareCircuit(Session(circuit))) << Session(circuit).Fault().Message.toStdString();
    const FiringOutlook outlook = OutlookOf(Session(circuit));
    EXPECT_EQ(outlook.NeverFire, (std::vector<Node*>{plus, stuck}));
    ExecuteCircuit(Session(circuit));
    RunToCompletion(Session(circuit));
    EXPECT_TRUE(HasSettled(Session(circuit), outlook));
    EXPECT_TRUE(LatestValue(&Session(circuit), *printed->PortArray[1]));
    EXPECT_FALSE(LatestValue(&Session(circuit), *plus->PortArray[2]));
}

} // namespace
} // namespace flow::test

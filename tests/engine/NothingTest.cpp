// Nothing travels: random circuits of Switch, Merge and Plus nodes skip exactly the nodes a
// plain evaluation predicts, no skipped node prints, and Merge passes on whichever input
// carries a value, whether the nodes fire on their own threads or on those that feed them.

#include "EngineFixture.h"

#include "engine/PortValues.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <optional>
#include <random>
#include <set>

namespace flow::test {
namespace {

using Unsigned = std::uint64_t;
using Maybe = std::optional<Int>; // none: nothing

class NothingTest : public EngineFixture {
  protected:
    std::mt19937 random{std::uint32_t(qEnvironmentVariableIntValue("FLOW_RANDOM_SEED")) ^ 4141u};
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
};

TEST_F(NothingTest, SkippedNodesAreThoseAReferenceEvaluationPredictsAndNoneOfThemPrints) {
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        Circuit& circuit = MakeCircuit();
        // Integer outputs with what they carry, and Boolean ones, in data order.
        std::vector<std::pair<Port*, Maybe>> integers;
        std::vector<std::pair<Port*, bool>> booleans;
        std::set<const Node*> skipped;
        QStringList expected;
        for (int i = 0; i < 3; ++i) {
            const Int value = Below(100);
            integers.push_back({Constant(circuit, value)->PortArray[1], value});
            const bool truth = Below(2) == 0;
            booleans.push_back({Constant(circuit, truth)->PortArray[1], truth});
        }
        const auto someInteger = [&] { return integers[std::size_t(Below(int(integers.size())))]; };
        for (int i = 0; i < 25; ++i) {
            const auto [a, aValue] = someInteger();
            const auto [b, bValue] = someInteger();
            switch (Below(4)) {
            case 0: {
                const auto [condition, truth] = booleans[std::size_t(Below(int(booleans.size())))];
                Node* node = AddNode(&circuit.MainFrame, FindFunction("Switch"), nullptr);
                ConnectPorts(condition, node->PortArray[1]);
                ConnectPorts(a, node->PortArray[2]);
                if (!aValue) skipped.insert(node);
                integers.push_back({node->PortArray[3], truth ? aValue : Maybe()});
                integers.push_back({node->PortArray[4], truth ? Maybe() : aValue});
                break;
            }
            case 1: {
                Node* node = AddNode(&circuit.MainFrame, FindFunction("Merge"), nullptr);
                ConnectPorts(a, node->PortArray[1]);
                ConnectPorts(b, node->PortArray[2]);
                integers.push_back({node->PortArray[3], aValue ? aValue : bValue});
                break;
            }
            case 2: {
                Node* node = AddNode(&circuit.MainFrame, FindFunction("Plus"), nullptr);
                ConnectPorts(a, node->PortArray[1]);
                ConnectPorts(b, node->PortArray[2]);
                Maybe sum;
                if (aValue && bValue)
                    sum = Int(Unsigned(*aValue) + Unsigned(*bValue));
                else
                    skipped.insert(node);
                integers.push_back({node->PortArray[3], sum});
                break;
            }
            case 3: {
                Node* node = AddNode(&circuit.MainFrame, FindFunction("Print"), nullptr);
                ConnectPorts(a, node->PortArray[1]);
                if (aValue)
                    expected << QString::number(*aValue);
                else
                    skipped.insert(node);
                break;
            }
            }
        }
        expected.sort();
        for (int run = 0; run < 2; ++run) {
            // Recorded, every node fires on its own thread; otherwise most fire on the thread
            // of the node that fed them last: the same nodes skip, the same values travel.
            Session(circuit).Watch.SetRecording(run == 1);
            QStringList lines = Run(circuit);
            lines.sort();
            EXPECT_EQ(lines, expected) << "run " << run;
            std::set<const Node*> marked;
            for (const auto& node : circuit.MainFrame.Nodes)
                if (SkippedInLatestRun(&Session(circuit), *node, {})) marked.insert(node.get());
            EXPECT_EQ(marked, skipped) << "run " << run;
            // A wire shows what it carried: nothing where the reference says so.
            for (const auto& [port, value] : integers)
                for (const Port* target : port->Targets) {
                    const auto carried = LatestValue(&Session(circuit), *target);
                    ASSERT_TRUE(carried.has_value());
                    EXPECT_EQ(carried->Nothing, !value.has_value());
                    if (value) {
                        EXPECT_EQ(carried->Value, *value);
                    }
                }
        }
    }
}

} // namespace
} // namespace flow::test

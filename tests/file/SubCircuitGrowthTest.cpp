// Reading sub-circuits costs in proportion to the file: deep nesting, many frames and an
// instance with many pins each grow linearly, and only instances that can run are expanded.

#include "support/Growth.h"
#include "support/HostileFiles.h"

#include "file/CircuitWriter.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace flow::test {
namespace {

// Seconds of processor time to read the text into a new circuit and write it again; `check`
// looks at the circuit read before it is freed.
double ReadAndWrite(const std::string& text, const std::function<void(Circuit&)>& check = {}) {
    Circuit* circuit = nullptr;
    const double seconds = CpuSecondsOf([&] {
        circuit = &ReadWhole(text);
        EXPECT_FALSE(CircuitFileBytes(*circuit).empty());
    });
    if (check) check(*circuit);
    FreeCircuit(*circuit);
    return seconds;
}

TEST(SubCircuitGrowthTest, NestingFramesAndPinsReadInLinearTime) {
    const struct {
        const char* What;
        std::function<std::string(int)> Text;
        int Small;
    } cases[] = {
        {"levels of nesting", [](int n) { return PassThroughChainText(n, 1); }, 150},
        {"frames", [](int n) { return ManyFramesText(n); }, 250},
        {"pins", [](int n) { return ManyPinsText(n); }, 250},
    };
    for (const auto& c : cases) {
        const Growth growth = MeasureGrowth(
            [&](int size) { return ReadAndWrite(c.Text(size)); }, c.Small, c.Small * kSizeRatio);
        EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << c.What << ": " << growth;
    }
}

TEST(SubCircuitGrowthTest, DeletingAWideInstanceOrWhatFeedsItTakesLinearTime) {
    // Each wire goes from the end of every list it stands in, and the instance at either end
    // is not resolved again for each: first the constant wired into all its inputs goes, then
    // the instance.
    const Growth growth = MeasureGrowth(
        [](int pins) {
            Circuit& circuit = ReadWhole(ManyPinsText(pins));
            Node* constant = circuit.MainFrame.Nodes[0].get();
            Node* wide = circuit.MainFrame.Nodes[1].get();
            EXPECT_EQ(wide->Ports.size(), std::size_t(2 * pins));
            const double seconds = CpuSecondsOf([&] {
                DeleteNode(constant);
                DeleteNode(wide);
            });
            EXPECT_TRUE(circuit.MainFrame.Wires.empty());
            FreeCircuit(circuit);
            return seconds;
        },
        250, 250 * kSizeRatio);
    EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << growth;
}

TEST(SubCircuitGrowthTest, OnlyInstancesThatCanRunAreExpanded) {
    // A chain of 300 levels runs as one copy of each body: three nodes a level (two pins and
    // the instance of the level below), not a copy inside every body as well.
    constexpr int kLevels = 300;
    ReadAndWrite(PassThroughChainText(kLevels, 1), [&](Circuit& circuit) {
        EXPECT_LE(circuit.ExpandedNodes, std::size_t(3 * kLevels));
        EXPECT_GE(circuit.ExpandedNodes, std::size_t(2 * kLevels));
        for (const auto& definition : circuit.SubCircuits)
            for (const auto& node : definition->Frames.front()->Nodes)
                EXPECT_EQ(node->Expansion, nullptr);
    });
}

} // namespace
} // namespace flow::test

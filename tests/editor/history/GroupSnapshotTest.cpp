// A group taken out and put back costs in proportion to it: an instance with thousands of wired
// ports goes and comes back with every wire, resolved once rather than once for each of them.

#include "editor/history/GroupSnapshot.h"
#include "file/CircuitWriter.h"
#include "model/Model.h"
#include "support/Growth.h"
#include "support/HostileFiles.h"

#include <gtest/gtest.h>

namespace flow::test {
namespace {

TEST(GroupSnapshotTest, AWideInstanceGoesAndComesBackInLinearTime) {
    const Growth growth = MeasureGrowth(
        [](int pins) {
            Circuit& circuit = ReadWhole(ManyPinsText(pins));
            const std::string before = CircuitFileBytes(circuit);
            Node* wide = circuit.MainFrame.Nodes[1].get();
            const Int outputType = wide->PortArray[std::size_t(pins) + 1]->Type;
            GroupSnapshot snapshot(circuit.MainFrame, FrameObjects{{}, {wide}, {}});
            const double removing = CpuSecondsOf([&] { snapshot.Remove(circuit.MainFrame); });
            EXPECT_TRUE(circuit.MainFrame.Wires.empty());
            const double seconds =
                removing + CpuSecondsOf([&] { snapshot.Restore(circuit.MainFrame); });
            EXPECT_EQ(CircuitFileBytes(circuit), before);
            // Put back, the instance is resolved as it was: its outputs carry the Integer in.
            wide = circuit.MainFrame.Nodes[1].get();
            EXPECT_EQ(wide->PortArray[std::size_t(pins) + 1]->Type, outputType);
            EXPECT_EQ(outputType, PortType::Integer);
            FreeCircuit(circuit);
            return seconds;
        },
        200, 200 * kSizeRatio);
    EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << growth;
}

} // namespace
} // namespace flow::test

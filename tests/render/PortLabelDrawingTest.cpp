// An instance with very many ports draws in time linear in them: each row's label looks up
// whether the other side shares the row instead of asking every other port, and only the rows
// in sight are labelled.

#include "support/Growth.h"
#include "support/HostileFiles.h"

#include "model/Model.h"
#include "render/CircuitPicture.h"
#include "render/CircuitView.h"

#include <gtest/gtest.h>

namespace flow::test {
namespace {

TEST(PortLabelDrawingTest, AWideInstanceDrawsInLinearTime) {
    const Growth growth = MeasureGrowth(
        [](int pins) {
            Circuit& circuit = ReadWhole(ManyPinsText(pins));
            // Without the constant, whose wires would be most of the drawing.
            DeleteNode(circuit.MainFrame.Nodes.front().get());
            QByteArray png;
            CircuitView view(circuit);
            const double seconds = CpuSecondsOf([&] { png = CircuitPng(view, QSize(400, 300)); });
            EXPECT_FALSE(png.isEmpty());
            FreeCircuit(circuit);
            return seconds;
        },
        1000, 1000 * kSizeRatio);
    EXPECT_LT(growth.Ratio(), kLinearGrowthLimit) << growth;
}

} // namespace
} // namespace flow::test

// Port labels of instances: an instance is wide enough for its labels to be drawn whole, and
// one with very many ports draws in time linear in them (each row's label looks up the other
// side of its row instead of asking every other port, and only the rows in sight are labelled).

#include "support/Growth.h"
#include "support/HostileFiles.h"
#include "support/SceneFixture.h"
#include "support/SubCircuitBuilding.h"

#include "model/Model.h"
#include "render/CircuitPicture.h"
#include "render/CircuitView.h"
#include "render/TextMetrics.h"

#include <gtest/gtest.h>

namespace flow::test {
namespace {

class PortLabelWidthTest : public SceneFixture {};

TEST_F(PortLabelWidthTest, AnInstanceIsWideEnoughForItsLabelsWhole) {
    const QFontMetricsF& metrics = MetricsOf(FontAt(RegularFont(), kPortLabelSize));
    const QStringList inputs = {"alpha",    "x",       "Warmth", "carry in", "ÄÖÜ ß",
                                "Count 12", "minimum", "WWWW",   "a² + b²",  "value to print"};
    const QStringList outputs = {"x plus y", "result", "sum", "ToString", "mmmm", "average"};
    FunctionDef* definition = AddSubCircuit(circuit, QStringLiteral("f"));
    for (qsizetype i = 0; i < inputs.size(); ++i)
        AddPin(*definition, PinFunctions().Input, inputs[i], -100, Int(i) * 40);
    for (qsizetype i = 0; i < outputs.size(); ++i)
        AddPin(*definition, PinFunctions().Output, outputs[i], 100, Int(i) * 40);
    Node& instance = *AddNode(&circuit.MainFrame, definition, nullptr);
    FollowDefinitions(circuit);
    const double width = double(instance.Width);
    for (qsizetype row = 0; row < inputs.size(); ++row) {
        const double needs =
            RunWidth(metrics, inputs[row]) +
            (row < outputs.size() ? RunWidth(metrics, outputs[row]) + 3 * kPortLabelInset
                                  : 1.5 * kPortLabelInset);
        EXPECT_LE(needs, width) << inputs[row].toStdString();
    }
    // Output ports stand on the right side, wherever it now is.
    EXPECT_EQ(instance.PortArray.back()->X, instance.Width - 3);

    // Not wider than they need: labels that fit keep the width the name gives.
    FunctionDef* small = AddSubCircuit(circuit, QStringLiteral("Double"));
    AddPin(*small, PinFunctions().Input, QStringLiteral("x"), -100, 0);
    AddPin(*small, PinFunctions().Output, QStringLiteral("x + x"), 100, 0);
    LayOutSubCircuit(*small);
    EXPECT_EQ(small->Width, 72);
    EXPECT_LT(width, 2 * (metrics.horizontalAdvance(inputs[9]) +
                          metrics.horizontalAdvance(QStringLiteral("x plus y"))));
    // Labels as long as names may be keep instances within bounds; the drawing cuts them.
    SetPinName(*BodyOf(*small).Nodes.front(), QString(kLongestName, QLatin1Char('W')));
    LayOutSubCircuit(*small);
    EXPECT_EQ(small->Width, kWidestInstance);
}

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

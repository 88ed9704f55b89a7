// Objects at the ends of the 64-bit coordinate range: drawn, hovered, dragged and checked
// without any sum leaving the range (the sanitizer build stops on the first that does).

#include "EditorFixture.h"
#include "editor/window/RunMarks.h"
#include "editor/window/WindowObserver.h"
#include "support/Files.h"

#include "editor/canvas/CanvasRedraw.h"
#include "engine/Preparation.h"
#include "file/CircuitReader.h"
#include "render/Redraw.h"

#include <QTemporaryDir>

#include <cstdint>

namespace flow::test {
namespace {

using CanvasInteractionExtremeCoordinatesTest = EditorFixture;

constexpr Int kMax = INT64_MAX, kMin = INT64_MIN;

const char kFile[] =
    "<Flowlattice><Camera X=\"0\" Y=\"0\" Magnification=\"1\"/><MainFrame>"
    "<Comment X=\"9223372036854775807\" Y=\"-9223372036854775808\" Text=\"far\"/>"
    "<Node ID=\"1\" Function=\"Plus\" X=\"9223372036854775807\" Y=\"9223372036854775807\"/>"
    "<Node ID=\"2\" Function=\"Print\" X=\"-9223372036854775808\" Y=\"-9223372036854775808\"/>"
    "<Node ID=\"3\" Function=\"Constant\" X=\"-9223372036854775808\" Y=\"9223372036854775807\">"
    "<String Value=\"edge\"/></Node>"
    "<Node ID=\"4\" Function=\"Constant\" X=\"0\" Y=\"0\"><Integer Value=\"1\"/></Node>"
    "<Wire Source=\"3/1\" Destination=\"1/1\"/><Wire Source=\"4/1\" Destination=\"1/2\"/>"
    "<Wire Source=\"1/3\" Destination=\"2/1\"/><Wire Source=\"2/1\" Destination=\"3/1\"/>"
    "</MainFrame></Flowlattice>";

TEST_F(CanvasInteractionExtremeCoordinatesTest, DrawnHoveredDraggedAndCheckedWithoutOverflow) {
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("extreme.xml"));
    ASSERT_TRUE(WriteBytes(name, kFile));
    Circuit* loaded = LoadCircuit(name);
    ASSERT_NE(loaded, nullptr);
    Circuit& circuit = *loaded;
    ASSERT_EQ(circuit.MainFrame.Nodes.size(), 4u);
    OpenCircuitWindow(circuit);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowOf(circuit)));

    // Hover sweeps every object's test; a rubber band tests every box.
    for (int x = -300; x <= 300; x += 150)
        MoveTo(circuit, x, x / 2);
    Drag(circuit, -300, -200, 300, 200);

    // Everything selected, then dragged by the ordinary node: the far ones stop at the ends.
    for (const auto& node : circuit.MainFrame.Nodes)
        node->Flags |= ObjectFlag::Selected;
    for (const auto& comment : circuit.MainFrame.Comments)
        comment->Flags |= ObjectFlag::Selected;
    Node& near = *circuit.MainFrame.Nodes.back();
    const double middleX = Middle(near).x(), middleY = Middle(near).y();
    Drag(circuit, middleX, middleY, middleX + 40, middleY - 30);
    EXPECT_EQ(near.X, 40);
    EXPECT_EQ(near.Y, -30);
    EXPECT_EQ(circuit.MainFrame.Nodes[0]->X, kMax);
    EXPECT_EQ(circuit.MainFrame.Nodes[0]->Y, kMax - 30);
    EXPECT_EQ(circuit.MainFrame.Nodes[1]->X, kMin + 40);
    EXPECT_EQ(circuit.MainFrame.Comments[0]->X, kMax);
    Drag(circuit, middleX + 40, middleY - 30, middleX - 40, middleY + 30);
    EXPECT_EQ(circuit.MainFrame.Nodes[1]->X, kMin);
    EXPECT_EQ(circuit.MainFrame.Nodes[0]->Y, kMax);

    // Wires between far ports are invalid here: the defect lies halfway between the two ports,
    // a point that no Int sum of both reaches.
    StartRun(circuit);
    EXPECT_EQ(SessionOf(circuit).State(), RunState::Defect);
    EXPECT_EQ(SessionOf(circuit).Fault().Kind, ErrorKind::InvalidWire);
    EXPECT_NEAR(double(ViewOf(circuit)->CameraY), double(kMax) / 2, 100.0);
    RedrawCircuit(circuit);
}

} // namespace
} // namespace flow::test

// File → Export Image…: the view or the whole circuit, as PNG or SVG.

#include "EditorFixture.h"
#include "support/ExampleWindow.h"
#include "support/XmlRoots.h"

#include "editor/actions/ExportImage.h"
#include "render/Camera.h"
#include "render/Palette.h"
#include "render/ValueLabels.h"

#include <QImage>
#include <QTemporaryDir>

namespace flow::test {
namespace {

using ExportImageTest = EditorFixture;

TEST_F(ExportImageTest, WritesTheViewOrTheWholeCircuit) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, "Constant (Integer)", 0, 0);
    constant.X = 5000; // far outside the current view
    ViewOf(circuit)->CameraX = 10;
    QTemporaryDir directory;
    ExportChoice choice;
    ChooseExport() = [&](QWidget*) { return choice; };
    const QSize canvas = CanvasOf(circuit).size();
    const auto bluePixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == PortTypeColor(PortType::Integer);
        return count;
    };

    choice = {directory.filePath("view.png"), false};
    OnMenu(circuit, Command::ExportImage);
    const QImage view(choice.FileName);
    EXPECT_EQ(view.size(), canvas * CanvasOf(circuit).devicePixelRatioF()) << "as sharp as shown";
    EXPECT_EQ(bluePixels(view), 0);
    EXPECT_TRUE(StatusNotice(circuit).contains("Exported")) << StatusNotice(circuit).toStdString();

    choice = {directory.filePath("whole.png"), true};
    OnMenu(circuit, Command::ExportImage);
    EXPECT_GT(bluePixels(QImage(choice.FileName)), 10);
    EXPECT_EQ(ViewOf(circuit)->CameraX, 10) << "the window keeps its view";
    EXPECT_FLOAT_EQ(ViewOf(circuit)->ZoomLevel, 0.0f);

    choice = {directory.filePath("whole.SVG"), true};
    OnMenu(circuit, Command::ExportImage);
    EXPECT_EQ(RootElements(choice.FileName), QStringList{"svg"});

    choice = {directory.filePath("no/such/folder/x.png"), false};
    OnMenu(circuit, Command::ExportImage);
    EXPECT_TRUE(StatusNotice(circuit).startsWith("Cannot export"))
        << StatusNotice(circuit).toStdString();
    choice = {};
    OnMenu(circuit, Command::ExportImage); // cancelled: nothing happens
    ChooseExport() = ExportChooser();
}

TEST_F(ExportImageTest, APictureLeavesOutWhatTheLatestRunMarked) {
    Circuit* cycle = OpenExampleWindow("cycle.xml", {640, 480});
    ASSERT_NE(cycle, nullptr);
    const auto neverFired = [&] {
        return std::count_if(cycle->MainFrame.Nodes.begin(), cycle->MainFrame.Nodes.end(),
                             [](const auto& node) { return node->Flags & ObjectFlag::NeverFired; });
    };
    ShowValueLabels(true);
    Key(*cycle, Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return neverFired() == 2; }));
    QTemporaryDir directory;
    ExportChoice choice{directory.filePath("marked.png"), true};
    ChooseExport() = [&](QWidget*) { return choice; };
    OnMenu(*cycle, Command::ExportImage);
    const QImage marked(choice.FileName);
    EXPECT_TRUE(ValueLabelsShown()) << "the window shows them again";
    EXPECT_EQ(neverFired(), 2);

    ShowValueLabels(false);
    for (const auto& node : cycle->MainFrame.Nodes)
        node->Flags &= ~ObjectFlag::NeverFired;
    choice = {directory.filePath("plain.png"), true};
    OnMenu(*cycle, Command::ExportImage);
    EXPECT_EQ(marked, QImage(choice.FileName)) << "no value labels, no never-fired outlines";
    ChooseExport() = ExportChooser();
}

} // namespace
} // namespace flow::test

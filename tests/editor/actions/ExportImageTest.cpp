// File → Export Image…: the view or the whole circuit, as PNG or SVG.

#include "EditorFixture.h"
#include "support/XmlRoots.h"

#include "editor/actions/ExportImage.h"
#include "render/Camera.h"
#include "render/Palette.h"

#include <QImage>
#include <QTemporaryDir>

namespace flow::test {
namespace {

using ExportImageTest = EditorFixture;

TEST_F(ExportImageTest, WritesTheViewOrTheWholeCircuit) {
    Circuit& circuit = OpenWindow();
    Node& constant = Place(circuit, 13, 0, 0);
    constant.X = 5000; // far outside the current view
    circuit.CameraX = 10;
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
    EXPECT_EQ(circuit.CameraX, 10) << "the window keeps its view";
    EXPECT_FLOAT_EQ(circuit.ZoomLevel, 0.0f);

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

} // namespace
} // namespace flow::test

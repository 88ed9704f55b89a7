// The picture a redraw makes must not change when the drawing gets faster. Reference pictures
// of every example and of a generated circuit at several zoom levels are kept in look/; run
// with FLOW_WRITE_LOOK=1 to write them again after a deliberate change of the look.

#include "support/Examples.h"
#include "support/GeneratedCircuit.h"
#include "support/SceneFixture.h"

#include "file/CircuitReader.h"

#include <QDir>

#include <cstdlib>

namespace flow {
namespace {

using namespace flow::test;

// Cached sprites are placed to an eighth of a pixel, which may move a blended edge by this
// many levels in a channel.
constexpr int kTolerance = 2;

QString LookFile(const QString& name) {
    return SourceDirectory() + "/tests/render/look/" + name + ".png";
}

bool Writing() {
    return qEnvironmentVariableIsSet("FLOW_WRITE_LOOK");
}

struct Difference {
    int Pixels = 0; // beyond the tolerance
    int Largest = 0;
};

Difference Compare(const QImage& actual, const QImage& expected) {
    Difference difference;
    for (int y = 0; y < actual.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const QRgb* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int largest = std::max(
                {std::abs(qRed(a[x]) - qRed(e[x])), std::abs(qGreen(a[x]) - qGreen(e[x])),
                 std::abs(qBlue(a[x]) - qBlue(e[x])), std::abs(qAlpha(a[x]) - qAlpha(e[x]))});
            difference.Largest = std::max(difference.Largest, largest);
            difference.Pixels += largest > kTolerance;
        }
    }
    return difference;
}

class RedrawLookTest : public SceneFixture {
  protected:
    void Check(CircuitView& shown, const QString& name, float zoom, QSize size) {
        shown.ZoomLevel = zoom;
        shown.Magnification = std::exp2(zoom);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        RedrawViewInto(shown, image);
        const QString file = LookFile(QStringLiteral("%1_%2").arg(name).arg(zoom));
        if (Writing()) {
            QDir().mkpath(QFileInfo(file).absolutePath());
            ASSERT_TRUE(image.save(file)) << file.toStdString();
            return;
        }
        const QImage expected = QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(expected.size(), size) << file.toStdString();
        const Difference difference = Compare(image, expected);
        EXPECT_EQ(difference.Pixels, 0) << name.toStdString() << " at zoom " << zoom
                                        << ": largest difference " << difference.Largest;
    }
};

TEST_F(RedrawLookTest, ExamplesLookAsBefore) {
    const QStringList examples = QDir(SourceDirectory() + "/examples").entryList({"*.xml"});
    ASSERT_GE(examples.size(), 6);
    for (const QString& example : examples) {
        Circuit* loaded = LoadCircuit(Example(example));
        ASSERT_NE(loaded, nullptr) << example.toStdString();
        // Where the file's camera stands.
        CircuitView shown(*loaded);
        shown.TakeSavedCamera();
        for (float zoom : {-1.25f, 0.0f, 0.75f, 2.0f})
            Check(shown, QFileInfo(example).baseName(), zoom, QSize(640, 480));
        CloseCircuit(*loaded);
    }
}

// A thousand nodes, some selected, a drag under way and a node hovered: whole in view, at 1:1,
// and magnified.
TEST_F(RedrawLookTest, GeneratedCircuitLooksAsBefore) {
    GenerateCircuit(circuit, 1000);
    view.TakeSavedCamera();
    Frame& frame = circuit.MainFrame;
    for (std::size_t i = 0; i < frame.Nodes.size(); i += 5)
        frame.Nodes[i]->Flags |= ObjectFlag::Selected;
    for (std::size_t i = 0; i < frame.Wires.size(); i += 7)
        frame.Wires[i]->Flags |= ObjectFlag::Selected;
    for (std::size_t i = 0; i < frame.Comments.size(); i += 3)
        frame.Comments[i]->Flags |= ObjectFlag::Selected;
    view.MouseX = frame.Nodes[500]->X + 10;
    view.MouseY = frame.Nodes[500]->Y + 10;
    for (float zoom : {WholeCircuitZoom(1000, 640), -1.0f, 0.0f, 0.25f, 1.5f})
        Check(view, QStringLiteral("generated"), zoom, QSize(640, 480));
    view.Press = press::Dragging{0, 0, 37, -12};
    Check(view, QStringLiteral("dragged"), -0.5f, QSize(640, 480));
}

} // namespace
} // namespace flow

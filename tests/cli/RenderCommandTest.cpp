// The headless --render command end to end: the real binary drawing examples to PNG and SVG.

#include "ProgramRun.h"
#include "support/Examples.h"
#include "support/Files.h"
#include "support/SceneFixture.h"
#include "support/XmlRoots.h"

#include "file/CircuitReader.h"
#include "render/CircuitPicture.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace flow {
namespace {

using namespace flow::test;

class RenderCommandTest : public SceneFixture {
  protected:
    // What --render draws: the file's camera, and none of the editing.
    static void DrawAsRenderDoes(CircuitView& view) {
        view.ShowsEditing = false;
        view.TakeSavedCamera();
    }

    void SetUp() override {
        ASSERT_TRUE(QFileInfo(FlowlatticeBinary()).isExecutable())
            << FlowlatticeBinary().toStdString();
        ASSERT_TRUE(QFileInfo::exists(Example("sum.xml")));
        ASSERT_TRUE(directory.isValid());
    }
    QTemporaryDir directory;
};

TEST_F(RenderCommandTest, DrawsTheCanvasAsTheWindowWould) {
    const QString png = directory.filePath("sum.png");
    const Outcome result =
        Flowlattice({"--render", Example("sum.xml"), "--output", png, "--size", "640x480"});
    ASSERT_EQ(result.Status, 0) << result.Error.toStdString();
    EXPECT_EQ(result.Error, "");
    const QImage written(png);
    ASSERT_EQ(written.size(), QSize(640, 480));

    // The same redraw in this process gives the same picture.
    Circuit* circuit = LoadCircuit(Example("sum.xml"));
    ASSERT_NE(circuit, nullptr);
    CircuitView view(*circuit);
    DrawAsRenderDoes(view);
    const QImage expected = QImage::fromData(CircuitPng(view, QSize(640, 480)));
    EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    int integerWire = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            integerWire += written.pixel(x, y) == 0xFF4080FFu;
    EXPECT_GT(integerWire, 100);

    const Outcome defaultSize = Flowlattice({"--render", Example("sum.xml"), "--output", png});
    ASSERT_EQ(defaultSize.Status, 0);
    EXPECT_EQ(QImage(png).size(), QSize(800, 600));
}

// --scale 2 draws the same view in twice the pixels each way, as a screen scaled to 200 %
// shows it; a scale that is not a positive number, or too large an image, is refused.
TEST_F(RenderCommandTest, ScaleDrawsTheSameViewInMorePixels) {
    const QString png = directory.filePath("sum2.png");
    const Outcome result = Flowlattice(
        {"--render", Example("sum.xml"), "--output", png, "--size", "640x480", "--scale", "2"});
    ASSERT_EQ(result.Status, 0) << result.Error.toStdString();
    const QImage written(png);
    ASSERT_EQ(written.size(), QSize(1280, 960));

    Circuit* circuit = LoadCircuit(Example("sum.xml"));
    ASSERT_NE(circuit, nullptr);
    CircuitView view(*circuit);
    DrawAsRenderDoes(view);
    const QImage expected = QImage::fromData(CircuitPng(view, QSize(640, 480), 2));
    EXPECT_EQ(view.CanvasWidth, 640);
    EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));

    const Outcome half = Flowlattice(
        {"--render", Example("sum.xml"), "--output", png, "--size", "640x480", "--scale", "0.5"});
    ASSERT_EQ(half.Status, 0) << half.Error.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(320, 240));

    for (const char* scale : {"0", "-1", "x", "2x", "nan", "inf", "40", "1e-10", "1e-300"}) {
        const Outcome refused =
            Flowlattice({"--render", Example("sum.xml"), "--output", png, "--scale", scale});
        EXPECT_EQ(refused.Status, 2) << scale;
        EXPECT_TRUE(refused.Error.contains("--scale")) << scale;
    }
}

TEST_F(RenderCommandTest, UnreadableCircuitOrUnwritableImageExitsWithTwo) {
    Outcome result = Flowlattice(
        {"--render", directory.filePath("missing.xml"), "--output", directory.filePath("a.png")});
    EXPECT_EQ(result.Status, 2);
    EXPECT_TRUE(result.Error.contains("cannot read")) << result.Error.toStdString();
    EXPECT_FALSE(QFile::exists(directory.filePath("a.png")));

    result = Flowlattice(
        {"--render", Example("sum.xml"), "--output", directory.filePath("no/such/dir/a.png")});
    EXPECT_EQ(result.Status, 2);
    EXPECT_TRUE(result.Error.contains("cannot write")) << result.Error.toStdString();

    result = Flowlattice({"--render", Example("sum.xml"), "--output", directory.filePath("a.png"),
                          "--size", "0x600"});
    EXPECT_EQ(result.Status, 2);
}

// The SVG drawn by a second renderer, on the PNG's own size.
QImage Rasterised(const QString& svg, QSize size) {
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The mean difference of the colour channels, in levels of 255.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

TEST_F(RenderCommandTest, SvgOfEveryExampleIsOneSvgDocumentThatLooksLikeThePng) {
    const QStringList examples = QDir(ExamplesFolder()).entryList({"*.xml"}, QDir::Files);
    ASSERT_GE(examples.size(), 6);
    for (const QString& example : examples) {
        SCOPED_TRACE(example.toStdString());
        const QString svg = directory.filePath(example + ".svg");
        const QString png = directory.filePath(example + ".png");
        for (const QString& output : {svg, png})
            ASSERT_EQ(Flowlattice({"--render", Example(example), "--output", output}).Status, 0);
        EXPECT_EQ(RootElements(svg), QStringList{"svg"});
        const QImage drawn(png);
        const QImage rasterised = Rasterised(svg, drawn.size());
        // Anti-aliasing and glyph rendering differ a little between the two; a missing or
        // misplaced object or a wrong colour costs far more.
        EXPECT_LT(MeanDifference(drawn, rasterised), 1.5);
    }
}

TEST_F(RenderCommandTest, SvgStaysWellFormedWhateverTheTextsHold) {
    const QString file = directory.filePath("controls.xml");
    ASSERT_TRUE(WriteBytes(file,
                           "<Flowlattice><MainFrame>"
                           "<Comment X=\"0\" Y=\"0\" Text=\"bell\\a &amp; &lt;b&gt; \\f\\v\"/>"
                           "<Node ID=\"1\" Function=\"Constant\" X=\"90\" Y=\"40\">"
                           "<String Value=\"x\\by &quot;\"/></Node></MainFrame></Flowlattice>"));
    const QString svg = directory.filePath("controls.svg");
    ASSERT_EQ(Flowlattice({"--render", file, "--output", svg}).Status, 0);
    EXPECT_EQ(RootElements(svg), QStringList{"svg"});
    const std::string bytes = ReadBytes(svg);
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.find("bell &amp; &lt;b&gt;"), std::string::npos) << "texts stay texts";
}

TEST_F(RenderCommandTest, FitDrawsTheWholeCircuitInsteadOfTheSavedView) {
    // Two constants far apart, both outside the saved view at the origin.
    const QString file = directory.filePath("far.xml");
    ASSERT_TRUE(WriteBytes(file, "<Flowlattice><MainFrame>"
                                 "<Node ID=\"1\" Function=\"Constant\" X=\"-700\" Y=\"300\">"
                                 "<Integer Value=\"1\"/></Node>"
                                 "<Node ID=\"2\" Function=\"Constant\" X=\"900\" Y=\"-250\">"
                                 "<Integer Value=\"2\"/></Node></MainFrame></Flowlattice>"));
    const auto integerColumns = [](const QImage& image) {
        // The columns where the blue of an Integer constant shows (the grid and the node
        // bodies are grey).
        QList<int> columns;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qBlue(image.pixel(x, y)) > qRed(image.pixel(x, y)) + 40) {
                    columns << x;
                    break;
                }
        return columns;
    };
    const QString saved = directory.filePath("saved.png"), fitted = directory.filePath("fit.png");
    ASSERT_EQ(Flowlattice({"--render", file, "--output", saved}).Status, 0);
    ASSERT_EQ(
        Flowlattice({"--render", file, "--output", fitted, "--fit", "--size", "500x300"}).Status,
        0);
    EXPECT_TRUE(integerColumns(QImage(saved)).isEmpty());
    const QList<int> columns = integerColumns(QImage(fitted));
    ASSERT_FALSE(columns.isEmpty());
    EXPECT_LT(columns.front(), 100);
    EXPECT_GT(columns.back(), 400);
    EXPECT_EQ(QImage(fitted).size(), QSize(500, 300));
}

} // namespace
} // namespace flow

#include "SceneFixture.h"
#include "file/CircuitReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace flow {
namespace {

struct Result {
    int ExitCode = -1;
    QString Errors;
};

// CTest passes the paths in the environment; run by hand, the test finds them beside itself.
QString Binary() {
    const QString binary = qEnvironmentVariable("FLOW_BINARY");
    return binary.isEmpty() ? QCoreApplication::applicationDirPath() + "/../flowlattice" : binary;
}

Result RunFlowlattice(const QStringList& arguments) {
    QProcess process;
    process.start(Binary(), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class RenderCommandTest : public SceneFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(Binary()).isExecutable()) << Binary().toStdString();
        ASSERT_TRUE(QFileInfo::exists(Example("sum.xml")));
        ASSERT_TRUE(directory.isValid());
    }
    QTemporaryDir directory;
};

TEST_F(RenderCommandTest, DrawsTheCanvasAsTheWindowWould) {
    const QString png = directory.filePath("sum.png");
    const Result result =
        RunFlowlattice({"--render", Example("sum.xml"), "--output", png, "--size", "640x480"});
    ASSERT_EQ(result.ExitCode, 0) << result.Errors.toStdString();
    EXPECT_EQ(result.Errors, "");
    const QImage written(png);
    ASSERT_EQ(written.size(), QSize(640, 480));

    // The same redraw in this process gives the same picture.
    Circuit* circuit = LoadCircuit(Example("sum.xml"));
    ASSERT_NE(circuit, nullptr);
    QImage expected(640, 480, QImage::Format_ARGB32_Premultiplied);
    RedrawCircuitInto(*circuit, expected);
    EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);
    int integerWire = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            integerWire += written.pixel(x, y) == 0xFF4080FFu;
    EXPECT_GT(integerWire, 100);

    const Result defaultSize = RunFlowlattice({"--render", Example("sum.xml"), "--output", png});
    ASSERT_EQ(defaultSize.ExitCode, 0);
    EXPECT_EQ(QImage(png).size(), QSize(800, 600));
}

// --scale 2 draws the same view in twice the pixels each way, as a screen scaled to 200 %
// shows it; a scale that is not a positive number, or too large an image, is refused.
TEST_F(RenderCommandTest, ScaleDrawsTheSameViewInMorePixels) {
    const QString png = directory.filePath("sum2.png");
    const Result result = RunFlowlattice(
        {"--render", Example("sum.xml"), "--output", png, "--size", "640x480", "--scale", "2"});
    ASSERT_EQ(result.ExitCode, 0) << result.Errors.toStdString();
    const QImage written(png);
    ASSERT_EQ(written.size(), QSize(1280, 960));

    Circuit* circuit = LoadCircuit(Example("sum.xml"));
    ASSERT_NE(circuit, nullptr);
    QImage expected(1280, 960, QImage::Format_ARGB32_Premultiplied);
    expected.setDevicePixelRatio(2);
    RedrawCircuitInto(*circuit, expected);
    EXPECT_EQ(circuit->CanvasWidth, 640);
    expected.setDevicePixelRatio(1);
    EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);

    const Result half = RunFlowlattice(
        {"--render", Example("sum.xml"), "--output", png, "--size", "640x480", "--scale", "0.5"});
    ASSERT_EQ(half.ExitCode, 0) << half.Errors.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(320, 240));

    for (const char* scale : {"0", "-1", "x", "2x", "nan", "inf", "40"}) {
        const Result refused =
            RunFlowlattice({"--render", Example("sum.xml"), "--output", png, "--scale", scale});
        EXPECT_EQ(refused.ExitCode, 2) << scale;
        EXPECT_TRUE(refused.Errors.contains("--scale")) << scale;
    }
}

TEST_F(RenderCommandTest, UnreadableCircuitOrUnwritableImageExitsWithTwo) {
    Result result = RunFlowlattice(
        {"--render", directory.filePath("missing.xml"), "--output", directory.filePath("a.png")});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_TRUE(result.Errors.contains("cannot read")) << result.Errors.toStdString();
    EXPECT_FALSE(QFile::exists(directory.filePath("a.png")));

    result = RunFlowlattice(
        {"--render", Example("sum.xml"), "--output", directory.filePath("no/such/dir/a.png")});
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_TRUE(result.Errors.contains("cannot write")) << result.Errors.toStdString();

    result = RunFlowlattice({"--render", Example("sum.xml"), "--output",
                             directory.filePath("a.png"), "--size", "0x600"});
    EXPECT_EQ(result.ExitCode, 2);
}

// The root element names of a well-formed document; empty when it is not well-formed.
QStringList RootElements(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader reader(&file);
    QStringList roots;
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && depth++ == 0)
            roots << reader.name().toString();
        else if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return reader.hasError() ? QStringList() : roots;
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
    const QStringList examples =
        QDir(SourceDirectory() + "/examples").entryList({"*.xml"}, QDir::Files);
    ASSERT_GE(examples.size(), 6);
    for (const QString& example : examples) {
        SCOPED_TRACE(example.toStdString());
        const QString svg = directory.filePath(example + ".svg");
        const QString png = directory.filePath(example + ".png");
        for (const QString& output : {svg, png})
            ASSERT_EQ(RunFlowlattice({"--render", Example(example), "--output", output}).ExitCode,
                      0);
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
    QFile circuitFile(file);
    ASSERT_TRUE(circuitFile.open(QIODevice::WriteOnly));
    circuitFile.write("<Flowlattice><MainFrame>"
                      "<Comment X=\"0\" Y=\"0\" Text=\"bell\\a &amp; &lt;b&gt; \\f\\v\"/>"
                      "<Node ID=\"1\" Function=\"Constant\" X=\"90\" Y=\"40\">"
                      "<String Value=\"x\\by &quot;\"/></Node></MainFrame></Flowlattice>");
    circuitFile.close();
    const QString svg = directory.filePath("controls.svg");
    ASSERT_EQ(RunFlowlattice({"--render", file, "--output", svg}).ExitCode, 0);
    EXPECT_EQ(RootElements(svg), QStringList{"svg"});
    QFile written(svg);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.contains("bell &amp; &lt;b&gt;")) << "texts stay texts";
}

TEST_F(RenderCommandTest, FitDrawsTheWholeCircuitInsteadOfTheSavedView) {
    // Two constants far apart, both outside the saved view at the origin.
    const QString file = directory.filePath("far.xml");
    QFile circuitFile(file);
    ASSERT_TRUE(circuitFile.open(QIODevice::WriteOnly));
    circuitFile.write("<Flowlattice><MainFrame>"
                      "<Node ID=\"1\" Function=\"Constant\" X=\"-700\" Y=\"300\">"
                      "<Integer Value=\"1\"/></Node>"
                      "<Node ID=\"2\" Function=\"Constant\" X=\"900\" Y=\"-250\">"
                      "<Integer Value=\"2\"/></Node></MainFrame></Flowlattice>");
    circuitFile.close();
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
    ASSERT_EQ(RunFlowlattice({"--render", file, "--output", saved}).ExitCode, 0);
    ASSERT_EQ(RunFlowlattice({"--render", file, "--output", fitted, "--fit", "--size", "500x300"})
                  .ExitCode,
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

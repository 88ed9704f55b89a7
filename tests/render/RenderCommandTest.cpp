#include "SceneFixture.h"

#include "file/CircuitFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

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

} // namespace
} // namespace flow

// --run end to end: the real binary on the example circuits and on files that cannot be read.

#include "ProgramRun.h"
#include "support/Examples.h"
#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace flow::test;

// Independent branches of a circuit may print in either order.
QStringList SortedLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.takeLast(), QString()); // every line ends with a line feed
    lines.sort();
    return lines;
}

TEST(RunCommandTest, ExamplesPrintTheirResults) {
    const Outcome sum = Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("sum.xml"))});
    EXPECT_EQ(sum.Status, 0) << sum.Error.toStdString();
    EXPECT_EQ(sum.Out, QStringLiteral("5\n"));
    EXPECT_EQ(sum.Error, QString());

    const struct {
        const char* File;
        QStringList Lines;
    } examples[] = {
        {"text.xml", {QStringLiteral("6 × 7 = 42"), QStringLiteral("Flowlattice")}},
        {"logic.xml",
         {QStringLiteral("8"), QStringLiteral("False"), QStringLiteral("True"),
          QStringLiteral("True")}},
        {"real.xml",
         {QStringLiteral("-2"), QStringLiteral("0.333333"), QStringLiteral("1.23457e6"),
          QStringLiteral("10."), QStringLiteral("3.5")}},
        {"subcircuits.xml", {QStringLiteral("25"), QStringLiteral("6.25")}},
    };
    for (const auto& example : examples) {
        const Outcome run =
            Flowlattice({QStringLiteral("--run"), Example(QString::fromLatin1(example.File))});
        EXPECT_EQ(run.Status, 0) << example.File << run.Error.toStdString();
        EXPECT_EQ(SortedLines(run.Out), example.Lines) << example.File;
    }
}

TEST(RunCommandTest, DefectAndNodesThatNeverFireHaveTheirOwnStatus) {
    const Outcome defect =
        Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("defect.xml"))});
    EXPECT_EQ(defect.Status, 1);
    EXPECT_EQ(defect.Out, QString());
    EXPECT_TRUE(defect.Error.contains(QStringLiteral("Missing input port connection")))
        << defect.Error.toStdString();
    EXPECT_TRUE(defect.Error.contains(QStringLiteral("Plus node at 0, -20")))
        << defect.Error.toStdString();

    // Square without its second factor: the defect is named through both instances around it.
    QTemporaryDir folder;
    std::string inside = ReadBytes(Example(QStringLiteral("subcircuits.xml")));
    const std::string factor = "<Wire Source=\"17/1\" Destination=\"18/2\"/>";
    ASSERT_NE(inside.find(factor), std::string::npos);
    inside.erase(inside.find(factor), factor.size());
    const QString broken = folder.filePath(QStringLiteral("broken.xml"));
    ASSERT_TRUE(WriteBytes(broken, inside));
    const Outcome deep = Flowlattice({QStringLiteral("--run"), broken});
    EXPECT_EQ(deep.Status, 1);
    EXPECT_TRUE(deep.Error.contains(
        QStringLiteral("(input 2 \"y\" of the Times node at 0, -8 inside Square, instance at -60, "
                       "-30 inside Sum of squares, instance at -60, -60)")))
        << deep.Error.toStdString();

    const Outcome cycle =
        Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("cycle.xml"))});
    EXPECT_EQ(cycle.Status, 3);
    EXPECT_EQ(cycle.Out, QStringLiteral("1\n"));
    EXPECT_TRUE(cycle.Error.contains(QStringLiteral("2 nodes could never fire")))
        << cycle.Error.toStdString();
}

TEST(RunCommandTest, UnreadableFilesAndBadArgumentsExitWithTwo) {
    QTemporaryDir folder;
    const QString empty = folder.filePath(QStringLiteral("empty.xml"));
    const QString binary = folder.filePath(QStringLiteral("binary.xml"));
    ASSERT_TRUE(WriteBytes(empty, ""));
    ASSERT_TRUE(WriteBytes(binary, std::string_view("\x7F"
                                                    "ELF\x02\x01\x00\x00\xFF\xFE",
                                                    10)));
    const struct {
        QStringList Arguments;
        const char* Reason;
    } cases[] = {
        {{QStringLiteral("--run"), folder.filePath(QStringLiteral("missing.xml"))}, "no such file"},
        {{QStringLiteral("--run"), folder.path()}, "directory"},
        {{QStringLiteral("--run"), empty}, "empty"},
        {{QStringLiteral("--run"), binary}, "no XML element"},
        {{QStringLiteral("--run")}, "--run takes"},
        {{QStringLiteral("--run"), empty, empty}, "--run takes"},
    };
    for (const auto& c : cases) {
        const Outcome run = Flowlattice(c.Arguments);
        EXPECT_EQ(run.Status, 2) << c.Reason;
        EXPECT_EQ(run.Out, QString()) << c.Reason;
        EXPECT_TRUE(run.Error.contains(QString::fromLatin1(c.Reason)))
            << c.Reason << ": " << run.Error.toStdString();
    }
}

} // namespace

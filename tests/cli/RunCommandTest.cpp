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
        {"temperature.xml", {QStringLiteral("212.")}},
    };
    for (const auto& example : examples) {
        const Outcome run =
            Flowlattice({QStringLiteral("--run"), Example(QString::fromLatin1(example.File))});
        EXPECT_EQ(run.Status, 0) << example.File << run.Error.toStdString();
        EXPECT_EQ(SortedLines(run.Out), example.Lines) << example.File;
    }

    // The input takes another value for one run.
    const Outcome body =
        Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("temperature.xml")),
                     QStringLiteral("--set"), QStringLiteral("celsius=37")});
    EXPECT_EQ(body.Status, 0) << body.Error.toStdString();
    EXPECT_EQ(body.Out, QStringLiteral("98.6\n"));

    // The loops' lines come in the order of their iterations, exactly.
    const struct {
        const char* File;
        QString Out;
    } loops[] = {
        {"factorial.xml", "3628800\n"},
        {"gcd.xml", "21\n"},
        {"collatz.xml", "111\n"},
        {"fizzbuzz.xml",
         "1\n2\nFizz\n4\nBuzz\nFizz\n7\n8\nFizz\nBuzz\n11\nFizz\n13\n14\nFizzBuzz\n"},
    };
    for (const auto& example : loops) {
        const Outcome run =
            Flowlattice({QStringLiteral("--run"), Example(QString::fromLatin1(example.File))});
        EXPECT_EQ(run.Status, 0) << example.File << run.Error.toStdString();
        EXPECT_EQ(run.Out, example.Out) << example.File;
    }
}

TEST(RunCommandTest, ASeedThrowsTheSameDieEveryTimeAndAnotherSeedMayNot) {
    const QStringList seven = {QStringLiteral("--run"), Example(QStringLiteral("dice.xml")),
                               QStringLiteral("--seed"), QStringLiteral("7")};
    const Outcome first = Flowlattice(seven);
    ASSERT_EQ(first.Status, 0) << first.Error.toStdString();
    EXPECT_EQ(Flowlattice(seven).Out, first.Out);
    QStringList throws;
    for (const char* seed : {"0", "1", "2", "3", "4", "5", "6", "18446744073709551615"}) {
        const Outcome run =
            Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("dice.xml")),
                         QStringLiteral("--seed"), QString::fromLatin1(seed)});
        EXPECT_EQ(run.Status, 0) << seed;
        throws << run.Out.trimmed();
    }
    throws << first.Out.trimmed();
    for (const QString& value : throws) {
        bool number = false;
        const int face = value.toInt(&number);
        EXPECT_TRUE(number && face >= 1 && face <= 6) << value.toStdString();
    }
    throws.removeDuplicates();
    EXPECT_GT(throws.size(), 1) << "nine seeds all threw the same face";
}

TEST(RunCommandTest, ARunStillGoingAtItsTimeoutIsStoppedWithItsLinesKept) {
    // A loop whose Continue Pin is fed a constant True never ends by itself.
    QTemporaryDir folder;
    const QString endless = folder.filePath(QStringLiteral("endless.xml"));
    ASSERT_TRUE(WriteBytes(endless, R"(<Flowlattice><MainFrame>
<Node ID="2" Function="Forever" X="0" Y="0"/></MainFrame>
<Frame Name="Forever">
<Node ID="3" Function="Iteration Pin" X="0" Y="0"/>
<Node ID="4" Function="Print" X="80" Y="0"/>
<Node ID="5" Function="Constant" X="0" Y="60"><Boolean Value="True"/></Node>
<Node ID="6" Function="Continue Pin" X="80" Y="60"/>
<Wire Source="3/1" Destination="4/1"/><Wire Source="5/1" Destination="6/1"/>
</Frame></Flowlattice>)"));
    const Outcome run = Flowlattice(
        {QStringLiteral("--run"), endless, QStringLiteral("--timeout"), QStringLiteral("0.5")});
    EXPECT_EQ(run.Status, 4);
    EXPECT_TRUE(run.Error.endsWith(QStringLiteral(": stopped after 0.5 s\n")))
        << run.Error.toStdString();
    const QStringList lines = run.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    for (qsizetype i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], QString::number(i));

    // A run that ends in time is not stopped; a timeout that is not a number is refused.
    const Outcome quick = Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("gcd.xml")),
                                       QStringLiteral("--timeout"), QStringLiteral("600")});
    EXPECT_EQ(quick.Status, 0);
    EXPECT_EQ(quick.Out, QStringLiteral("21\n"));
    for (const char* bad : {"0", "-1", "soon", "nan"})
        EXPECT_EQ(Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("gcd.xml")),
                               QStringLiteral("--timeout"), QString::fromLatin1(bad)})
                      .Status,
                  2)
            << bad;
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
        {{QStringLiteral("--run"), empty, QStringLiteral("--seed"), QStringLiteral("-1")},
         "--seed takes"},
        {{QStringLiteral("--run"), empty, QStringLiteral("--seed"),
          QStringLiteral("18446744073709551616")},
         "--seed takes"},
        {{QStringLiteral("--run"), empty, QStringLiteral("--seed"), QStringLiteral("7x")},
         "--seed takes"},
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

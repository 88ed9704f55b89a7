// --set and --inputs end to end: the real binary gives a circuit's inputs their values for one
// run, refuses what it cannot set with the list of inputs, and never changes the file.

#include "ProgramRun.h"
#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace flow::test;

// One input of each type, each printed.
constexpr const char* kInputs = R"(<Flowlattice><MainFrame>
<Node ID="1" Function="Input" X="0" Y="0" Name="flag"><Boolean Value="False"/></Node>
<Node ID="2" Function="Input" X="0" Y="40" Name="count"><Integer Value="1000"/></Node>
<Node ID="3" Function="Input" X="0" Y="80" Name="ratio"><Real Value="0.5"/></Node>
<Node ID="4" Function="Input" X="0" Y="120" Name="word"><String Value="hi"/></Node>
<Node ID="5" Function="Print" X="60" Y="0"/><Node ID="6" Function="Print" X="60" Y="40"/>
<Node ID="7" Function="Print" X="60" Y="80"/><Node ID="8" Function="Print" X="60" Y="120"/>
<Wire Source="1/1" Destination="5/1"/><Wire Source="2/1" Destination="6/1"/>
<Wire Source="3/1" Destination="7/1"/><Wire Source="4/1" Destination="8/1"/>
</MainFrame></Flowlattice>)";

const QString kListing = QStringLiteral("flag\tBoolean\tFalse\n"
                                        "count\tInteger\t1\u200A000\n"
                                        "ratio\tReal\t0.5\n"
                                        "word\tString\thi\n");

QStringList SortedLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

Outcome RunWith(const QString& file, const QStringList& settings) {
    QStringList arguments{QStringLiteral("--run"), file};
    for (const QString& setting : settings)
        arguments << QStringLiteral("--set") << setting;
    return Flowlattice(arguments);
}

TEST(InputSettingsTest, EveryTypeIsSetForTheRunAndTheFileStaysAsItWas) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("inputs.xml"));
    ASSERT_TRUE(WriteBytes(file, kInputs));

    const Outcome stored = RunWith(file, {});
    EXPECT_EQ(stored.Status, 0) << stored.Error.toStdString();
    EXPECT_EQ(SortedLines(stored.Out), QStringList({"0.5", "1000", "False", "hi"}));

    const Outcome set =
        RunWith(file, {"flag=true", "count=$ff", "ratio=-2.5e3", "word= a = b ", "count=-7"});
    EXPECT_EQ(set.Status, 0) << set.Error.toStdString();
    // A later setting of a name wins; a String keeps its blanks and its "=".
    EXPECT_EQ(SortedLines(set.Out), QStringList({" a = b ", "-2500.", "-7", "True"}));
    EXPECT_EQ(ReadBytes(file), std::string(kInputs));

    const Outcome listed = Flowlattice({QStringLiteral("--inputs"), file});
    EXPECT_EQ(listed.Status, 0);
    EXPECT_EQ(listed.Out, kListing);
}

TEST(InputSettingsTest, AnUnknownNameOrAValueOfAnotherTypeExitsWithTheInputsListed) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("inputs.xml"));
    ASSERT_TRUE(WriteBytes(file, kInputs));
    const struct {
        const char* Setting;
        const char* Problem;
    } refused[] = {
        {"size=3", "no input is named “size”"},
        {"count=1.5", "input “count”: “1.5” is not an Integer"},
        {"count=99999999999999999999", "is not an Integer"},
        {"ratio=1e999", "input “ratio”: “1e999” is not a Real"},
        {"flag=yes", "input “flag”: “yes” is not a Boolean"},
    };
    for (const auto& setting : refused) {
        const Outcome run = RunWith(file, {QString::fromUtf8(setting.Setting)});
        EXPECT_EQ(run.Status, 2) << setting.Setting;
        EXPECT_EQ(run.Out, QString()) << setting.Setting;
        EXPECT_TRUE(run.Error.contains(QString::fromUtf8(setting.Problem)))
            << run.Error.toStdString();
        EXPECT_TRUE(run.Error.endsWith(QStringLiteral("(name, type, value):\n") + kListing))
            << run.Error.toStdString();
    }
    EXPECT_EQ(ReadBytes(file), std::string(kInputs));
    EXPECT_EQ(RunWith(file, {"count"}).Status, 2);
    EXPECT_EQ(Flowlattice({QStringLiteral("--inputs")}).Status, 2);
}

} // namespace

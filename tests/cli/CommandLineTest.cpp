// The headless command line end to end: the real binary on the example circuits and on files
// that cannot be read or written.

#include "CliSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

namespace {

QString Example(const char* name) {
    return QString::fromLocal8Bit(qgetenv("FLOW_SOURCE_DIR")) + QStringLiteral("/examples/") +
           QString::fromLatin1(name);
}

QByteArray Bytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Independent branches of a circuit may print in either order.
QStringList SortedLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.takeLast(), QString()); // every line ends with a line feed
    lines.sort();
    return lines;
}

TEST(RunCommand, ExamplesPrintTheirResults) {
    const Outcome sum = Flowlattice({QStringLiteral("--run"), Example("sum.xml")});
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
    };
    for (const auto& example : examples) {
        const Outcome run = Flowlattice({QStringLiteral("--run"), Example(example.File)});
        EXPECT_EQ(run.Status, 0) << example.File << run.Error.toStdString();
        EXPECT_EQ(SortedLines(run.Out), example.Lines) << example.File;
    }
}

TEST(RunCommand, DefectAndNodesThatNeverFireHaveTheirOwnStatus) {
    const Outcome defect = Flowlattice({QStringLiteral("--run"), Example("defect.xml")});
    EXPECT_EQ(defect.Status, 1);
    EXPECT_EQ(defect.Out, QString());
    EXPECT_TRUE(defect.Error.contains(QStringLiteral("Missing input port connection")))
        << defect.Error.toStdString();
    EXPECT_TRUE(defect.Error.contains(QStringLiteral("Plus node at 0, -20")))
        << defect.Error.toStdString();

    const Outcome cycle = Flowlattice({QStringLiteral("--run"), Example("cycle.xml")});
    EXPECT_EQ(cycle.Status, 3);
    EXPECT_EQ(cycle.Out, QStringLiteral("1\n"));
    EXPECT_TRUE(cycle.Error.contains(QStringLiteral("2 nodes could never fire")))
        << cycle.Error.toStdString();
}

TEST(RunCommand, UnreadableFilesAndBadArgumentsExitWithTwo) {
    QTemporaryDir folder;
    const QString empty = folder.filePath(QStringLiteral("empty.xml"));
    const QString binary = folder.filePath(QStringLiteral("binary.xml"));
    QFile(empty).open(QIODevice::WriteOnly);
    QFile file(binary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x7F"
                          "ELF\x02\x01\x00\x00\xFF\xFE",
                          10));
    file.close();
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

TEST(ResaveCommand, ResavedExamplesAreByteForByteTheSame) {
    QTemporaryDir folder;
    const QStringList names = QDir(Example("")).entryList({QStringLiteral("*.xml")}, QDir::Files);
    EXPECT_GE(names.size(), 5);
    for (const QString& name : names) {
        const QString out = folder.filePath(name);
        const Outcome resave = Flowlattice({QStringLiteral("--resave"), Example("") + name, out});
        EXPECT_EQ(resave.Status, 0) << name.toStdString() << resave.Error.toStdString();
        EXPECT_EQ(Bytes(out), Bytes(Example("") + name)) << name.toStdString();
    }
    // The sample keeps the window geometry read from it.
    EXPECT_TRUE(Bytes(folder.filePath(QStringLiteral("sum.xml")))
                    .contains("<Window X=\"312\" Y=\"140\" Width=\"800\" Height=\"600\"/>"));
}

TEST(ResaveCommand, FilesThatCannotBeReadOrWrittenExitWithTwo) {
    QTemporaryDir folder;
    const QString old = folder.filePath(QStringLiteral("old.xml"));
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old bytes");
    file.close();

    const Outcome missing = Flowlattice(
        {QStringLiteral("--resave"), folder.filePath(QStringLiteral("missing.xml")), old});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Error.contains(QStringLiteral("cannot read")));
    EXPECT_EQ(Bytes(old), QByteArray("old bytes"));

    const Outcome onFolder =
        Flowlattice({QStringLiteral("--resave"), Example("sum.xml"), folder.path()});
    EXPECT_EQ(onFolder.Status, 2);
    EXPECT_TRUE(onFolder.Error.contains(QStringLiteral("cannot write")));
    const Outcome noFolder = Flowlattice({QStringLiteral("--resave"), Example("sum.xml"),
                                          folder.filePath(QStringLiteral("none/out.xml"))});
    EXPECT_EQ(noFolder.Status, 2);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("old.xml")});

    const Outcome arguments = Flowlattice({QStringLiteral("--resave"), Example("sum.xml")});
    EXPECT_EQ(arguments.Status, 2);
}

TEST(CommandLine, PartlyReadFilesWarnAndUnusableNamesAreRefused) {
    QTemporaryDir folder;
    const QByteArray whole = Bytes(Example("sum.xml"));
    const QString cut = folder.filePath(QStringLiteral("cut file é.xml"));
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(whole.left(whole.lastIndexOf("</MainFrame>")));
    file.close();
    // What could be read runs, or is resaved, with a warning that names the stopping place.
    const Outcome run = Flowlattice({QStringLiteral("--run"), cut});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, QStringLiteral("5\n"));
    EXPECT_TRUE(run.Error.contains(QStringLiteral("warning:"))) << qPrintable(run.Error);
    EXPECT_TRUE(run.Error.contains(QStringLiteral("not well-formed XML from line")));
    const Outcome resave =
        Flowlattice({QStringLiteral("--resave"), cut, folder.filePath(QStringLiteral("o.xml"))});
    EXPECT_EQ(resave.Status, 0);
    EXPECT_TRUE(resave.Error.contains(QStringLiteral("warning:")));
    const Outcome clean = Flowlattice({QStringLiteral("--run"), Example("sum.xml")});
    EXPECT_EQ(clean.Error, QString());

    // A name whose bytes are not UTF-8 cannot be opened through Qt: say so rather than "no such
    // file". Raw bytes go through the shell, since QProcess takes its arguments as text.
    const QByteArray command = "\"" + qgetenv("FLOW_BINARY") + "\" --run \"$(printf '" +
                               QFile::encodeName(folder.path()) + "/caf\\351.xml')\" 2>" +
                               QFile::encodeName(folder.filePath(QStringLiteral("err.txt")));
    const int status = std::system(command.constData());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_TRUE(Bytes(folder.filePath(QStringLiteral("err.txt")))
                    .contains("not valid text in the system's encoding"));
}

} // namespace

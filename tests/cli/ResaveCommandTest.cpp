// --resave end to end: files written back as the editor would, and files it cannot use.

#include "ProgramRun.h"
#include "support/Examples.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace flow::test;

TEST(ResaveCommandTest, ResavedExamplesAreByteForByteTheSame) {
    QTemporaryDir folder;
    const QStringList names =
        QDir(ExamplesFolder()).entryList({QStringLiteral("*.xml")}, QDir::Files);
    EXPECT_GE(names.size(), 5);
    for (const QString& name : names) {
        const QString out = folder.filePath(name);
        const Outcome resave = Flowlattice({QStringLiteral("--resave"), Example(name), out});
        EXPECT_EQ(resave.Status, 0) << name.toStdString() << resave.Error.toStdString();
        EXPECT_EQ(ReadBytes(out), ReadBytes(Example(name))) << name.toStdString();
    }
    // The sample keeps the window geometry read from it.
    EXPECT_NE(ReadBytes(folder.filePath(QStringLiteral("sum.xml")))
                  .find("<Window X=\"312\" Y=\"140\" Width=\"800\" Height=\"600\"/>"),
              std::string::npos);
}

TEST(ResaveCommandTest, FilesThatCannotBeReadOrWrittenExitWithTwo) {
    QTemporaryDir folder;
    const QString old = folder.filePath(QStringLiteral("old.xml"));
    ASSERT_TRUE(WriteBytes(old, "old bytes"));

    const Outcome missing = Flowlattice(
        {QStringLiteral("--resave"), folder.filePath(QStringLiteral("missing.xml")), old});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Error.contains(QStringLiteral("cannot read")));
    EXPECT_EQ(ReadBytes(old), "old bytes");

    const Outcome onFolder = Flowlattice(
        {QStringLiteral("--resave"), Example(QStringLiteral("sum.xml")), folder.path()});
    EXPECT_EQ(onFolder.Status, 2);
    EXPECT_TRUE(onFolder.Error.contains(QStringLiteral("cannot write")));
    const Outcome noFolder =
        Flowlattice({QStringLiteral("--resave"), Example(QStringLiteral("sum.xml")),
                     folder.filePath(QStringLiteral("none/out.xml"))});
    EXPECT_EQ(noFolder.Status, 2);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("old.xml")});

    const Outcome arguments =
        Flowlattice({QStringLiteral("--resave"), Example(QStringLiteral("sum.xml"))});
    EXPECT_EQ(arguments.Status, 2);

    // A pipe nobody reads is refused, not waited on (a run that waits ends as status -1).
    const QString pipe = folder.filePath(QStringLiteral("pipe.xml"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const Outcome onPipe =
        Flowlattice({QStringLiteral("--resave"), Example(QStringLiteral("sum.xml")), pipe});
    EXPECT_EQ(onPipe.Status, 2);
    EXPECT_EQ(onPipe.Error,
              QStringLiteral("flowlattice: cannot write %1: “pipe.xml” cannot be saved: it is a "
                             "pipe, not a regular file\n")
                  .arg(pipe));
}

} // namespace

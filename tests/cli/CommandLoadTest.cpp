// How the headless commands load their files: what a partly read file says, and names that are
// not text.

#include "ProgramRun.h"
#include "support/Examples.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

using namespace flow::test;

TEST(CommandLoadTest, PartlyReadFilesWarnAndUnusableNamesAreRefused) {
    QTemporaryDir folder;
    const std::string whole = ReadBytes(Example(QStringLiteral("sum.xml")));
    const QString cut = folder.filePath(QStringLiteral("cut file é.xml"));
    ASSERT_TRUE(WriteBytes(cut, whole.substr(0, whole.rfind("</MainFrame>"))));
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
    const Outcome clean =
        Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("sum.xml"))});
    EXPECT_EQ(clean.Error, QString());

    // A name whose bytes are not UTF-8 cannot be opened through Qt: say so rather than "no such
    // file". Raw bytes go through the shell, since QProcess takes its arguments as text.
    const QByteArray command = "\"" + QFile::encodeName(FlowlatticeBinary()) +
                               "\" --run \"$(printf '" + QFile::encodeName(folder.path()) +
                               "/caf\\351.xml')\" 2>" +
                               QFile::encodeName(folder.filePath(QStringLiteral("err.txt")));
    const int status = std::system(command.constData());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(ReadBytes(folder.filePath(QStringLiteral("err.txt")))
                  .find("not valid text in the system's encoding"),
              std::string::npos);
}

} // namespace

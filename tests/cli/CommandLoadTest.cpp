// How the headless commands load their files: foreign and partly read files are never taken for
// success, and names that are not text are refused.

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

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(CommandLoadTest, FilesOfAnotherKindAreRefusedByEveryMode) {
    QTemporaryDir folder;
    const QString page = folder.filePath(QStringLiteral("page.html"));
    const QString sloppy = folder.filePath(QStringLiteral("sloppy.html"));
    ASSERT_TRUE(WriteBytes(page, "<html><body><p>2 + 3</p></body></html>\n"));
    ASSERT_TRUE(WriteBytes(sloppy, "<!DOCTYPE html>\n<html><body><br><p>5</body></html>\n"));
    const QString out = folder.filePath(QStringLiteral("out.xml"));
    const QString picture = folder.filePath(QStringLiteral("out.png"));
    for (const QString& file : {page, sloppy}) {
        SCOPED_TRACE(file.toStdString());
        const QList<QStringList> modes = {
            {QStringLiteral("--run"), file},
            {QStringLiteral("--render"), file, QStringLiteral("--output"), picture},
            {QStringLiteral("--resave"), file, out},
            {QStringLiteral("--resave"), file, out, QStringLiteral("--keep-what-was-read")},
        };
        for (const QStringList& arguments : modes) {
            const Outcome outcome = Flowlattice(arguments);
            EXPECT_EQ(outcome.Status, 2) << arguments.join(' ').toStdString();
            EXPECT_TRUE(outcome.Error.contains(QStringLiteral("cannot read circuit file")));
            EXPECT_TRUE(outcome.Error.contains(
                QStringLiteral("is not a Flowlattice circuit: its root element is <html>")))
                << outcome.Error.toStdString();
            EXPECT_EQ(outcome.Out, QString());
        }
        EXPECT_FALSE(QFile::exists(out));
        EXPECT_FALSE(QFile::exists(picture));
    }
}

TEST(CommandLoadTest, PartlyReadFilesAreResavedOnlyWhenAskedAndRunWithTheirAccount) {
    QTemporaryDir folder;
    const std::string whole = ReadBytes(Example(QStringLiteral("sum.xml")));
    const struct {
        const char* Name;
        std::string Text;
        const char* Account; // a part of the reader's account of the loss
        int RunStatus;
        const char* Printed;
    } files[] = {
        {"cut file é.xml", whole.substr(0, whole.rfind("</MainFrame>")),
         "is not well-formed XML from line", 0, "5\n"},
        {"unknown.xml", Replaced(whole, "\"Plus\"", "\"Plux\""),
         "1 node was left out: no function is named “Plux”.", 1, ""},
        {"foreign element.xml", Replaced(whole, "<!-- Wires -->", "<Gadget/>"),
         "Elements that were not read: <Gadget>.", 0, "5\n"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.Name);
        const QString in = folder.filePath(QString::fromUtf8(file.Name));
        ASSERT_TRUE(WriteBytes(in, file.Text));
        const QString account = QString::fromUtf8(file.Account);

        const QString out = folder.filePath(QStringLiteral("out.xml"));
        const Outcome refused = Flowlattice({QStringLiteral("--resave"), in, out});
        EXPECT_EQ(refused.Status, 2);
        EXPECT_TRUE(refused.Error.contains(account)) << refused.Error.toStdString();
        EXPECT_TRUE(refused.Error.contains(QStringLiteral("nothing was written")));
        EXPECT_FALSE(QFile::exists(out));

        const Outcome kept = Flowlattice(
            {QStringLiteral("--resave"), QStringLiteral("--keep-what-was-read"), in, out});
        EXPECT_EQ(kept.Status, 0);
        EXPECT_TRUE(kept.Error.startsWith(QStringLiteral("flowlattice: warning: ")));
        EXPECT_TRUE(kept.Error.contains(account));
        EXPECT_NE(ReadBytes(out).find("<Flowlattice>"), std::string::npos);
        QFile::remove(out);

        const Outcome run = Flowlattice({QStringLiteral("--run"), in});
        EXPECT_EQ(run.Status, file.RunStatus) << run.Error.toStdString();
        EXPECT_EQ(run.Out, QString::fromLatin1(file.Printed));
        EXPECT_TRUE(run.Error.startsWith(QStringLiteral("flowlattice: warning: ")));
        EXPECT_TRUE(run.Error.contains(account));

        const QString picture = folder.filePath(QStringLiteral("out.png"));
        const Outcome render =
            Flowlattice({QStringLiteral("--render"), in, QStringLiteral("--output"), picture});
        EXPECT_EQ(render.Status, 0);
        EXPECT_TRUE(render.Error.contains(account));
        EXPECT_TRUE(QFile::exists(picture));
        QFile::remove(picture);
    }
    const Outcome clean =
        Flowlattice({QStringLiteral("--run"), Example(QStringLiteral("sum.xml"))});
    EXPECT_EQ(clean.Error, QString());
}

TEST(CommandLoadTest, NamesThatAreNotTextAreRefused) {
    QTemporaryDir folder;
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

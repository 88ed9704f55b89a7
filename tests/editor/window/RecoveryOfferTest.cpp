// An editor killed with unsaved edits: the next start offers its recovery copy, and Restore
// brings the edits back as a recovered circuit while the file they were made to stays as it was.

#include "EditorFixture.h"
#include "support/Examples.h"
#include "support/Files.h"

#include "editor/window/RecoveryOffer.h"
#include "file/QueuedFileWork.h"
#include "file/StateFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>

namespace flow::test {
namespace {

class RecoveryOfferTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(QFile::copy(Example("sum.xml"), sum));
        sumBytes = ReadBytes(sum);
    }
    void TearDown() override {
        EditorFixture::TearDown();
        WaitForQueuedFileWork();
        QDir(RecoveryFolder()).removeRecursively();
    }

    // Editors of their own, running together, each open the file, make their menu commands,
    // write their recovery copies and are killed. None of them starts after another ended: it
    // would be offered the copies of that one.
    void EditAndKill(const QList<QList<Command>>& editorsCommands) {
        std::vector<std::unique_ptr<QProcess>> editors;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("FLOWLATTICE_STDIN_COMMANDS"), QStringLiteral("1"));
        for (const QList<Command>& commands : editorsCommands) {
            auto& editor = *editors.emplace_back(std::make_unique<QProcess>());
            editor.setProcessEnvironment(environment);
            editor.start(qEnvironmentVariable("FLOW_BINARY"), {sum});
            ASSERT_TRUE(editor.waitForStarted());
            QByteArray script;
            for (Command command : commands)
                script += "menu " + QByteArray::number(int(command)) + '\n';
            editor.write(script + "write-recovery\n");
        }
        for (const auto& editor : editors) {
            QByteArray output;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    editor->waitForReadyRead(100);
                    output += editor->readAllStandardOutput();
                    return output.contains("recovery written");
                },
                60000))
                << editor->readAllStandardError().toStdString();
        }
        for (const auto& editor : editors) {
            ::kill(pid_t(editor->processId()), SIGKILL);
            ASSERT_TRUE(editor->waitForFinished());
            EXPECT_EQ(editor->exitStatus(), QProcess::CrashExit);
        }
    }

    QTemporaryDir dir;
    const QString sum = dir.filePath("sum.xml");
    std::string sumBytes;
};

TEST_F(RecoveryOfferTest, AKilledEditorsEditsComeBackOnRestore) {
    const std::size_t sumNodes = 4;
    EditAndKill({{Command::SelectAll, Command::Duplicate}});
    EXPECT_EQ(ReadBytes(sum), sumBytes);
    Circuit& first = OpenWindow();

    // Later keeps the copy for the next start, which offers it again.
    ClickInMessageBoxes(QStringList{"Later"});
    EXPECT_TRUE(OfferLeftCopies(WindowOf(first)).empty());
    ASSERT_EQ(shownBoxes.size(), 1);
    EXPECT_TRUE(shownBoxes[0].startsWith("Flowlattice ended before this circuit was saved:\n"
                                         "sum.xml (" +
                                         sum + "), kept "))
        << shownBoxes[0].toStdString();

    ClickInMessageBoxes(QStringList{"Restore"});
    const std::vector<Circuit*> restored = OfferLeftCopies(WindowOf(first));
    ASSERT_EQ(restored.size(), 1u);
    Circuit& circuit = *restored[0];
    EXPECT_EQ(circuit.MainFrame.Nodes.size(), 2 * sumNodes) << "the duplicate is back";
    EXPECT_EQ(circuit.RecoveredFrom, sum);
    EXPECT_TRUE(circuit.FileName.isEmpty());
    EXPECT_EQ(WindowOf(circuit)->windowTitle(), "sum.xml (recovered)[*]");
    EXPECT_EQ(ReadBytes(sum), sumBytes) << "the original file is unchanged";

    // This program's own copy of it now stands in for the old one; it is not offered while
    // this program runs.
    WaitForQueuedFileWork();
    EXPECT_EQ(QDir(RecoveryFolder()).entryList({"*.xml"}).size(), 1);
    EXPECT_TRUE(OfferLeftCopies(WindowOf(first)).empty());
    EXPECT_EQ(shownBoxes.size(), 2) << "nothing left to offer: no question";

    // Save asks for a name, offering the original file.
    QString offered;
    ChooseFileName() = [&](QWidget* parent, FileDialogKind) {
        offered = qobject_cast<CircuitWindow*>(parent)->OwnCircuit().RecoveredFrom;
        return QString();
    };
    OnMenu(circuit, Command::Save);
    EXPECT_EQ(offered, sum);
}

TEST_F(RecoveryOfferTest, DiscardRemovesTheCopiesOfEveryEndedEditor) {
    EditAndKill({{Command::SelectAll, Command::Delete}, {Command::SelectAll, Command::Duplicate}});
    ASSERT_EQ(QDir(RecoveryFolder()).entryList({"*.xml"}).size(), 2);
    Circuit& first = OpenWindow();
    ClickInMessageBoxes(QStringList{"Discard"});
    EXPECT_TRUE(OfferLeftCopies(WindowOf(first)).empty());
    ASSERT_EQ(shownBoxes.size(), 1) << "one question for all";
    EXPECT_TRUE(shownBoxes[0].startsWith("Flowlattice ended before these circuits were saved:"));
    EXPECT_TRUE(QDir(RecoveryFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(OfferLeftCopies(WindowOf(first)).empty());
    EXPECT_EQ(ReadBytes(sum), sumBytes);
}

} // namespace
} // namespace flow::test

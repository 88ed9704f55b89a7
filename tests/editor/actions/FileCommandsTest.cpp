// Saving to the file a circuit came from, the question before unsaved work is closed, and the
// messages of files that cannot be read or written.

#include "EditorFixture.h"
#include "support/Examples.h"
#include "support/Files.h"

#include "editor/window/RecentFiles.h"
#include "file/CircuitReader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

namespace flow::test {
namespace {

class FileCommandsTest : public EditorFixture {
  protected:
    // A copy of an example that the test may change.
    QString CopyOfExample(const QString& name) {
        const QString copy = dir.filePath(name);
        QFile::copy(Example(name), copy);
        return copy;
    }
    // Opens the file with File Open from the circuit's window.
    Circuit* Open(Circuit& from, const QString& file) {
        ChooseFileName() = [file](QWidget*, FileDialogKind) { return file; };
        const std::size_t before = Circuits().size();
        OnMenu(from, Command::Open);
        return Circuits().size() > before ? Circuits().back().get() : nullptr;
    }
    // A change anyone can see: a comment written on the canvas.
    void Write(Circuit& circuit, const QString& text, double y = 200) {
        DoubleClick(circuit, 200, y);
        Type(circuit, text);
        Click(circuit, -300, -250);
    }
    QTemporaryDir dir;
};

TEST_F(FileCommandsTest, SaveWritesTheFileOfOriginAndMarksTheCircuitSaved) {
    Circuit& first = OpenWindow();
    const QString sum = CopyOfExample("sum.xml");
    const std::string original = ReadBytes(sum);
    Circuit* opened = Open(first, sum);
    ASSERT_NE(opened, nullptr);
    CircuitWindow& window = *WindowOf(*opened);
    EXPECT_EQ(window.windowTitle(), "sum.xml[*]");
    EXPECT_FALSE(window.isWindowModified());

    // Delete a node, take it back, save: the file is as it was.
    Node& plus = *opened->MainFrame.Nodes[2];
    ASSERT_EQ(plus.Function->Name, "Plus");
    ClickAt(*opened, Middle(plus));
    Key(*opened, Qt::Key_Delete);
    EXPECT_TRUE(window.isWindowModified());
    Key(*opened, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(window.isWindowModified());
    Key(*opened, Qt::Key_Delete);
    ChooseFileName() = [](QWidget*, FileDialogKind) -> QString {
        ADD_FAILURE() << "a circuit with a file is saved without asking";
        return {};
    };
    Key(*opened, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_NE(ReadBytes(sum), original);
    Key(*opened, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window.isWindowModified()) << "the saved circuit had no Plus";
    Key(*opened, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(sum), original);

    // A new circuit asks for a name once; after that it is the circuit's file.
    const QString named = dir.filePath("named");
    int asked = 0;
    ChooseFileName() = [&](QWidget*, FileDialogKind kind) {
        ++asked;
        EXPECT_EQ(kind, FileDialogKind::Save);
        return named;
    };
    Write(first, "first");
    OnMenu(first, Command::Save);
    Write(first, "second", 100);
    OnMenu(first, Command::Save);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(WindowOf(first)->windowTitle(), "named.xml[*]");
    const Circuit* reread = LoadCircuit(named + ".xml");
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->MainFrame.Comments.size(), 2u);
}

TEST_F(FileCommandsTest, ClosingAModifiedCircuitAsksSaveDiscardOrCancel) {
    AskToSave() = RealSaveQuestion();
    OpenWindow(); // stays open until Quit
    Circuit& circuit = OpenWindow();
    OnMenu(circuit, Command::Close); // unmodified: no question
    EXPECT_EQ(OpenWindowCount(), 1);
    EXPECT_TRUE(shownBoxes.isEmpty());

    Circuit& kept = OpenWindow();
    Write(kept, "keep me");
    AnswerMessageBoxes({QMessageBox::Cancel});
    WindowOf(kept)->close(); // the close box
    ASSERT_EQ(shownBoxes.size(), 1);
    EXPECT_TRUE(shownBoxes[0].contains("Save the changes to \u201CUntitled\u201D"));
    ASSERT_NE(WindowOf(kept), nullptr) << "Cancel keeps the window";
    EXPECT_EQ(kept.MainFrame.Comments.size(), 1u);

    // Save whose file cannot be written keeps the window open.
    ChooseFileName() = [&](QWidget*, FileDialogKind) { return dir.path(); };
    AnswerMessageBoxes({QMessageBox::Save, QMessageBox::Ok});
    Key(kept, Qt::Key_W, Qt::ControlModifier);
    ASSERT_EQ(shownBoxes.size(), 3);
    EXPECT_TRUE(shownBoxes[2].contains(dir.path()));
    ASSERT_NE(WindowOf(kept), nullptr);
    EXPECT_TRUE(WindowOf(kept)->isWindowModified());

    // Save that works closes it, with the work in the file.
    const QString file = dir.filePath("kept.xml");
    ChooseFileName() = [&](QWidget*, FileDialogKind) { return file; };
    AnswerMessageBoxes({QMessageBox::Save});
    OnMenu(kept, Command::Close);
    EXPECT_EQ(OpenWindowCount(), 1);
    const Circuit* saved = LoadCircuit(file);
    ASSERT_NE(saved, nullptr);
    ASSERT_EQ(saved->MainFrame.Comments.size(), 1u);
    EXPECT_EQ(saved->MainFrame.Comments[0]->Text, "keep me");

    // Discard closes without saving; a text still being typed counts as a change. Quit asks
    // for every modified window, and the last window's going ends the program.
    Circuit& dropped = OpenWindow();
    DoubleClick(dropped, 0, 0);
    Type(dropped, "typed");
    AnswerMessageBoxes({QMessageBox::Discard});
    OnMenu(dropped, Command::Quit);
    EXPECT_EQ(shownBoxes.size(), 5);
    EXPECT_EQ(OpenWindowCount(), 0);
    EXPECT_EQ(programEnds, 1);
}

TEST_F(FileCommandsTest, FilesThatCannotBeReadOrWrittenAreReported) {
    Circuit& circuit = OpenWindow();
    const QString missing = dir.filePath("missing.xml");
    AnswerMessageBoxes({QMessageBox::Ok});
    EXPECT_EQ(Open(circuit, missing), nullptr);
    ASSERT_EQ(shownBoxes.size(), 1);
    EXPECT_TRUE(shownBoxes[0].contains(missing));
    EXPECT_TRUE(shownBoxes[0].contains("no such file"));
    EXPECT_EQ(OpenWindowCount(), 1);

    // Read up to a syntax error: it opens, with a warning that says where reading stopped.
    const QString broken = dir.filePath("broken.xml");
    std::string text = ReadBytes(Example("sum.xml"));
    text.insert(text.find("<Wire"), "<Wire <<\r\n");
    ASSERT_TRUE(WriteBytes(broken, text));
    AnswerMessageBoxes({QMessageBox::Ok});
    Circuit* partial = Open(circuit, broken);
    ASSERT_NE(partial, nullptr);
    ASSERT_EQ(shownBoxes.size(), 2);
    EXPECT_TRUE(shownBoxes[1].contains("only the part before it was read"));
    EXPECT_TRUE(shownBoxes[1].contains("line "));
    EXPECT_EQ(partial->MainFrame.Nodes.size(), 4u);
    EXPECT_TRUE(partial->MainFrame.Wires.empty());

    // A save that fails says why and leaves the circuit modified, with its own file.
    const QString sum = CopyOfExample("sum.xml");
    Circuit* opened = Open(circuit, sum);
    ASSERT_NE(opened, nullptr);
    Write(*opened, "change");
    ChooseFileName() = [](QWidget*, FileDialogKind) { return QStringLiteral("/dev/full"); };
    AnswerMessageBoxes({QMessageBox::Ok});
    OnMenu(*opened, Command::SaveAs);
    ASSERT_EQ(shownBoxes.size(), 3);
    EXPECT_TRUE(shownBoxes[2].startsWith("Cannot write \u201C/dev/full\u201D: "));
    EXPECT_TRUE(WindowOf(*opened)->isWindowModified());
    EXPECT_EQ(WindowOf(*opened)->windowTitle(), "sum.xml[*]");
}

TEST_F(FileCommandsTest, SaveAsWritesTheChosenNameAsACircuitFileAndCancelDoesNothing) {
    Circuit& circuit = OpenWindow();
    const QString name = dir.filePath("circuit.xml");
    FileDialogKind asked = FileDialogKind::Open;
    ChooseFileName() = [&](QWidget*, FileDialogKind kind) {
        asked = kind;
        return dir.filePath("circuit");
    };
    OnMenu(circuit, Command::SaveAs);
    EXPECT_EQ(asked, FileDialogKind::Save);
    EXPECT_TRUE(QFileInfo::exists(name));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"circuit.xml"}));
    // The file keeps where the window is now.
    WindowOf(circuit)->move(150, 130);
    WindowOf(circuit)->resize(500, 400);
    OnMenu(circuit, Command::SaveAs);
    const Circuit* saved = LoadCircuit(name);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(QRect(saved->Saved.WindowX, saved->Saved.WindowY, saved->Saved.WindowWidth,
                    saved->Saved.WindowHeight),
              QRect(150, 130, 500, 400));

    ChooseFileName() = [&](QWidget*, FileDialogKind) { return QString(); };
    const std::size_t before = Circuits().size();
    OnMenu(circuit, Command::Open);
    EXPECT_EQ(Circuits().size(), before);
    EXPECT_EQ(OpenWindowCount(), 1);
}

// The files opened and saved last, newest first and each once, open again from File > Open Recent.
TEST_F(FileCommandsTest, OpenRecentListsTheLastEightFilesNewestFirst) {
    QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice")).remove("RecentFiles");
    Circuit& circuit = OpenWindow();
    const QString sum = CopyOfExample("sum.xml");
    const QString logic = CopyOfExample("logic.xml");
    Circuit* sumCircuit = Open(circuit, sum);
    ASSERT_NE(sumCircuit, nullptr);
    ASSERT_NE(Open(circuit, logic), nullptr);
    // A file opens in one window only: its window comes to the front instead.
    EXPECT_EQ(Open(circuit, sum), nullptr);
    RememberRecentFile(sum);
    EXPECT_EQ(RecentFiles(), QStringList({sum, logic}));
    // Saving over a file another window shows asks first; No leaves it alone.
    const ReplaceQuestion realQuestion = AskToReplaceOpenFile();
    QStringList asked;
    AskToReplaceOpenFile() = [&](QWidget*, const QString& title) {
        asked << title;
        return false;
    };
    const std::string sumBytes = ReadBytes(sum);
    ChooseFileName() = [sum](QWidget*, FileDialogKind) { return sum; };
    Write(circuit, "other");
    OnMenu(circuit, Command::SaveAs);
    AskToReplaceOpenFile() = realQuestion;
    EXPECT_EQ(asked, QStringList({"sum.xml"}));
    EXPECT_EQ(ReadBytes(sum), sumBytes);
    EXPECT_TRUE(circuit.FileName.isEmpty());
    OnMenu(*sumCircuit, Command::Close);
    for (int i = 0; i < 8; ++i) {
        const QString name = dir.filePath(QStringLiteral("saved%1.xml").arg(i));
        ChooseFileName() = [name](QWidget*, FileDialogKind) { return name; };
        OnMenu(circuit, Command::SaveAs);
    }
    ASSERT_EQ(RecentFiles().size(), 8);
    EXPECT_EQ(RecentFiles().front(), dir.filePath("saved7.xml"));
    EXPECT_FALSE(RecentFiles().contains(sum));

    QMenu* file = WindowOf(circuit)->menuBar()->actions().value(0)->menu();
    QMenu* recent = nullptr;
    for (QAction* action : file->actions())
        if (action->text() == "Open Recent") recent = action->menu();
    ASSERT_NE(recent, nullptr);
    Q_EMIT recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 8);
    EXPECT_EQ(recent->actions()[1]->text(), dir.filePath("saved6.xml"));
    const std::size_t before = Circuits().size();
    recent->actions()[7]->trigger();
    ASSERT_EQ(Circuits().size(), before + 1);
    recent->actions()[7]->trigger(); // open already
    ASSERT_EQ(Circuits().size(), before + 1);
    EXPECT_EQ(Circuits().back()->FileName, dir.filePath("saved0.xml"));
}

// A file without stored geometry opens 40 pixels right and down of the window of the command,
// although the file dialog had the focus.
TEST_F(FileCommandsTest, OpenCascadesFromTheWindowOfTheCommand) {
    Circuit& circuit = OpenWindow({640, 400});
    const QString bare = dir.filePath("bare.xml");
    ASSERT_TRUE(WriteBytes(bare, "<Flowlattice><MainFrame/></Flowlattice>"));
    ChooseFileName() = [&](QWidget*, FileDialogKind) {
        QApplication::setActiveWindow(nullptr);
        return bare;
    };
    OnMenu(circuit, Command::Open);
    Circuit& opened = *Circuits().back();
    ASSERT_NE(WindowOf(opened), nullptr);
    EXPECT_EQ(WindowOf(opened)->frameGeometry().topLeft(),
              WindowOf(circuit)->frameGeometry().topLeft() + QPoint(40, 40));
    EXPECT_EQ(WindowOf(opened)->size(), QSize(640, 400));
}

} // namespace
} // namespace flow::test

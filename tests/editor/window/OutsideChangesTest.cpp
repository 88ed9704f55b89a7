// A window's file changed by another program: reloaded as an undo step when nothing is unsaved,
// asked about when something is, and asked about again before a save writes over it; a deleted
// file is written again by Save; the window's own saves go unnoticed.

#include "EditorFixture.h"
#include "support/Examples.h"
#include "support/Files.h"

#include "file/QueuedFileWork.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cstdio>

namespace flow::test {
namespace {

class OutsideChangesTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ASSERT_TRUE(QFile::copy(Example("sum.xml"), file));
        first = &OpenWindow();
        ChooseFileName() = [](QWidget*, FileDialogKind) -> QString {
            ADD_FAILURE() << "the circuit's file is saved without asking for a name";
            return {};
        };
        circuit = OpenCircuitFile(*first, file);
        ASSERT_NE(circuit, nullptr);
    }
    void TearDown() override {
        EditorFixture::TearDown();
        WaitForQueuedFileWork();
    }
    // Another editor saves as many do: a new file renamed over the old one.
    void ReplaceByRename(const std::string& bytes) {
        const QString fresh = dir.filePath("sum.xml.new");
        ASSERT_TRUE(WriteBytes(fresh, bytes));
        ASSERT_EQ(std::rename(QFile::encodeName(fresh), QFile::encodeName(file)), 0);
    }
    QStringList Functions() const {
        QStringList names;
        for (const auto& node : circuit->MainFrame.Nodes)
            names << node->Function->Name;
        return names;
    }
    // An edit as the user makes it: everything selected and duplicated.
    void Duplicate() {
        Key(*circuit, Qt::Key_A, Qt::ControlModifier);
        Key(*circuit, Qt::Key_D, Qt::ControlModifier);
    }
    QUndoStack& History() const { return *WindowOf(*circuit)->History(); }
    bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 10000);
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("sum.xml");
    const std::string logic = ReadBytes(Example("logic.xml"));
    Circuit* first = nullptr;
    Circuit* circuit = nullptr;
};

TEST_F(OutsideChangesTest, WithoutUnsavedChangesTheFileIsReloadedAndUndoBringsTheOldStateBack) {
    const QStringList sumFunctions = Functions();
    ASSERT_TRUE(WriteBytes(file, logic));
    ASSERT_TRUE(WaitFor([&] { return History().count() == 1; }));
    EXPECT_NE(Functions(), sumFunctions);
    EXPECT_EQ(Functions().size(), qsizetype(QByteArray::fromStdString(logic).count("<Node ")));
    EXPECT_EQ(StatusNotice(*circuit),
              "Reloaded \u201Csum.xml\u201D, which another program changed");
    EXPECT_FALSE(WindowOf(*circuit)->isWindowModified()) << "it is what the file holds";
    Key(*circuit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Functions(), sumFunctions);
    EXPECT_TRUE(WindowOf(*circuit)->isWindowModified());
    EXPECT_TRUE(shownBoxes.isEmpty()) << "nothing unsaved: nothing asked";

    // Its own saves are no change from outside. Given time to arrive, the news of the save
    // neither reloads nor asks.
    Key(*circuit, Qt::Key_S, Qt::ControlModifier);
    Duplicate();
    Key(*circuit, Qt::Key_S, Qt::ControlModifier);
    QTest::qWait(300);
    EXPECT_EQ(History().index(), 1);
    EXPECT_TRUE(History().isClean());
    EXPECT_TRUE(shownBoxes.isEmpty());
    ReplaceByRename(logic);
    ASSERT_TRUE(WaitFor([&] { return History().index() == 2; }));
    EXPECT_EQ(History().undoText(), "Reload");
    // Replaced by a rename, the file is still watched.
    ASSERT_TRUE(WriteBytes(file, ReadBytes(Example("text.xml"))));
    ASSERT_TRUE(WaitFor([&] { return History().index() == 3; }));
    EXPECT_TRUE(shownBoxes.isEmpty());
}

TEST_F(OutsideChangesTest, WithUnsavedChangesItAsksAndALaterSaveAsksAgain) {
    Duplicate();
    const QStringList mine = Functions();
    ClickInMessageBoxes(QStringList{"Keep mine", "No"});
    ReplaceByRename(logic);
    ASSERT_TRUE(WaitFor([&] { return shownBoxes.size() == 1; }));
    EXPECT_TRUE(shownBoxes[0].startsWith("\u201Csum.xml\u201D was changed by another program.\n"));
    EXPECT_EQ(Functions(), mine);
    Key(*circuit, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(shownBoxes.size(), 2);
    EXPECT_EQ(shownBoxes[1], "\u201Csum.xml\u201D was changed by another program. Replace it with "
                             "this circuit?\n");
    EXPECT_EQ(ReadBytes(file), logic) << "No leaves the other program's file";
    EXPECT_TRUE(WindowOf(*circuit)->isWindowModified());

    ClickInMessageBoxes(QStringList{"Reload, losing mine"});
    ASSERT_TRUE(WriteBytes(file, ReadBytes(Example("sum.xml"))));
    ASSERT_TRUE(WaitFor([&] { return shownBoxes.size() == 3; }));
    ASSERT_TRUE(WaitFor([&] { return History().undoText() == "Reload"; }));
    EXPECT_EQ(Functions().size(), mine.size() / 2);
    EXPECT_FALSE(WindowOf(*circuit)->isWindowModified());
    Key(*circuit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Functions(), mine) << "Undo brings mine back";
    // Reloaded, the file is the circuit's own again: saving it asks nothing.
    Key(*circuit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(shownBoxes.size(), 3);
    EXPECT_NE(ReadBytes(file), ReadBytes(Example("sum.xml")));
}

TEST_F(OutsideChangesTest, ADeletedFileIsSaidInTheTitleAndSaveWritesItAgain) {
    ASSERT_TRUE(QFile::remove(file));
    CircuitWindow& window = *WindowOf(*circuit);
    ASSERT_TRUE(WaitFor([&] { return window.windowTitle() == "sum.xml (deleted)[*]"; }));
    EXPECT_TRUE(window.isWindowModified());
    Key(*circuit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(file), ReadBytes(Example("sum.xml")));
    EXPECT_EQ(window.windowTitle(), "sum.xml[*]");
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_TRUE(shownBoxes.isEmpty());
}

} // namespace
} // namespace flow::test

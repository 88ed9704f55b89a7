// Recovery copies of circuits with unsaved changes: one for each window, in the state folder,
// gone once the circuit is saved or closed without saving; the user's files are left alone.

#include "EditorFixture.h"
#include "support/Examples.h"
#include "support/Files.h"

#include "editor/window/RecoveryCopy.h"
#include "file/QueuedFileWork.h"
#include "file/StateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace flow::test {
namespace {

QStringList Copies() {
    return QDir(RecoveryFolder()).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
}

std::string CopyText(const QString& name) {
    return ReadBytes(QDir(RecoveryFolder()).filePath(name));
}

class RecoveryCopyTest : public EditorFixture {
  protected:
    void TearDown() override {
        EditorFixture::TearDown();
        WaitForQueuedFileWork();
    }
    QTemporaryDir dir;
};

TEST_F(RecoveryCopyTest, EachUnsavedWindowHasACopyThatASaveOrACloseRemoves) {
    const QString sum = dir.filePath("sum.xml");
    ASSERT_TRUE(QFile::copy(Example("sum.xml"), sum));
    const std::string sumBytes = ReadBytes(sum);
    Circuit& first = OpenWindow();
    Circuit* opened = OpenCircuitFile(first, sum);
    ASSERT_NE(opened, nullptr);
    ASSERT_TRUE(Copies().isEmpty());

    // Nothing unsaved, nothing written.
    WriteRecoveryCopiesNow();
    EXPECT_TRUE(Copies().isEmpty());

    Place(first, "Plus (+)", 0, 0);
    OnMenu(*opened, Command::SelectAll);
    OnMenu(*opened, Command::Delete);
    WriteRecoveryCopiesNow();
    const QStringList two = Copies();
    ASSERT_EQ(two.size(), 2) << "one copy for each window";
    const std::string a = CopyText(two[0]), b = CopyText(two[1]);
    EXPECT_NE(a, b);
    EXPECT_EQ(ReadBytes(sum), sumBytes) << "recovery never writes the user's file";
    const auto holdsNodes = [](const std::string& text) {
        return text.find("<Node ") != std::string::npos;
    };
    EXPECT_NE(holdsNodes(a), holdsNodes(b)) << "one holds the Plus, the other nothing";

    // Undo back to the file: nothing is unsaved, and the copy goes.
    OnMenu(*opened, Command::Undo);
    WaitForQueuedFileWork();
    EXPECT_EQ(Copies().size(), 1);
    // A new edit writes again, under a name of its own.
    OnMenu(*opened, Command::Redo);
    WriteRecoveryCopiesNow();
    EXPECT_EQ(Copies().size(), 2);
    OnMenu(*opened, Command::Save);
    WaitForQueuedFileWork();
    EXPECT_EQ(Copies().size(), 1) << "a clean save removes the copy";
    EXPECT_NE(ReadBytes(sum), sumBytes);

    saveAnswer = SaveAnswer::Discard;
    OnMenu(first, Command::Close);
    WaitForQueuedFileWork();
    EXPECT_EQ(saveQuestions, 1);
    EXPECT_TRUE(Copies().isEmpty()) << "a close without saving removes it";
}

} // namespace
} // namespace flow::test

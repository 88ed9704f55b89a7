// Characters a circuit file cannot hold never get into an edited text, typed or pasted.

#include "EditorFixture.h"
#include "editor/canvas/TextEditing.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTemporaryDir>

namespace flow::test {
namespace {

class TextFilterTest : public EditorFixture {
  protected:
    void TypeText(Circuit& circuit, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&CanvasOf(circuit), &press);
    }
};

const QString kPair = QString::fromUtf16(u"\U0001F600");

TEST_F(TextFilterTest, UnwritableCharactersAreLeftOutAndTheFileNeedsNoReplacement) {
    // Half a surrogate pair, U+FFFE, U+FFFF and C0 controls go; whole pairs and tabs stay.
    const QString mixed = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") +
                          QChar(0xDC00) + QChar(0xFFFE) + QChar(0xFFFF) + QChar(0x0001) + kPair +
                          QChar(0xD83D) + QStringLiteral("\tc");
    EXPECT_EQ(PastableText(mixed, true), QStringLiteral("ab") + kPair + QStringLiteral("\tc"));

    Circuit& circuit = OpenWindow();
    DoubleClick(circuit, 0, 0);
    Type(circuit, "x");
    TypeText(circuit, QString(QChar(0xD800)));
    TypeText(circuit, QString(QChar(0xFFFF)));
    TypeText(circuit, kPair);
    QGuiApplication::clipboard()->setText(mixed);
    Key(circuit, Qt::Key_V, Qt::ControlModifier);
    const QString expected =
        QStringLiteral("x") + kPair + QStringLiteral("ab") + kPair + QStringLiteral("\tc");
    EXPECT_EQ(Editor().EditBuffer, expected);
    Click(circuit, 300, 200);
    ASSERT_EQ(circuit.MainFrame.Comments.size(), 1u);
    EXPECT_EQ(circuit.MainFrame.Comments.front()->Text, expected);

    // Saved and read back unchanged: nothing had to become U+FFFD.
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("text.xml"));
    ASSERT_TRUE(SaveCircuit(circuit, name));
    Circuit* reread = LoadCircuit(name);
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->MainFrame.Comments.front()->Text, expected);
}

} // namespace
} // namespace flow::test

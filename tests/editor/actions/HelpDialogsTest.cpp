// Save As names circuit files as such; an exported picture shows the circuit, not the editing;
// the keys help lists the menus' keys and the canvas's; Help → Functions the whole catalogue.

#include "editor/actions/HelpDialogs.h"
#include "EditorFixture.h"
#include "editor/actions/ExportImage.h"
#include "editor/actions/KeyReference.h"

#include <QDialog>
#include <QImage>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

namespace flow::test {
namespace {

using DialogsAndPicturesTest = EditorFixture;

TEST_F(DialogsAndPicturesTest, SaveAsAddsTheSuffixToANameWithout) {
    QTemporaryDir dir;
    Circuit& circuit = OpenWindow();
    Place(circuit, "Plus (+)", 0, 0);
    ChooseFileName() = [&](QWidget*, FileDialogKind) { return dir.filePath("mine"); };
    OnMenu(circuit, Command::SaveAs);
    EXPECT_EQ(circuit.FileName, dir.filePath("mine.xml"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("mine.xml")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("mine")));
    ChooseFileName() = [&](QWidget*, FileDialogKind) { return dir.filePath("mine.circuit"); };
    OnMenu(circuit, Command::SaveAs);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("mine.circuit")));
}

TEST_F(DialogsAndPicturesTest, AnExportedPictureLeavesTheEditingOut) {
    QTemporaryDir dir;
    Circuit& circuit = OpenWindow();
    Node& number = Place(circuit, "Constant (Integer)", -100, 0);
    Node& print = Place(circuit, "PrintN", 60, 0);
    const auto exportTo = [&](const QString& name) {
        ChooseExport() = [&](QWidget*) { return ExportChoice{dir.filePath(name), false}; };
        OnMenu(circuit, Command::ExportImage);
        return QImage(dir.filePath(name));
    };
    Click(circuit, -250, 250); // nothing selected, nothing under the pointer
    const QImage plain = exportTo("plain.png");
    ASSERT_FALSE(plain.isNull());

    // Selected, a wire in progress, a value being typed, hovered: the same picture.
    Key(circuit, Qt::Key_A, Qt::ControlModifier);
    const Port& in = *print.PortArray[1];
    Click(circuit, double(print.X + in.X), double(print.Y + in.Y), Qt::ControlModifier);
    ASSERT_EQ(ViewOf(circuit)->WireSource, &in);
    DoubleClick(circuit, number.X + number.Width / 2.0, number.Y + number.Height / 2.0);
    Type(circuit, "12345");
    MoveTo(circuit, print.X + 20, print.Y + 20);
    const QImage busy = exportTo("busy.png");
    EXPECT_EQ(busy, plain);
    // The editing comes back afterwards.
    EXPECT_TRUE(print.Flags & ObjectFlag::Selected);
    EXPECT_EQ(ViewOf(circuit)->WireSource, &in);
    EXPECT_EQ(ViewOf(circuit)->EditBuffer, "12345");
}

TEST_F(DialogsAndPicturesTest, TheKeysHelpListsEveryKeyOfTheMenusAndTheCanvas) {
    Circuit& circuit = OpenWindow();
    const std::vector<KeyRow> rows = KeyRows(*WindowOf(circuit)->menuBar());
    const auto has = [&](const KeyRow& row) { return std::ranges::find(rows, row) != rows.end(); };
    EXPECT_TRUE(has({"Edit", "Ctrl+A", "Select All"}));
    EXPECT_TRUE(has({"Help", "F1", "Keyboard Shortcuts"}));
    EXPECT_TRUE(has({"View", "Backspace", "Up"}));
    const auto keysAt = [&](const QString& where) {
        QStringList keys;
        for (const KeyRow& row : rows)
            if (row.Where == where) keys << row.Keys;
        return keys;
    };
    const QString escape = QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText);
    for (const QString& key : {escape, QStringLiteral("Tab"), QStringLiteral("Arrow keys"),
                               QStringLiteral("Shift+Arrow keys"), QStringLiteral("A letter")})
        EXPECT_TRUE(keysAt("Canvas").contains(key)) << key.toStdString();
    for (const QString& key : {QStringLiteral("Wheel"), QStringLiteral("Middle drag"),
                               QStringLiteral("Right-click"), QStringLiteral("Double-click")})
        EXPECT_TRUE(keysAt("Mouse").contains(key)) << key.toStdString();
    const QRegularExpression pastF12(QStringLiteral("\\bF(1[3-9]|2[0-9]|3[0-5])\\b"));
    for (const KeyRow& row : rows) {
        EXPECT_FALSE(row.Keys.isEmpty()) << row.Action.toStdString();
        EXPECT_FALSE(row.Keys.contains(pastF12)) << row.Keys.toStdString();
    }

    QDialog* dialog = ShowKeyboardShortcuts(circuit);
    ASSERT_NE(dialog, nullptr);
    const auto* table = dialog->findChild<QTableWidget*>();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), int(rows.size()));
    for (int row = 0; row < table->rowCount(); ++row)
        EXPECT_EQ(table->item(row, 1)->text(), rows[std::size_t(row)].Keys);
    dialog->close();
}

TEST_F(DialogsAndPicturesTest, HelpFunctionsDescribesEveryFunctionOfTheCatalogue) {
    Circuit& circuit = OpenWindow();
    QDialog* dialog = ShowFunctionReference(circuit);
    ASSERT_NE(dialog, nullptr);
    const auto* text = dialog->findChild<QTextBrowser*>();
    ASSERT_NE(text, nullptr);
    QStringList headings;
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() == 3) headings << block.text();
    QStringList names;
    for (const FunctionDef* function : Catalogue().InOrder)
        names << function->Name;
    EXPECT_EQ(headings, names);
    const QString shown = text->document()->toPlainText();
    const FunctionDef& plus = *FindFunction("Plus");
    EXPECT_TRUE(shown.contains(plus.Description));
    // Plus's table: its ports, then a row per implementation, a cell a line.
    EXPECT_TRUE(shown.contains(QStringLiteral("x\ny\n\u2192 x + y\nInteger\nInteger\nInteger\n"
                                              "Real\nReal\nReal\nString\nString\nString\n")))
        << shown.toStdString();
    dialog->close();
}

} // namespace
} // namespace flow::test

// Save As names circuit files as such; an exported picture shows the circuit, not the editing;
// the shortcuts dialog lists the menus' own actions.

#include "editor/actions/HelpDialogs.h"
#include "EditorFixture.h"
#include "editor/actions/ExportImage.h"

#include <QDialog>
#include <QImage>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>

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

TEST_F(DialogsAndPicturesTest, TheShortcutsDialogListsEveryMenuActionWithItsKeys) {
    Circuit& circuit = OpenWindow();
    QMenuBar& bar = *WindowOf(circuit)->menuBar();
    const QList<QPair<QString, QString>> rows = MenuShortcuts(bar);
    EXPECT_TRUE(
        rows.contains({QStringLiteral("Edit \u2192 Select All"), QStringLiteral("Ctrl+A")}));
    EXPECT_TRUE(
        rows.contains({QStringLiteral("Help \u2192 Keyboard Shortcuts"), QStringLiteral("F1")}));
    EXPECT_TRUE(rows.contains({QStringLiteral("Edit \u2192 Align \u2192 Left"), QString()}));
    QDialog* dialog = ShowKeyboardShortcuts(circuit);
    ASSERT_NE(dialog, nullptr);
    const auto* table = dialog->findChild<QTableWidget*>();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), rows.size());
    dialog->close();
}

} // namespace
} // namespace flow::test

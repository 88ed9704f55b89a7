#include "editor/actions/KeyReference.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace flow {

namespace {

// The text of an action without its mnemonic marks; the dots of one that opens a dialog stay,
// as the menu shows them.
QString PlainText(const QAction* action) {
    QString text = action->text();
    text.remove(QLatin1Char('&'));
    return text;
}

void AddMenu(std::vector<KeyRow>& rows, const QMenu& menu, const QString& path) {
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        if (action->menu()) {
            AddMenu(rows, *action->menu(), path + QStringLiteral(" \u2192 ") + PlainText(action));
            continue;
        }
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        if (!keys.isEmpty())
            rows.push_back({path, keys.join(QStringLiteral(", ")), PlainText(action)});
    }
}

// Named as the menus name them.
QString Named(QKeyCombination key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

QString Either(QKeyCombination a, QKeyCombination b) {
    return Named(a) + QStringLiteral(", ") + Named(b);
}

std::vector<KeyRow> MakeCanvasRows() {
    const QString canvas = QStringLiteral("Canvas"), mouse = QStringLiteral("Mouse"),
                  typing = QStringLiteral("Typing a text"),
                  search = QStringLiteral("Function search"), find = QStringLiteral("Find bar"),
                  output = QStringLiteral("Output panel");
    const QString arrows = QStringLiteral("Arrow keys");
    return {
        {canvas, QStringLiteral("A letter"),
         QStringLiteral("Search for a function to place at the pointer, by its name")},
        {canvas, Named(Qt::Key_Tab),
         QStringLiteral("Search for a function to place at the pointer")},
        {canvas, Named(Qt::Key_Escape),
         QStringLiteral("Cancel what is under way: placing a node, a wire, a band or a drag")},
        {canvas, arrows,
         QStringLiteral("Move the selection by 1 unit; with nothing selected, pan the view")},
        {canvas, QStringLiteral("Shift+") + arrows,
         QStringLiteral("Move the selection by 10 units")},
        {mouse, QStringLiteral("Rest on a node"),
         QStringLiteral("Show what its function does and its ports with their types")},
        {mouse, QStringLiteral("Click"),
         QStringLiteral("Select what is under the pointer; a port starts a wire, another ends it")},
        {mouse, QStringLiteral("Ctrl+Click"),
         QStringLiteral("Add to the selection or take out of it; on ports, chain wires")},
        {mouse, QStringLiteral("Drag"),
         QStringLiteral(
             "Move the selection; from a port, draw a wire; elsewhere, select in a band")},
        {mouse, QStringLiteral("Double-click"),
         QStringLiteral(
             "Edit a comment, value or pin name; flip True and False; open an instance")},
        {mouse, QStringLiteral("Double-click on empty canvas"), QStringLiteral("Write a comment")},
        {mouse, QStringLiteral("Right-click"),
         QStringLiteral("Empty canvas: add a node; an object: its menu; while placing: cancel")},
        {mouse, QStringLiteral("Middle drag"), QStringLiteral("Pan the view")},
        {mouse, QStringLiteral("Wheel"), QStringLiteral("Zoom in or out around the pointer")},
        {mouse, QStringLiteral("Click on the overview"),
         QStringLiteral("Show that part of the circuit")},
        {typing, Named(Qt::Key_Enter),
         QStringLiteral("A new line in a comment or a String; a pin's name is done")},
        {typing, Named(Qt::Key_Escape), QStringLiteral("Stop typing; the text stays as it was")},
        {typing, QStringLiteral("Click elsewhere"), QStringLiteral("Keep what was typed")},
        {typing, Either(Qt::Key_Backspace, Qt::Key_Delete),
         QStringLiteral("Delete the selected text, or the character before or after the caret")},
        {typing, arrows, QStringLiteral("Move the caret; with Shift, select")},
        {typing, Either(Qt::Key_Home, Qt::Key_End),
         QStringLiteral("To the start or the end of the line; with Ctrl, of the text")},
        {typing,
         QStringList{Named(Qt::CTRL | Qt::Key_A), Named(Qt::CTRL | Qt::Key_C),
                     Named(Qt::CTRL | Qt::Key_X), Named(Qt::CTRL | Qt::Key_V)}
             .join(QStringLiteral(", ")),
         QStringLiteral("Select all of the text, copy, cut, paste")},
        {search, Either(Qt::Key_Up, Qt::Key_Down), QStringLiteral("Choose a function")},
        {search, Named(Qt::Key_Enter), QStringLiteral("Place the function chosen")},
        {search, Named(Qt::Key_Escape), QStringLiteral("Close the search; nothing is placed")},
        {find, Named(Qt::Key_Enter), QStringLiteral("The next match")},
        {find, Named(Qt::SHIFT | Qt::Key_Enter), QStringLiteral("The match before")},
        {find, Named(Qt::Key_Escape), QStringLiteral("Close the find bar")},
        {output, QStringLiteral("Click a line"),
         QStringLiteral("Show the Print node that printed it")},
    };
}

} // namespace

std::vector<KeyRow> MenuKeyRows(const QMenuBar& menuBar) {
    std::vector<KeyRow> rows;
    for (const QAction* menu : menuBar.actions())
        if (menu->menu()) AddMenu(rows, *menu->menu(), PlainText(menu));
    return rows;
}

const std::vector<KeyRow>& CanvasKeyRows() {
    static const std::vector<KeyRow> rows = MakeCanvasRows();
    return rows;
}

std::vector<KeyRow> KeyRows(const QMenuBar& menuBar) {
    std::vector<KeyRow> rows = MenuKeyRows(menuBar);
    rows.insert(rows.end(), CanvasKeyRows().begin(), CanvasKeyRows().end());
    return rows;
}

} // namespace flow

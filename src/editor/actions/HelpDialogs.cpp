#include "editor/actions/HelpDialogs.h"

#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace flow {

namespace {

// The text of an action without its mnemonic marks; the dots of one that opens a dialog stay,
// as the menu shows them.
QString PlainText(const QAction* action) {
    QString text = action->text();
    text.remove(QLatin1Char('&'));
    return text;
}

void AddMenu(QList<QPair<QString, QString>>& rows, const QMenu& menu, const QString& path) {
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const QString name = path + QStringLiteral(" \u2192 ") + PlainText(action);
        if (action->menu()) {
            AddMenu(rows, *action->menu(), name);
            continue;
        }
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        rows.append({name, keys.join(QStringLiteral(", "))});
    }
}

QDialog* NewDialog(Circuit& circuit, const QString& title) {
    auto* dialog = new QDialog(WindowOf(circuit));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    new QVBoxLayout(dialog);
    return dialog;
}

void AddCloseButton(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    dialog->layout()->addWidget(buttons);
}

} // namespace

QList<QPair<QString, QString>> MenuShortcuts(const QMenuBar& menuBar) {
    QList<QPair<QString, QString>> rows;
    for (const QAction* menu : menuBar.actions())
        if (menu->menu()) AddMenu(rows, *menu->menu(), PlainText(menu));
    return rows;
}

QDialog* ShowKeyboardShortcuts(Circuit& circuit) {
    const CircuitWindow* window = WindowOf(circuit);
    if (!window) return nullptr;
    const QList<QPair<QString, QString>> rows = MenuShortcuts(*window->menuBar());
    QDialog* dialog = NewDialog(circuit, QStringLiteral("Keyboard Shortcuts"));
    auto* table = new QTableWidget(int(rows.size()), 2, dialog);
    table->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys")});
    for (int row = 0; row < rows.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(rows[row].first));
        table->setItem(row, 1, new QTableWidgetItem(rows[row].second));
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnToContents(0);
    dialog->layout()->addWidget(table);
    AddCloseButton(dialog);
    dialog->resize(520, 560);
    dialog->show();
    return dialog;
}

QDialog* ShowAbout(Circuit& circuit) {
    QDialog* dialog = NewDialog(circuit, QStringLiteral("About Flowlattice"));
    auto* text = new QLabel(
        QStringLiteral("<h3>Flowlattice %1</h3>"
                       "<p>A desktop editor and executor for small dataflow programs drawn as "
                       "circuits: every node computes once on a thread of its own, and values "
                       "travel along the wires.</p>"
                       "<p>Built with Qt %2, running on Qt %3.</p>")
            .arg(QStringLiteral(FLOW_VERSION), QStringLiteral(QT_VERSION_STR),
                 QString::fromLatin1(qVersion())));
    text->setWordWrap(true);
    dialog->layout()->addWidget(text);
    AddCloseButton(dialog);
    dialog->resize(420, 200);
    dialog->show();
    return dialog;
}

} // namespace flow

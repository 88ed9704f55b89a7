#include "editor/actions/HelpDialogs.h"

#include "editor/actions/FunctionReference.h"
#include "editor/actions/KeyReference.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace flow {

namespace {

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

QDialog* ShowKeyboardShortcuts(Circuit& circuit) {
    const CircuitWindow* window = WindowOf(circuit);
    if (!window) return nullptr;
    const std::vector<KeyRow> rows = KeyRows(*window->menuBar());
    QDialog* dialog = NewDialog(circuit, QStringLiteral("Keyboard Shortcuts"));
    auto* table = new QTableWidget(int(rows.size()), 3, dialog);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Where"), QStringLiteral("Keys"), QStringLiteral("Action")});
    for (int row = 0; row < int(rows.size()); ++row) {
        const KeyRow& keys = rows[std::size_t(row)];
        table->setItem(row, 0, new QTableWidgetItem(keys.Where));
        table->setItem(row, 1, new QTableWidgetItem(keys.Keys));
        table->setItem(row, 2, new QTableWidgetItem(keys.Action));
        // Long actions are read whole in their tooltips.
        table->item(row, 2)->setToolTip(keys.Action);
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnToContents(0);
    table->resizeColumnToContents(1);
    dialog->layout()->addWidget(table);
    AddCloseButton(dialog);
    dialog->resize(900, 600);
    dialog->show();
    return dialog;
}

QDialog* ShowFunctionReference(Circuit& circuit) {
    QDialog* dialog = NewDialog(circuit, QStringLiteral("Functions"));
    auto* text = new QTextBrowser(dialog);
    text->setHtml(FunctionReferenceHtml());
    dialog->layout()->addWidget(text);
    AddCloseButton(dialog);
    dialog->resize(640, 680);
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

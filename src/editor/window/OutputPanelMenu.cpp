#include "editor/window/OutputPanelMenu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>

namespace flow {

void AddOutputPanelMenu(QPlainTextEdit* panel) {
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(panel, &QWidget::customContextMenuRequested, panel, [panel](QPoint at) {
        auto* menu = new QMenu(panel);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(
            menu->addAction(QStringLiteral("Copy")), &QAction::triggered, panel, [panel] {
                const QString selected = panel->textCursor().selectedText();
                // Qt marks the line ends of a selection with U+2029.
                QGuiApplication::clipboard()->setText(
                    selected.isEmpty() ? panel->toPlainText()
                                       : QString(selected).replace(QChar(0x2029), u'\n'));
            });
        QObject::connect(menu->addAction(QStringLiteral("Clear")), &QAction::triggered, panel,
                         &QPlainTextEdit::clear);
        menu->popup(panel->mapToGlobal(at));
    });
}

} // namespace flow

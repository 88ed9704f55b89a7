#pragma once
// A menu's items as text, to compare with what the user sees.

#include <QAction>
#include <QMenu>
#include <QStringList>

namespace flow::test {

// The items' labels top to bottom, "---" for a separator.
inline QStringList Labels(const QMenu* menu) {
    QStringList labels;
    for (const QAction* action : menu->actions())
        labels << (action->isSeparator() ? QStringLiteral("---") : action->text());
    return labels;
}

inline QMenu* Submenu(const QMenu* menu, const QString& title) {
    for (const QAction* action : menu->actions())
        if (action->menu() && action->text() == title) return action->menu();
    return nullptr;
}

} // namespace flow::test

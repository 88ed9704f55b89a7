#include "editor/window/UniqueShortcuts.h"

#include <QAction>
#include <QHash>
#include <QSet>

namespace flow {

void KeepShortcutsUnique(const QList<QAction*>& actions) {
    QHash<QKeySequence, QAction*> firstKeyOf;
    for (QAction* action : actions)
        if (!action->shortcut().isEmpty() && !firstKeyOf.contains(action->shortcut()))
            firstKeyOf.insert(action->shortcut(), action);
    QSet<QKeySequence> taken;
    for (QAction* action : actions) {
        QList<QKeySequence> kept;
        for (const QKeySequence& key : action->shortcuts())
            if (firstKeyOf.value(key, action) == action && !taken.contains(key)) {
                kept << key;
                taken.insert(key);
            }
        if (kept != action->shortcuts()) action->setShortcuts(kept);
    }
}

} // namespace flow

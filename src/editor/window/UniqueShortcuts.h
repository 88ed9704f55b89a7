#pragma once
// One key sequence, one action. The platform's standard keys come on top of the common ones
// each menu command names, and on some platforms a standard key of one command is the common
// key of another (Delete's Ctrl+D is Duplicate's): Qt then calls the key ambiguous and fires
// neither.

#include <QList>

class QAction;

namespace flow {

// Leaves every key sequence on one action only: the action whose first key it is keeps it, and
// otherwise the first action that has it.
void KeepShortcutsUnique(const QList<QAction*>& actions);

} // namespace flow

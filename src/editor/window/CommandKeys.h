#pragma once
// The keys a menu command is bound to: the common key, which some platforms' standard bindings
// lack, then the platform's standard ones.

#include <QKeySequence>
#include <QList>

namespace flow {

// The common key first, then the platform's bindings but for the function keys past F12: X11
// binds the Undo, Copy, Paste and Cut keys of Sun keyboards, which it names F14, F16, F18 and
// F20; other keyboards have no such keys, and the keys help would tell users to press them.
QList<QKeySequence> CommandKeys(const QKeySequence& common,
                                const QList<QKeySequence>& platformBindings);
QList<QKeySequence> CommandKeys(QKeySequence::StandardKey key, const QKeySequence& common);

} // namespace flow

#include "editor/window/CommandKeys.h"

namespace flow {

namespace {

bool BeyondF12(const QKeySequence& sequence) {
    for (int i = 0; i < sequence.count(); ++i) {
        const Qt::Key key = sequence[i].key();
        if (key >= Qt::Key_F13 && key <= Qt::Key_F35) return true;
    }
    return false;
}

} // namespace

QList<QKeySequence> CommandKeys(const QKeySequence& common,
                                const QList<QKeySequence>& platformBindings) {
    QList<QKeySequence> keys{common};
    for (const QKeySequence& binding : platformBindings)
        if (!keys.contains(binding) && !BeyondF12(binding)) keys << binding;
    return keys;
}

QList<QKeySequence> CommandKeys(QKeySequence::StandardKey key, const QKeySequence& common) {
    return CommandKeys(common, QKeySequence::keyBindings(key));
}

} // namespace flow

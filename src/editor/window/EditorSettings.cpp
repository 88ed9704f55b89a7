#include "editor/window/EditorSettings.h"

namespace flow {

QSettings EditorSettings() {
    return QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice"));
}

} // namespace flow

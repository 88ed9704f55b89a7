#include "editor/window/RecentFiles.h"

#include "editor/window/CircuitWindow.h"

#include "editor/actions/FileCommands.h"
#include "editor/canvas/CanvasRedraw.h"
#include "render/Redraw.h"

#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace flow {

namespace {

constexpr char kRecentFilesKey[] = "RecentFiles";

QSettings Settings() {
    return QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice"));
}

} // namespace

QStringList RecentFiles() {
    return Settings().value(QLatin1String(kRecentFilesKey)).toStringList();
}

void RememberRecentFile(const QString& fileName) {
    const QString file = QFileInfo(fileName).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > kRecentFileCount)
        files.removeLast();
    Settings().setValue(QLatin1String(kRecentFilesKey), files);
}

void FillRecentFilesMenu(QMenu* menu, Circuit& circuit) {
    menu->clear();
    const QStringList files = RecentFiles();
    if (files.isEmpty()) menu->addAction(QStringLiteral("No Recent Files"))->setEnabled(false);
    // The circuit is looked up when the entry is chosen: its window may have closed meanwhile.
    Circuit* from = &circuit;
    QObject* window = WindowOf(circuit);
    for (const QString& file : files)
        QObject::connect(menu->addAction(file), &QAction::triggered, window, [from, file] {
            if (Circuit* opened = OpenCircuitFile(*from, file)) RedrawCircuit(*opened);
        });
}

} // namespace flow

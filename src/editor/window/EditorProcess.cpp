#include "editor/window/EditorProcess.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/ViewCommands.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/WindowObserver.h"
#include "engine/NodeThreads.h"
#include "file/CircuitWriter.h"
#include "model/Model.h"
#include "render/Palette.h"

#include <QCoreApplication>

namespace flow {

namespace {

void CloseWindow(Circuit& circuit) {
    if (!WindowOf(circuit)) return;
    DetachWindow(circuit);
    if (OpenWindowCount() <= 0) {
        OpenWindowCount() = 0;
        EndProgram()();
    }
}

// Saving stores where the window is now: outer position, inner size.
bool ReadWindowGeometry(const Circuit& circuit, int& x, int& y, int& width, int& height) {
    const CircuitWindow* window = WindowOf(circuit);
    if (!window) return false;
    x = window->frameGeometry().x();
    y = window->frameGeometry().y();
    width = window->width();
    height = window->height();
    return true;
}

} // namespace

void SetupResources() {
    SetupPalette();
    BuildAddNodeMenu();
    CircuitWindowCloser() = CloseWindow;
    LiveWindowGeometry() = ReadWindowGeometry;
    RecallValueLabels();
    RecallOverview();
}

void QuitEditor() {
    // Threads first: none of them may outlive the windows they print to.
    for (const auto& circuit : Circuits())
        StopCircuitThreads(SessionOf(*circuit));
    for (const auto& circuit : Circuits())
        DetachWindow(*circuit);
    OpenWindowCount() = 0;
    EndProgram()();
}

std::function<void()>& EndProgram() {
    static std::function<void()> end = [] { QCoreApplication::quit(); };
    return end;
}

} // namespace flow

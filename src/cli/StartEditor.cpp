#include "cli/StartEditor.h"
#include "engine/BuiltInFunctions.h"

#include "editor/actions/FileCommands.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/EditorProcess.h"
#include "editor/window/RecoveryOffer.h"
#include "editor/window/StdinCommands.h"
#include "editor/window/WindowObserver.h"
#include "engine/NodeThreads.h"
#include "engine/ThreadReserve.h"
#include "file/QueuedFileWork.h"
#include "file/RecoveryCopies.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QApplication>
#include <QIcon>

namespace flow {

int StartEditor(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program ends when its last circuit window closes, and only then.
    QApplication::setQuitOnLastWindowClosed(false);
    // Once installed, the windows carry the launcher's icon, and desktop sessions match them to
    // the launcher entry by its file name. Run from a build folder, the icon is simply absent.
    QGuiApplication::setDesktopFileName(QStringLiteral("flowlattice"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("flowlattice")));
    RegisterCatalogue();
    SetupResources();

    const QString fileName = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    Circuit& first = fileName.isEmpty() ? OpenCircuitWindow(NewCircuit()) : OpenStartFile(fileName);
    OfferLeftCopies(WindowOf(first));
    ListenToStdinCommands(&app);
    const int status = QApplication::exec();

    // Nothing may run or print once the windows are gone.
    for (const auto& open : Circuits())
        StopCircuitThreads(SessionOf(*open));
    EndThreadReserve();
    for (const auto& open : Circuits())
        delete WindowOf(*open);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The windows gone have asked for their recovery copies to be removed.
    WaitForQueuedFileWork();
    EndRecoverySession();
    return status;
}

} // namespace flow

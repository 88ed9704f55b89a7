#include "cli/RenderCommand.h"
#include "engine/BuiltInFunctions.h"

#include "cli/CommandLoad.h"
#include "editor/actions/ViewCommands.h"
#include "model/Catalogue.h"
#include "render/CircuitPicture.h"
#include "render/CircuitView.h"
#include "render/Palette.h"

#include <QGuiApplication>

#include <cstdio>

namespace flow {

namespace {
// The headless mode speaks only through its own messages; Qt's notes about the missing
// desktop session (no runtime directory, no display) are not for its user.
void KeepSevereMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int RenderCommand(const QString& file, const QString& output, int width, int height, double scale,
                  bool fit) {
    // Drawing needs a GUI application, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepSevereMessages);
    static int argc = 1;
    static char name[] = "flowlattice";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    RegisterCatalogue();
    SetupPalette();

    Circuit* circuit = LoadForCommand(file, PartialRead::Warn);
    if (!circuit) return 2;
    const QSize size(width, height);
    // The view the file keeps, or one that shows the whole circuit.
    CircuitView view(*circuit);
    view.ShowsEditing = false;
    view.TakeSavedCamera();
    if (fit) FitCircuitInView(view, size);
    QString failure;
    if (!WriteCircuitPicture(view, output, size, scale, &failure)) {
        std::fprintf(stderr, "flowlattice: cannot write %s: %s\n", qPrintable(output),
                     qPrintable(failure));
        return 2;
    }
    return 0;
}

} // namespace flow

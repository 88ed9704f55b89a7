#include "cli/Commands.h"

#include "model/Catalogue.h"
#include "render/Palette.h"
#include "render/Redraw.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

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

int RenderCommand(const QString& file, const QString& png, int width, int height) {
    // Drawing needs a GUI application, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepSevereMessages);
    static int argc = 1;
    static char name[] = "flowlattice";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    RegisterCatalogue();
    SetupPalette();

    Circuit* circuit = LoadForCommand(file);
    if (!circuit)
        return 2;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        std::fprintf(stderr, "flowlattice: cannot make an image of %d x %d pixels\n", width,
                     height);
        return 2;
    }
    RedrawCircuitInto(*circuit, image);
    QImageWriter writer(png, "png");
    if (!writer.write(image)) {
        std::fprintf(stderr, "flowlattice: cannot write %s: %s\n", qPrintable(png),
                     qPrintable(writer.errorString()));
        return 2;
    }
    return 0;
}

} // namespace flow

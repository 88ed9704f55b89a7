#include "cli/Commands.h"

#include "model/Catalogue.h"
#include "render/Palette.h"
#include "render/Redraw.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
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

int RenderCommand(const QString& file, const QString& png, int width, int height, double scale) {
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
    if (!circuit) return 2;
    // The view of a width x height canvas, drawn with scale image pixels to each of its pixels.
    const QSize pixels(std::max(1, qRound(width * scale)), std::max(1, qRound(height * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        std::fprintf(stderr, "flowlattice: cannot make an image of %d x %d pixels\n",
                     pixels.width(), pixels.height());
        return 2;
    }
    image.setDevicePixelRatio(scale);
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

#include "render/CircuitPicture.h"

#include "file/WholeFile.h"
#include "render/CircuitView.h"
#include "render/Redraw.h"
#include "render/SceneLayout.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace flow {

namespace {

// Texts may hold control characters (a bell, a form feed) that the canvas draws as nothing but
// XML 1.0 does not allow in a document, not even as character references; the SVG writer copies
// them as they are. In UTF-8 their bytes never occur inside another character, so they can go
// byte by byte; U+FFFE and U+FFFF, also not allowed, are three bytes each.
QByteArray WithoutCharactersXmlForbids(const QByteArray& svg) {
    QByteArray kept;
    kept.reserve(svg.size());
    for (qsizetype i = 0; i < svg.size(); ++i) {
        const auto byte = static_cast<unsigned char>(svg[i]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') continue;
        if (byte == 0xEF && i + 2 < svg.size() && static_cast<unsigned char>(svg[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(svg[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        kept.append(char(byte));
    }
    return kept;
}

// Sizes from texts, and where everything lies, as the picture's view sees them.
void PrepareScene(CircuitView& view) {
    LayOutShownFrame(view);
    view.Index.Refresh(ShownFrame(view));
}

} // namespace

bool IsSvgFileName(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

QSize PicturePixels(QSize canvas, double scale) {
    return QSize(std::max(1, qRound(canvas.width() * scale)),
                 std::max(1, qRound(canvas.height() * scale)));
}

QByteArray CircuitSvg(CircuitView& view, QSize canvas, double scale) {
    PrepareScene(view);
    FitCanvas(view, canvas, 1.0);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(PicturePixels(canvas, scale));
    // One drawing unit is one pixel of the canvas, whatever size the picture is shown at.
    generator.setViewBox(QRect(QPoint(0, 0), canvas));
    // At 96 dots per inch the size in millimetres is the size in CSS pixels of a browser.
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Flowlattice circuit"));
    RedrawCircuitOnto(view, generator, canvas);
    return WithoutCharactersXmlForbids(buffer.data());
}

QByteArray CircuitPng(CircuitView& view, QSize canvas, double scale) {
    PrepareScene(view);
    QImage image(PicturePixels(canvas, scale), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    image.setDevicePixelRatio(scale);
    FitCanvas(view, image.size(), scale);
    RedrawCircuitInto(view, image);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return {};
    return buffer.data();
}

bool WriteCircuitPicture(CircuitView& view, const QString& fileName, QSize canvas, double scale,
                         QString* failure) {
    const QSize pixels = PicturePixels(canvas, scale);
    const QByteArray bytes = canvas.isEmpty() || !(scale > 0) ? QByteArray()
                             : IsSvgFileName(fileName)        ? CircuitSvg(view, canvas, scale)
                                                              : CircuitPng(view, canvas, scale);
    if (bytes.isEmpty()) {
        if (failure)
            *failure = QStringLiteral("cannot make a picture of %1 x %2 pixels")
                           .arg(pixels.width())
                           .arg(pixels.height());
        return false;
    }
    return WriteWholeFile(fileName, bytes, failure);
}

} // namespace flow

#include "render/CircuitPicture.h"

#include "file/WholeFile.h"
#include "render/Redraw.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSvgGenerator>

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

} // namespace

bool IsSvgFileName(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

QByteArray CircuitSvg(Circuit& circuit, QSize size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    // One drawing unit is one pixel of the canvas, whatever size the picture is shown at.
    generator.setViewBox(QRect(QPoint(0, 0), size));
    // At 96 dots per inch the size in millimetres is the size in CSS pixels of a browser.
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Flowlattice circuit"));
    RedrawCircuitInto(circuit, generator);
    return WithoutCharactersXmlForbids(buffer.data());
}

QByteArray CircuitPng(Circuit& circuit, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    RedrawCircuitInto(circuit, image);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return {};
    return buffer.data();
}

bool WriteCircuitPicture(Circuit& circuit, const QString& fileName, QSize size, QString* failure) {
    if (size.width() <= 0 || size.height() <= 0) {
        if (failure) *failure = QStringLiteral("the picture has no size");
        return false;
    }
    const QByteArray bytes =
        IsSvgFileName(fileName) ? CircuitSvg(circuit, size) : CircuitPng(circuit, size);
    if (bytes.isEmpty()) {
        if (failure)
            *failure = QStringLiteral("cannot make a picture of %1 x %2 pixels")
                           .arg(size.width())
                           .arg(size.height());
        return false;
    }
    return WriteWholeFile(fileName, bytes, failure);
}

} // namespace flow

#include "support/XmlRoots.h"

#include <QFile>
#include <QXmlStreamReader>

namespace flow::test {

QStringList RootElements(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader reader(&file);
    QStringList roots;
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && depth++ == 0)
            roots << reader.name().toString();
        else if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return reader.hasError() ? QStringList() : roots;
}

} // namespace flow::test

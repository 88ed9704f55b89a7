#include "support/Files.h"

#include <QFile>

namespace flow::test {

namespace {

bool Write(const QString& fileName, std::string_view bytes, QIODevice::OpenMode mode) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | mode) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.flush();
}

} // namespace

std::string ReadBytes(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

bool WriteBytes(const QString& fileName, std::string_view bytes) {
    return Write(fileName, bytes, QIODevice::Truncate);
}

bool AppendBytes(const QString& fileName, std::string_view bytes) {
    return Write(fileName, bytes, QIODevice::Append);
}

} // namespace flow::test

#include "file/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace flow {

namespace {

template <typename File> bool WriteAll(File& file, QByteArrayView bytes, QString* failure) {
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), bytes.size()) == bytes.size() &&
                         file.flush(); // a full disk shows only here
    if (!written && failure) *failure = file.errorString();
    return written;
}

} // namespace

// A regular file is replaced whole, through a temporary file renamed over it. Anything else that
// already exists under the name (a device, a pipe, a terminal) is written to as it is: renaming
// over it would put a regular file in its place, and for /dev/null that breaks the machine.
bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure) {
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QFile file(fileName);
        return WriteAll(file, bytes, failure);
    }
    QSaveFile file(fileName);
    if (!WriteAll(file, bytes, failure)) return false;
    if (file.commit()) return true;
    if (failure) *failure = file.errorString();
    return false;
}

} // namespace flow

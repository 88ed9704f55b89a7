#pragma once
// Writing a file as a whole, so that a failure never leaves half of it behind.

#include <QByteArrayView>
#include <QString>

namespace flow {

// Replaces the file with the bytes: they go to a temporary file beside it that is renamed over
// the old one only when complete. A device or pipe of that name is written to in place. Returns
// whether the file was written; why not goes to *failure if given.
bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure = nullptr);

} // namespace flow

#pragma once
// Writing a file's whole content so that a failure at any point leaves the old content, and
// saying why it failed in the system's own words.

#include <QByteArrayView>
#include <QString>

namespace flow {

// A regular file (or a new one) is replaced through a temporary file beside it that is renamed
// over it only when completely written and flushed to the disk; the replaced file's mode (and,
// where the system allows, its owner and group) carry over, and a symbolic link keeps pointing
// at the file it names. Anything else that already exists under the name (a device, a pipe, a
// terminal) is written to as it is: a regular file in its place would break it. Returns whether
// the content was written; the system's reason for a failure goes to *failure if given.
bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure = nullptr);

} // namespace flow

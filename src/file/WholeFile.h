#pragma once
// Writing a file's whole content so that a failure at any point leaves the old content, and
// saying why it failed in the system's own words.

#include <QByteArrayView>
#include <QString>

namespace flow {

// A regular file (or a new one) is replaced by a file written completely and flushed to the
// disk before it takes the name: an unnamed file where the file system allows it, so that a
// save that dies leaves nothing behind, else a temporary beside the target (stale ones of the
// same target are removed first). The replaced file's mode (and, where the system allows, its
// owner and group) carry over. Symbolic links are followed, a dangling one to the file it names,
// which is made. A file whose mode forbids the user to write it is refused ("“F” is read-only"),
// whoever the user is; in a folder where no file can be made, a file that may be written is
// written in place, its old content at risk while that write runs. Anything else that already
// exists under the name (a device, a pipe, a terminal) is written to as it is: a regular file in
// its place would break it. Returns whether the content was written; the reason for a failure
// goes to *failure if given.
bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure = nullptr);

} // namespace flow

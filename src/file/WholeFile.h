#pragma once
// Writing a file's whole content so that a failure at any point leaves the old content, and
// saying why it failed in the system's own words.

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace flow {

// A regular file (or a new one) is replaced by a file written completely and flushed to the
// disk before it takes the name: an unnamed file where the file system allows it, so that a
// save that dies leaves nothing behind, else a temporary beside the target (stale ones of the
// same target are removed first), its name kept within the file system's limit however long
// the target's. The replaced file's mode (and, where the system allows, its owner and group)
// carry over. Symbolic links are followed, a dangling one to the file it names, which is made;
// a loop of links is refused. A file whose mode forbids the user to write it is refused ("“F”
// is read-only"), whoever the user is. Anything else that exists under the name (a folder, a
// pipe, a device, a socket) is refused too, and never opened: a pipe without a reader would
// hold the save for ever, and a regular file in its place would break it. In a folder where no
// file can be made, a file that may be written is written in place, after a copy of its old
// content is kept in the recovery folder (file/StateFolder.h); the save is refused when no copy
// can be made. Returns whether the content was written; the reason for a failure goes to
// *failure if given.
bool WriteWholeFile(const QString& fileName, QByteArrayView bytes, QString* failure = nullptr);

// Where tests step into a save, to reach what only odd folders and failing disks do.
struct WholeFileSeams {
    // No file can be made in the target's folder, as in a folder the user may not write.
    bool FolderTakesNoFile = false;
    // Runs when a file is written in place, once its old content is copied aside, with the
    // copy's path; a nonzero error number makes the write fail with it before it starts.
    std::function<int(const QString& copy)> BeforeWriteInPlace;
};
WholeFileSeams& SaveSeams();

} // namespace flow

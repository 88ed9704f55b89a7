#pragma once
// Files written for a target before they take its name: unnamed where the file system allows,
// else named after the target beside it. Every name made here stays within the file system's
// limit, however long the target's own name.

#include <QByteArray>

namespace flow {

// What the names of the target's temporaries begin with: the target's name, or, when that
// leaves no room for what follows, its first part and a mark made from the whole name, so that
// long names that begin alike keep their temporaries apart.
QByteArray TemporaryStem(const QByteArray& target);

// Removes the temporaries of the target that a save killed part-way left behind: by earlier
// versions, or where the file system has no unnamed files.
void RemoveStaleTemporaries(const QByteArray& target);

// A file being written for the target that no one else sees: an unnamed file in the target's
// folder where the file system allows it, so that a save that dies leaves nothing behind; else
// a new file beside the target, whose name goes to `name`. `named` tells which. -1 with errno
// set when neither can be made.
int CreateTemporary(const QByteArray& target, QByteArray& name, bool& named);

// Gives the complete unnamed file a name beside the target; false with errno set otherwise.
bool LinkTemporary(int fd, const QByteArray& target, QByteArray& name);

} // namespace flow

#pragma once
// The user's state folder: what the program keeps for the user that is none of the user's own
// files, such as copies of a file's old content while it is written in place.

#include <QString>

namespace flow {

// flowlattice/recovery in the state folder: $XDG_STATE_HOME when that is an absolute path,
// else ~/.local/state. It may not exist yet.
QString RecoveryFolder();

// Makes the folder and every missing folder above it, each for the user alone (mode 0700);
// true when it exists as a folder afterwards, else false with errno set.
bool MakePrivateFolder(const QString& path);

} // namespace flow

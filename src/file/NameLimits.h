#pragma once
// File names made from other names that stay within what the file system takes.

#include <QByteArray>

namespace flow {

// The longest name, in bytes, that the folder's file system takes for a file in it.
qsizetype LongestName(const QByteArray& folder);

// The name's first bytes, at most `room` of them, without cutting a character in two.
QByteArray CutName(const QByteArray& name, qsizetype room);

} // namespace flow

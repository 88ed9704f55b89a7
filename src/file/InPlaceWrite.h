#pragma once
// Writing a file over its old content, for folders where no new file can be made beside it.

#include <QByteArrayView>
#include <QString>

#include <functional>

#include <sys/stat.h>

namespace flow {

// Runs once the old content is copied aside, before any of it is written over, with the copy's
// path; a nonzero error number makes the write fail with it.
using BeforeWriteInPlace = std::function<int(const QString& copy)>;

// Writes the bytes over the regular file `target`, which `old` describes, keeping its name,
// mode and owner. Its old content is first copied to the recovery folder, and flushed to the
// disk there, so that it is never at risk without a copy; the save is refused when no copy can
// be made. The copy goes when the write is complete; after a failed write it stays, and the
// failure names it. `shown` is the file's name as the user gave it.
bool WriteInPlace(const QByteArray& target, const struct stat& old, QByteArrayView bytes,
                  const QString& shown, QString* failure,
                  const BeforeWriteInPlace& beforeWrite = {});

} // namespace flow

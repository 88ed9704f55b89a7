#pragma once
// The system's calls as the file writers use them: writes that go on after short ones, and
// failures in the system's own words.

#include <QByteArrayView>
#include <QString>

namespace flow {

// Writes everything at the descriptor's offset, going on after short and interrupted writes;
// false with errno set otherwise.
bool WriteFully(int fd, QByteArrayView bytes);

// What the system says an error number means, as a failure reason.
QString SystemReason(int error);

// Gives the reason to *failure when asked for one; always false, for `return Refuse(...)`.
bool Refuse(QString* failure, const QString& reason);

} // namespace flow

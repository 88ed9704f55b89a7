#include "file/SystemCalls.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace flow {

bool WriteFully(int fd, QByteArrayView bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), std::size_t(bytes.size()));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes = bytes.sliced(qsizetype(written));
    }
    return true;
}

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool Refuse(QString* failure, const QString& reason) {
    if (failure) *failure = reason;
    return false;
}

} // namespace flow

#include "file/StateFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace flow {

QString RecoveryFolder() {
    // A relative state folder is ignored, as the base directory rules ask: it would depend on
    // where the program was started.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base =
        QDir::isAbsolutePath(state) ? state : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/flowlattice/recovery"));
}

bool MakePrivateFolder(const QString& path) {
    const QByteArray folder = QFile::encodeName(QDir::cleanPath(path));
    for (qsizetype slash = folder.indexOf('/', 1); slash >= 0;
         slash = folder.indexOf('/', slash + 1))
        if (::mkdir(folder.left(slash).constData(), 0700) != 0 && errno != EEXIST) return false;
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) return false;
    // mkdir says EEXIST for a file in the way too.
    struct stat status {};
    if (::stat(folder.constData(), &status) != 0) return false;
    if (S_ISDIR(status.st_mode)) return true;
    errno = ENOTDIR;
    return false;
}

} // namespace flow

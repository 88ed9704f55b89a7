#include "support/Examples.h"

#include <QFileInfo>

namespace flow::test {

QString SourceDirectory() {
    const QString source = qEnvironmentVariable("FLOW_SOURCE_DIR");
    return source.isEmpty() ? QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../.."
                            : source;
}

QString ExamplesFolder() {
    return SourceDirectory() + QStringLiteral("/examples");
}

QString Example(const QString& name) {
    return ExamplesFolder() + QLatin1Char('/') + name;
}

} // namespace flow::test

#include "ProgramRun.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

QString FlowlatticeBinary() {
    const QString binary = qEnvironmentVariable("FLOW_BINARY");
    return binary.isEmpty() ? QCoreApplication::applicationDirPath() + "/../flowlattice" : binary;
}

Outcome Flowlattice(const QStringList& arguments) {
    QProcess process;
    // Nothing here may need a display.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(FlowlatticeBinary(), arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

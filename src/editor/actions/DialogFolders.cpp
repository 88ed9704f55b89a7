#include "editor/actions/DialogFolders.h"

#include "editor/window/CircuitWindow.h"

#include <QFileInfo>
#include <QSettings>

namespace flow {

namespace {

constexpr char kFolderKey[] = "LastFolder";
constexpr char kExportFolderKey[] = "ExportFolder";
constexpr char kExportFormatKey[] = "ExportFormat";

QSettings Settings() {
    return QSettings(QStringLiteral("Flowlattice"), QStringLiteral("Flowlattice"));
}

QString FolderOf(const QString& fileName) {
    return QFileInfo(fileName).absolutePath();
}

} // namespace

QString CircuitDialogFolder(const QWidget* window) {
    if (const auto* circuitWindow = qobject_cast<const CircuitWindow*>(window))
        return CircuitDialogFolder(circuitWindow->OwnCircuit());
    return Settings().value(QLatin1String(kFolderKey)).toString();
}

QString CircuitDialogFolder(const Circuit& circuit) {
    if (!circuit.FileName.isEmpty()) return FolderOf(circuit.FileName);
    return Settings().value(QLatin1String(kFolderKey)).toString();
}

void RememberDialogFolder(const QString& fileName) {
    if (!fileName.isEmpty()) Settings().setValue(QLatin1String(kFolderKey), FolderOf(fileName));
}

QString WithCircuitSuffix(const QString& fileName) {
    const QFileInfo file(fileName);
    if (fileName.isEmpty() || !file.suffix().isEmpty() || file.exists()) return fileName;
    return fileName + QStringLiteral(".xml");
}

QString ExportDialogFolder(const Circuit& circuit) {
    const QString folder = Settings().value(QLatin1String(kExportFolderKey)).toString();
    return folder.isEmpty() ? CircuitDialogFolder(circuit) : folder;
}

QString LastExportFormat() {
    const QString format = Settings().value(QLatin1String(kExportFormatKey)).toString();
    return format == QLatin1String("svg") ? format : QStringLiteral("png");
}

void RememberExport(const QString& fileName) {
    QSettings settings = Settings();
    settings.setValue(QLatin1String(kExportFolderKey), FolderOf(fileName));
    settings.setValue(
        QLatin1String(kExportFormatKey),
        QFileInfo(fileName).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0
            ? QStringLiteral("svg")
            : QStringLiteral("png"));
}

} // namespace flow

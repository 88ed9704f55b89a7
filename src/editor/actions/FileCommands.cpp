#include "editor/actions/FileCommands.h"

#include "editor/actions/DialogFolders.h"
#include "editor/actions/MenuCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/history/History.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/RecentFiles.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"
#include "model/Model.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QUndoStack>

namespace flow {

namespace {

QWidget* WindowWidget(const Circuit& circuit) {
    return qobject_cast<QWidget*>(circuit.Window);
}

void Warn(const Circuit& circuit, const QString& title, const QString& text) {
    QMessageBox::warning(WindowWidget(circuit), title, text);
}

// The circuit of the file, which becomes its own; where reading stopped, if it stopped early.
Circuit* LoadCircuitFile(const QString& fileName, QString& stoppedAt) {
    Circuit* loaded = LoadCircuit(fileName, &stoppedAt);
    if (!loaded) return nullptr;
    loaded->FileName = QFileInfo(fileName).absoluteFilePath();
    RememberRecentFile(fileName);
    return loaded;
}

void WarnUnreadable(const Circuit& circuit, const QString& fileName) {
    Warn(circuit, QStringLiteral("Open Circuit"),
         QStringLiteral("Cannot read circuit file “%1”: %2.")
             .arg(fileName, LoadFailureReason(fileName)));
}

void WarnIfPartlyRead(const Circuit& circuit, const QString& fileName, const QString& stoppedAt) {
    if (stoppedAt.isEmpty()) return;
    Warn(circuit, QStringLiteral("Open Circuit"),
         QStringLiteral("“%1” is not well-formed XML from %2; only the part before it was read.")
             .arg(fileName, stoppedAt));
}

} // namespace

Circuit* OpenCircuitFile(Circuit& from, const QString& fileName) {
    QString stoppedAt;
    Circuit* loaded = LoadCircuitFile(fileName, stoppedAt);
    if (!loaded) {
        WarnUnreadable(from, fileName);
        return nullptr;
    }
    // The file dialog had the focus: the new window cascades from the window of the command.
    OpenCircuitWindow(*loaded, WindowOf(from));
    WarnIfPartlyRead(*loaded, fileName, stoppedAt);
    return loaded;
}

Circuit& OpenStartFile(const QString& fileName) {
    QString stoppedAt;
    Circuit* loaded = LoadCircuitFile(fileName, stoppedAt);
    Circuit& opened = OpenCircuitWindow(loaded ? *loaded : NewCircuit());
    if (!loaded) WarnUnreadable(opened, fileName);
    WarnIfPartlyRead(opened, fileName, stoppedAt);
    return opened;
}

bool SaveCircuitTo(Circuit& circuit, const QString& fileName) {
    QString failure;
    if (!SaveCircuit(circuit, fileName, &failure)) {
        Warn(circuit, QStringLiteral("Save Circuit"),
             QStringLiteral("Cannot write “%1”: %2. The circuit was not saved.")
                 .arg(fileName, failure));
        return false;
    }
    circuit.FileName = QFileInfo(fileName).absoluteFilePath();
    RememberRecentFile(fileName);
    if (QUndoStack* history = HistoryOf(circuit)) history->setClean();
    if (CircuitWindow* window = WindowOf(circuit)) window->ShowTitle();
    return true;
}

bool SaveCircuitFileAs(Circuit& circuit) {
    const QString name =
        WithCircuitSuffix(ChooseFileName()(WindowWidget(circuit), FileDialogKind::Save));
    return !name.isEmpty() && SaveCircuitTo(circuit, name);
}

bool SaveCircuitFile(Circuit& circuit) {
    if (circuit.FileName.isEmpty()) return SaveCircuitFileAs(circuit);
    return SaveCircuitTo(circuit, circuit.FileName);
}

QString CircuitTitle(const Circuit& circuit) {
    return circuit.FileName.isEmpty() ? QStringLiteral("Untitled")
                                      : QFileInfo(circuit.FileName).fileName();
}

bool IsModified(const Circuit& circuit) {
    const QUndoStack* history = HistoryOf(circuit);
    return history && !history->isClean();
}

bool MayClose(Circuit& circuit) {
    CommitEditOf(circuit);
    if (!IsModified(circuit)) return true;
    switch (AskToSave()(WindowWidget(circuit), CircuitTitle(circuit))) {
    case SaveAnswer::Save:
        return SaveCircuitFile(circuit);
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

SaveQuestion& AskToSave() {
    static SaveQuestion ask = [](QWidget* parent, const QString& circuitTitle) {
        QMessageBox question(
            QMessageBox::Warning, QStringLiteral("Close Circuit"),
            QStringLiteral("Save the changes to “%1” before closing?").arg(circuitTitle),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
        question.setInformativeText(QStringLiteral("Changes that are not saved are lost."));
        question.setDefaultButton(QMessageBox::Save);
        switch (question.exec()) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
        }
    };
    return ask;
}

} // namespace flow

#include "editor/actions/FileCommands.h"

#include "editor/actions/DialogFolders.h"
#include "editor/actions/MenuCommands.h"
#include "editor/actions/ReplaceQuestion.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/history/History.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/OutsideChanges.h"
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
    return WindowOf(circuit);
}

void Warn(const Circuit& circuit, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, WindowWidget(circuit));
    // Names from files, such as a root element <html>, are text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The circuit of the file, which becomes its own only when the read lost nothing; else the
// circuit is recovered from it.
Circuit* LoadCircuitFile(const QString& fileName, ReadLosses& losses) {
    Circuit* loaded = LoadCircuit(fileName, losses);
    if (!loaded) return nullptr;
    (losses.Any() ? loaded->RecoveredFrom : loaded->FileName) =
        QFileInfo(fileName).absoluteFilePath();
    RememberRecentFile(fileName);
    return loaded;
}

void WarnUnreadable(const Circuit& circuit, const QString& fileName) {
    Warn(circuit, QStringLiteral("Open Circuit"),
         QStringLiteral("Cannot read circuit file “%1”: %2.")
             .arg(fileName, LoadFailureReason(fileName)));
}

void WarnIfLossy(const Circuit& circuit, const QString& fileName, const ReadLosses& losses) {
    if (!losses.Any()) return;
    Warn(circuit, QStringLiteral("Open Circuit"),
         DescribeLosses(QFileInfo(fileName).fileName(), losses) +
             QStringLiteral("\n\nThe circuit opens as recovered: Save asks for a file name, "
                            "and the file is replaced only if you choose it there."));
}

bool IsFile(const QString& name, const QString& canonical) {
    return !name.isEmpty() && QFileInfo(name).canonicalFilePath() == canonical;
}

// The open circuit other than `except` whose window shows the file, as its own or recovered.
Circuit* CircuitShowing(const QString& fileName, const Circuit* except = nullptr) {
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    if (canonical.isEmpty()) return nullptr;
    for (const auto& open : Circuits())
        if (open.get() != except && WindowOf(*open) &&
            (IsFile(open->FileName, canonical) || IsFile(open->RecoveredFrom, canonical)))
            return open.get();
    return nullptr;
}

bool IsOwnFile(const Circuit& circuit, const QString& fileName) {
    if (circuit.FileName.isEmpty()) return false;
    const QFileInfo own(circuit.FileName), named(fileName);
    // A deleted file has no canonical path: its name is all there is to compare.
    return own.exists() ? own.canonicalFilePath() == named.canonicalFilePath()
                        : own.absoluteFilePath() == named.absoluteFilePath();
}

// Asks before a save writes over a file the user may still want: one another window shows, any
// other file but the circuit's own, and its own once another program changed it.
bool MayReplace(Circuit& circuit, const QString& fileName) {
    QWidget* parent = WindowWidget(circuit);
    const QString title = QStringLiteral("Save Circuit");
    if (CircuitShowing(fileName, &circuit))
        return AskToReplaceOpenFile()(parent, QFileInfo(fileName).fileName());
    if (!IsOwnFile(circuit, fileName)) return MayReplaceFile(parent, title, fileName);
    return !ChangedOutside(circuit) || !QFileInfo::exists(fileName) ||
           AskToReplace(parent, title,
                        QStringLiteral("“%1” was changed by another program. Replace it with "
                                       "this circuit?")
                            .arg(QFileInfo(fileName).fileName()));
}

void BringToFront(const Circuit& circuit) {
    QWidget* window = WindowWidget(circuit);
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

} // namespace

Circuit* OpenCircuitFile(Circuit& from, const QString& fileName) {
    if (Circuit* shown = CircuitShowing(fileName)) {
        BringToFront(*shown);
        return shown;
    }
    ReadLosses losses;
    Circuit* loaded = LoadCircuitFile(fileName, losses);
    if (!loaded) {
        WarnUnreadable(from, fileName);
        return nullptr;
    }
    // The file dialog had the focus: the new window cascades from the window of the command.
    OpenCircuitWindow(*loaded, WindowOf(from));
    WarnIfLossy(*loaded, fileName, losses);
    return loaded;
}

Circuit& OpenStartFile(const QString& fileName) {
    ReadLosses losses;
    Circuit* loaded = LoadCircuitFile(fileName, losses);
    Circuit& opened = OpenCircuitWindow(loaded ? *loaded : NewCircuit());
    if (!loaded) WarnUnreadable(opened, fileName);
    WarnIfLossy(opened, fileName, losses);
    return opened;
}

bool SaveCircuitTo(Circuit& circuit, const QString& fileName) {
    if (!MayReplace(circuit, fileName)) return false;
    QString failure;
    // The file keeps the view of the main frame, wherever the window stands.
    if (const CircuitView* view = ViewOf(circuit)) {
        const CameraView main = MainCamera(*view);
        circuit.Saved.CameraX = main.X;
        circuit.Saved.CameraY = main.Y;
        circuit.Saved.ZoomLevel = main.Zoom;
        circuit.Saved.Magnification = main.Magnification;
    }
    const bool saved = SaveCircuit(circuit, fileName, &failure);
    if (!saved) {
        Warn(circuit, QStringLiteral("Save Circuit"),
             QStringLiteral("Cannot write “%1”: %2. The circuit was not saved.")
                 .arg(fileName, failure));
        return false;
    }
    circuit.FileName = QFileInfo(fileName).absoluteFilePath();
    circuit.RecoveredFrom.clear();
    RememberRecentFile(fileName);
    if (QUndoStack* history = HistoryOf(circuit)) history->setClean();
    if (CircuitWindow* window = WindowOf(circuit)) window->NoteSaved();
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
    if (!circuit.FileName.isEmpty()) return QFileInfo(circuit.FileName).fileName();
    if (!circuit.RecoveredFrom.isEmpty())
        return QFileInfo(circuit.RecoveredFrom).fileName() + QStringLiteral(" (recovered)");
    return QStringLiteral("Untitled");
}

bool IsModified(const Circuit& circuit) {
    // What was recovered is in no file yet, nor what shows a file that was deleted.
    if (!circuit.RecoveredFrom.isEmpty() || FileDeletedOutside(circuit)) return true;
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

ReplaceQuestion& AskToReplaceOpenFile() {
    static ReplaceQuestion ask = [](QWidget* parent, const QString& fileTitle) {
        return AskToReplace(
            parent, QStringLiteral("Save Circuit"),
            QStringLiteral("“%1” is open in another window. Replace it anyway?").arg(fileTitle));
    };
    return ask;
}

} // namespace flow

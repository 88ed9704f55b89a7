#include "editor/window/OutsideChanges.h"

#include "editor/actions/ReloadCircuit.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/history/History.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>

namespace flow {

namespace {

bool HasUnsavedEdits(const Circuit& circuit) {
    const QUndoStack* history = HistoryOf(circuit);
    return (history && !history->isClean()) || !PendingStepName(circuit).isEmpty();
}

bool UserWantsReload(QWidget* parent, const QString& fileTitle) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("File Changed"),
                    QStringLiteral("“%1” was changed by another program.").arg(fileTitle),
                    QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(QStringLiteral("Reload it and lose the changes made here, or keep "
                                          "them? After a reload, Undo brings them back."));
    QPushButton* reload =
        box.addButton(QStringLiteral("Reload, losing mine"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QStringLiteral("Keep mine"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == reload;
}

QString FileTitle(const Circuit& circuit) {
    return QFileInfo(circuit.FileName).fileName();
}

} // namespace

OutsideChanges::OutsideChanges(Circuit& circuit, QObject* parent)
    : QObject(parent), circuit_(circuit), file_([this] { Look(); }) {
    Follow();
}

void OutsideChanges::Follow() {
    changed_ = false;
    deleted_ = false;
    file_.Watch(circuit_.FileName);
}

// A question runs an event loop of its own, in which more news of the file may come: that is
// looked at once the question is answered, never by a second question over the first.
void OutsideChanges::Look() {
    if (looking_) {
        lookAgain_ = true;
        return;
    }
    looking_ = true;
    do {
        lookAgain_ = false;
        LookOnce();
    } while (lookAgain_);
    looking_ = false;
}

void OutsideChanges::LookOnce() {
    CircuitWindow* window = WindowOf(circuit_);
    if (!window || circuit_.FileName != file_.Path()) return;
    switch (file_.Look()) {
    case WatchedFile::Change::None:
        return;
    case WatchedFile::Change::Deleted:
        deleted_ = true;
        ShowStatusNotice(circuit_, QStringLiteral("“%1” was deleted or moved by another program; "
                                                  "Save writes it again")
                                       .arg(FileTitle(circuit_)));
        break;
    case WatchedFile::Change::Returned:
        deleted_ = false;
        break;
    case WatchedFile::Change::Changed:
        deleted_ = false;
        if (!HasUnsavedEdits(circuit_) || UserWantsReload(window, FileTitle(circuit_)))
            Reload();
        else
            changed_ = true;
        break;
    }
    window->ShowTitle();
}

void OutsideChanges::Reload() {
    if (!ReloadCircuit(circuit_)) {
        changed_ = true;
        ShowStatusNotice(circuit_, QStringLiteral("“%1” was changed by another program and "
                                                  "cannot be read whole: it was not reloaded")
                                       .arg(FileTitle(circuit_)));
        return;
    }
    changed_ = false;
    if (QUndoStack* history = HistoryOf(circuit_)) history->setClean();
    RedrawCircuit(circuit_);
    ShowStatusNotice(
        circuit_,
        QStringLiteral("Reloaded “%1”, which another program changed").arg(FileTitle(circuit_)));
}

bool ChangedOutside(const Circuit& circuit) {
    const CircuitWindow* window = WindowOf(circuit);
    return window && window->Outside() && window->Outside()->ChangedOutside();
}

bool FileDeletedOutside(const Circuit& circuit) {
    const CircuitWindow* window = WindowOf(circuit);
    return window && window->Outside() && window->Outside()->Deleted();
}

} // namespace flow

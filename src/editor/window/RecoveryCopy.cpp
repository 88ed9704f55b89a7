#include "editor/window/RecoveryCopy.h"

#include "editor/actions/FileCommands.h"
#include "editor/window/CircuitWindow.h"
#include "file/CircuitWriter.h"
#include "file/QueuedFileWork.h"
#include "file/RecoveryCopies.h"
#include "model/Model.h"

#include <QUndoStack>

namespace flow {

RecoveryCopy::RecoveryCopy(Circuit& circuit, QUndoStack* history, QObject* parent)
    : QObject(parent), circuit_(circuit) {
    due_.setSingleShot(true);
    due_.setInterval(kRecoveryDelay);
    connect(&due_, &QTimer::timeout, this, [this] { WriteNow(); });
    connect(history, &QUndoStack::indexChanged, this, [this] { Follow(); });
    connect(history, &QUndoStack::cleanChanged, this, [this] { Follow(); });
}

RecoveryCopy::~RecoveryCopy() {
    Remove();
}

void RecoveryCopy::Follow() {
    if (closed_ || !IsModified(circuit_)) {
        due_.stop();
        Remove();
        return;
    }
    // Edits that follow one another keep the first one's time: one write per delay at most.
    if (!due_.isActive()) due_.start();
}

void RecoveryCopy::WriteNow() {
    due_.stop();
    if (closed_ || !IsModified(circuit_)) return;
    if (path_.isEmpty()) path_ = NewRecoveryCopyPath();
    // Only the text is taken here; the disk is the file-work thread's.
    QByteArray bytes = QByteArray::fromStdString(CircuitFileBytes(circuit_));
    const QString source = circuit_.FileName.isEmpty() ? circuit_.RecoveredFrom : circuit_.FileName;
    QueueFileWork([path = path_, bytes = std::move(bytes),
                   source] { WriteRecoveryCopy(path, bytes, source); },
                  path_);
}

void RecoveryCopy::Close() {
    closed_ = true;
    due_.stop();
    Remove();
}

void RecoveryCopy::Remove() {
    if (path_.isEmpty()) return;
    DropQueuedFileWork(path_);
    QueueFileWork([path = path_] { RemoveRecoveryCopy(path); });
    path_.clear();
}

void WriteRecoveryCopiesNow() {
    for (const auto& circuit : Circuits())
        if (CircuitWindow* window = WindowOf(*circuit)) window->Recovery()->WriteNow();
    WaitForQueuedFileWork();
}

} // namespace flow

#include "editor/window/CircuitRelease.h"

#include "editor/window/WindowObserver.h"
#include "engine/NodeThreads.h"
#include "model/Model.h"
#include "render/SceneIndex.h"

#include <QCoreApplication>
#include <QObject>

#include <vector>

namespace flow {

namespace {

// Closed circuits whose window has been destroyed, waiting to be freed.
std::vector<Circuit*>& Closed() {
    static std::vector<Circuit*> closed;
    return closed;
}

void FreeClosedCircuits() {
    std::erase_if(Closed(), [](Circuit* circuit) {
        if (ThreadsStillRunIn(SessionOf(*circuit))) return false;
        ForgetObserver(*circuit);
        FreeCircuit(*circuit);
        return true;
    });
}

} // namespace

void ReleaseAfterWindow(Circuit& circuit, QObject* window) {
    Circuit* closed = &circuit;
    QObject::connect(window, &QObject::destroyed, QCoreApplication::instance(), [closed] {
        Closed().push_back(closed);
        // Later, from the event loop: the window may be destroyed while the circuit list is
        // being walked.
        QMetaObject::invokeMethod(QCoreApplication::instance(), FreeClosedCircuits,
                                  Qt::QueuedConnection);
    });
}

} // namespace flow

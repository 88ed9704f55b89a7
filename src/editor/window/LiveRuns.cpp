#include "editor/window/LiveRuns.h"

#include "editor/window/CircuitWindow.h"
#include "editor/window/EditorSettings.h"
#include "editor/window/RunMarks.h"

#include <QTimer>

#include <optional>

namespace flow {

namespace {

constexpr char kLiveKey[] = "RunOnEveryChange";

std::optional<bool>& Remembered() {
    static std::optional<bool> on;
    return on;
}

// The window's timer, made at its first edit with the choice on.
QTimer* LiveTimer(Circuit& circuit) {
    CircuitWindow* window = WindowOf(circuit);
    if (!window) return nullptr;
    const QString name = QStringLiteral("LiveRun");
    if (auto* timer = window->findChild<QTimer*>(name)) return timer;
    auto* timer = new QTimer(window);
    timer->setObjectName(name);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, window, [&circuit] {
        if (!RunOnEveryChangeOn()) return;
        // The user is editing: a defect is marked where it is, the camera stays.
        StartRun(circuit, SeedChoice::Fresh, RunStart::Going, DefectCamera::Stays);
        if (CircuitWindow* shown = WindowOf(circuit)) shown->NoteRun();
    });
    return timer;
}

} // namespace

bool RunOnEveryChangeOn() {
    std::optional<bool>& on = Remembered();
    if (!on) on = EditorSettings().value(QLatin1String(kLiveKey), false).toBool();
    return *on;
}

void SetRunOnEveryChange(bool on) {
    Remembered() = on;
    EditorSettings().setValue(QLatin1String(kLiveKey), on);
}

void NoteEditForLiveRun(Circuit& circuit) {
    if (!RunOnEveryChangeOn()) return;
    // The run of the circuit before the edit has nothing more to say.
    StopCircuitRun(circuit);
    if (QTimer* timer = LiveTimer(circuit)) timer->start(kLiveRunDelayMs);
}

} // namespace flow

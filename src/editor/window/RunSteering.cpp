#include "editor/window/RunSteering.h"

#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/RunMarks.h"
#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "engine/DefectPlace.h"
#include "engine/Execution.h"
#include "engine/Settling.h"
#include "engine/Stepping.h"
#include "model/Expansion.h"

#include <QTimer>

#include <unordered_set>

namespace flow {

namespace {

// Threads on their way to the gate get there within moments: the window looks again until
// they have.
constexpr int kRestLookMs = 1;

struct Steering {
    int StepsWanted = 0;
    QTimer* RestLook = nullptr;
};

Steering& SteeringOf(Circuit& circuit) {
    static QHash<Circuit*, Steering> steering;
    return steering[&circuit];
}

void LookForRest(Circuit& circuit);

void LookAgainSoon(Circuit& circuit) {
    Steering& steering = SteeringOf(circuit);
    CircuitWindow* window = WindowOf(circuit);
    if (!window) return;
    if (!steering.RestLook) {
        steering.RestLook = new QTimer(window);
        steering.RestLook->setSingleShot(true);
        QObject::connect(steering.RestLook, &QTimer::timeout, window,
                         [&circuit] { LookForRest(circuit); });
        QObject::connect(steering.RestLook, &QObject::destroyed,
                         [&circuit] { SteeringOf(circuit).RestLook = nullptr; });
    }
    if (!steering.RestLook->isActive()) steering.RestLook->start(kRestLookMs);
}

// Once the run has come to rest, either the steps asked for go on, one at a time, or the
// window shows where the run waits.
void LookForRest(Circuit& circuit) {
    RunSession& session = SessionOf(circuit);
    const PauseOutlook outlook = LookAtPause(session);
    if (!outlook.Paused) return; // a pause wanted waits for its first firing
    if (!outlook.AtRest) {
        LookAgainSoon(circuit);
        return;
    }
    Steering& steering = SteeringOf(circuit);
    CircuitView* view = ViewOf(circuit);
    if (steering.StepsWanted > 0 && outlook.Next) {
        --steering.StepsWanted;
        StepRun(session, outlook);
        LookAgainSoon(circuit);
        return;
    }
    steering.StepsWanted = 0;
    if (view) {
        view->Stepping.PausedBefore = outlook.Next;
        view->Stepping.Ready.assign(outlook.Waiting.begin(), outlook.Waiting.end());
    }
    // Nothing waits: the run is over (its settling marks what never fired), or stuck on a cycle.
    SetStatusText(circuit, StatusField::RunStatus,
                  outlook.Next ? QStringLiteral("Paused before ") + NodePlace(*outlook.Next)
                               : QStringLiteral("Execution ... finished"));
    if (CircuitWindow* window = WindowOf(circuit)) window->RefreshTimeline();
    RedrawCircuit(circuit);
}

bool InProgress(RunSession& session) {
    const RunState state = session.State();
    return (state == RunState::Ready || state == RunState::Executing) &&
           !HasSettled(session, OutlookOf(session));
}

} // namespace

void ToggleBreakpoints(Circuit& circuit) {
    CircuitView* view = ViewOf(circuit);
    if (!view) return;
    QSet<NodeKey>& breakpoints = view->Stepping.Breakpoints;
    std::vector<NodeKey> selected;
    for (const auto& node : ShownFrame(*view).Nodes)
        if (node->Flags & ObjectFlag::Selected) selected.push_back(KeyOf(*node));
    if (selected.empty()) return;
    const bool allHad = std::all_of(selected.begin(), selected.end(),
                                    [&](const NodeKey& key) { return breakpoints.contains(key); });
    for (const NodeKey& key : selected)
        if (allHad)
            breakpoints.remove(key);
        else
            breakpoints.insert(key);
    ApplyBreakpoints(circuit);
}

void ApplyBreakpoints(Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    std::unordered_set<const Node*> nodes;
    if (view && !view->Stepping.Breakpoints.isEmpty())
        for (const Node* node : RunNodes(circuit))
            if (view->Stepping.Breakpoints.contains(KeyOf(*node))) nodes.insert(node);
    SessionOf(circuit).Watch.Gate().SetBreakpoints(std::move(nodes));
}

bool RunHeld(Circuit& circuit) {
    RunSession& session = SessionOf(circuit);
    return session.Watch.Gate().Look().Paused && InProgress(session);
}

void PauseCircuitRun(Circuit& circuit) {
    RunSession& session = SessionOf(circuit);
    if (!InProgress(session)) return;
    session.Watch.Gate().Pause();
}

void StepCircuitRun(Circuit& circuit) {
    RunSession& session = SessionOf(circuit);
    if (RunHeld(circuit)) {
        ++SteeringOf(circuit).StepsWanted;
        if (CircuitView* view = ViewOf(circuit)) view->Stepping.PausedBefore = nullptr;
        LookForRest(circuit);
        return;
    }
    if (InProgress(session)) {
        session.Watch.Gate().Pause();
        return;
    }
    SteeringOf(circuit).StepsWanted = 0;
    StartRun(circuit, SeedChoice::Fresh, RunStart::Paused);
}

void ContinueCircuitRun(Circuit& circuit) {
    SteeringOf(circuit).StepsWanted = 0;
    SessionOf(circuit).Watch.Gate().Continue();
    ForgetPauseMarks(circuit);
    SetStatusText(circuit, StatusField::RunStatus, QStringLiteral("Execution ... finished"));
    RedrawCircuit(circuit);
}

void OnRunPaused(Circuit& circuit, std::uint64_t runNumber) {
    if (runNumber != SessionOf(circuit).RunNumber) return;
    LookForRest(circuit);
}

void StopHeldRunForEdit(Circuit& circuit) {
    if (!RunHeld(circuit)) return;
    StopCircuitRun(circuit);
    SetStatusText(circuit, StatusField::RunStatus,
                  QStringLiteral("Execution ... stopped: the circuit was edited while paused"));
}

void ForgetPauseMarks(Circuit& circuit) {
    SteeringOf(circuit).StepsWanted = 0;
    if (CircuitView* view = ViewOf(circuit)) {
        view->Stepping.PausedBefore = nullptr;
        view->Stepping.Ready.clear();
    }
}

} // namespace flow

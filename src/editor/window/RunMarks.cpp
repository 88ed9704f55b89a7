#include "editor/window/RunMarks.h"

#include "editor/actions/SubCircuitView.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/RunReplay.h"
#include "editor/window/RunSteering.h"
#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "engine/Execution.h"
#include "engine/Preparation.h"
#include "engine/RandomDraws.h"
#include "engine/RunCopies.h"
#include "engine/Settling.h"
#include "model/Expansion.h"
#include "render/Redraw.h"

namespace flow {

namespace {

// Marks stand on the main frame's nodes and on the expansions' copies, which the body shown
// reads through RunCopyOf.
bool UnmarkNeverFired(Circuit& circuit) {
    bool any = false;
    for (Frame* frame : RunFrames(circuit))
        for (const auto& node : frame->Nodes) {
            any = any || (node->Flags & ObjectFlag::NeverFired);
            node->Flags &= ~ObjectFlag::NeverFired;
        }
    return any;
}

// Centres the view on the defect, zoomed in to twice the size, in its frame's coordinates; the
// window goes where those are, into the instance (at every depth) that holds it. A defect of a
// node that cannot run for want of threads names no place but the node's.
void ShowDefect(Circuit& circuit, const Defect& defect, const CameraView& before) {
    CircuitView* view = ViewOf(circuit);
    if (!defect.Centre || !view) return;
    view->SetCamera({defect.Centre->X, defect.Centre->Y, 1.0f, 2.0f});
    const Frame* frame = defect.Kind == ErrorKind::NoThread ? nullptr : DefectFrame(defect);
    if (frame)
        ShowInside(circuit, frame->Instance ? OpenPathTo(*frame) : std::vector<Node*>{}, before);
    RedrawCircuit(circuit);
}

} // namespace

void StartRun(Circuit& circuit, SeedChoice seed, RunStart start, DefectCamera camera) {
    UnmarkNeverFired(circuit);
    const CircuitView* view = ViewOf(circuit);
    const CameraView before = view ? view->Camera() : CameraView{};
    RunSession& session = SessionOf(circuit);
    if (seed == SeedChoice::Fresh || session.RunNumber == 0) session.Seed = FreshSeed();
    if (!PrepareCircuit(session)) {
        if (camera == DefectCamera::Moves)
            ShowDefect(circuit, session.Fault(), before);
        else
            RedrawCircuit(circuit);
        return;
    }
    ForgetPauseMarks(circuit);
    session.Watch.Gate().Reset(start == RunStart::Paused);
    ApplyBreakpoints(circuit);
    WatchSettling(session);
    ExecuteCircuit(session);
}

void StopCircuitRun(Circuit& circuit) {
    StopRun(SessionOf(circuit));
    ForgetPauseMarks(circuit);
    if (CircuitWindow* window = WindowOf(circuit)) window->RefreshTimeline();
}

void OnRunMaySettle(Circuit& circuit, std::uint64_t runNumber) {
    RunSession& session = SessionOf(circuit);
    if (runNumber != session.RunNumber || session.State() == RunState::Defect ||
        session.State() == RunState::Stopped)
        return;
    // The same test as the command line's: a firing count only says when to look.
    const FiringOutlook outlook = OutlookOf(session);
    if (!HasSettled(session, outlook)) return;
    session.FiringsToSettle = 0;
    ForgetPauseMarks(circuit);
    if (CircuitWindow* window = WindowOf(circuit)) window->RefreshTimeline();
    OnReplayRunSettled(circuit);
    // The repaints of the Start itself came before the values: nothing else need follow the
    // run (the output panel opens only on the first), so the labels are drawn here.
    if (outlook.NeverFire.empty()) {
        RedrawCircuit(circuit);
        return;
    }
    for (Node* node : outlook.NeverFire) {
        node->Flags |= ObjectFlag::NeverFired;
        OutermostNode(node)->Flags |= ObjectFlag::NeverFired;
    }
    const std::size_t count = outlook.NeverFire.size();
    SetStatusText(circuit, StatusField::RunStatus,
                  QStringLiteral("Execution ... finished: %1 %2 never fired")
                      .arg(count)
                      .arg(count == 1 ? QStringLiteral("node") : QStringLiteral("nodes")));
    RedrawCircuit(circuit);
}

void ForgetRunMarks(Circuit& circuit) {
    bool changed = UnmarkNeverFired(circuit);
    RunSession& session = SessionOf(circuit);
    if (session.State() == RunState::Defect) {
        session.SetState(RunState::None);
        session.Fault() = {};
        SetStatusText(circuit, StatusField::RunStatus, QString());
        changed = true;
    }
    // An edit in the middle of a run changes what could fire: its end is not told any more.
    session.FiringsToSettle = 0;
    if (changed) RedrawCircuit(circuit);
}

} // namespace flow

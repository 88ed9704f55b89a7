#include "editor/window/RunMarks.h"

#include "editor/canvas/OpenViews.h"
#include "editor/actions/SubCircuitView.h"
#include "engine/Execution.h"
#include "engine/Expansion.h"
#include "engine/Preparation.h"
#include "engine/RunCopies.h"
#include "engine/Settling.h"
#include "editor/canvas/CanvasRedraw.h"
#include "render/Redraw.h"
#include "editor/window/StatusText.h"

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

// The frame that holds the object at fault, for the defects that name one.
const Frame* DefectFrame(const Circuit& circuit) {
    if (!circuit.ErrorObject) return nullptr;
    switch (circuit.ErrorKind) {
    case ErrorKind::MissingInput: {
        const Node* node = static_cast<const Port*>(circuit.ErrorObject)->Node;
        return node ? node->Frame : nullptr;
    }
    case ErrorKind::InvalidWire:
        return static_cast<const Wire*>(circuit.ErrorObject)->Frame;
    case ErrorKind::NoImplementation:
        return static_cast<const Node*>(circuit.ErrorObject)->Frame;
    default:
        return nullptr;
    }
}

// The window goes where the defect is, into the instance (at every depth) that holds it, and
// centres on it zoomed in to twice the size.
void ShowDefectFrame(Circuit& circuit, const CameraView& before) {
    const Frame* frame = DefectFrame(circuit);
    CircuitView* view = ViewOf(circuit);
    if (!frame || !view) return;
    view->SetCamera({circuit.ErrorX, circuit.ErrorY, 1.0f, 2.0f});
    ShowInside(circuit, frame->Instance ? OpenPathTo(*frame) : std::vector<Node*>{}, before);
}

} // namespace

void StartRun(Circuit& circuit) {
    UnmarkNeverFired(circuit);
    const CircuitView* view = ViewOf(circuit);
    const CameraView before = view ? view->Camera() : CameraView{};
    if (!PrepareCircuit(circuit)) {
        ShowDefectFrame(circuit, before);
        return;
    }
    WatchSettling(circuit);
    ExecuteCircuit(circuit);
}

void OnRunMaySettle(Circuit& circuit, std::uint64_t runNumber) {
    if (runNumber != circuit.RunNumber || circuit.State == RunState::Defect) return;
    // The same test as the command line's: a firing count only says when to look.
    const FiringOutlook outlook = OutlookOf(circuit);
    if (!HasSettled(outlook)) return;
    circuit.FiringsToSettle = 0;
    if (outlook.NeverFire.empty()) return;
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
    if (circuit.State == RunState::Defect) {
        circuit.State = RunState::None;
        circuit.ErrorKind = ErrorKind::None;
        circuit.ErrorMessage.clear();
        circuit.ErrorObject = nullptr;
        SetStatusText(circuit, StatusField::RunStatus, QString());
        changed = true;
    }
    // An edit in the middle of a run changes what could fire: its end is not told any more.
    circuit.FiringsToSettle = 0;
    if (changed) RedrawCircuit(circuit);
}

} // namespace flow

#include "editor/window/RunMarks.h"

#include "engine/Execution.h"
#include "engine/Preparation.h"
#include "engine/Settling.h"
#include "render/Redraw.h"
#include "render/StatusText.h"

namespace flow {

namespace {

bool UnmarkNeverFired(Circuit& circuit) {
    bool any = false;
    for (const auto& node : circuit.MainFrame.Nodes) {
        any = any || (node->Flags & ObjectFlag::NeverFired);
        node->Flags &= ~ObjectFlag::NeverFired;
    }
    return any;
}

} // namespace

void StartRun(Circuit& circuit) {
    UnmarkNeverFired(circuit);
    if (!PrepareCircuit(circuit)) return;
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
    for (Node* node : outlook.NeverFire)
        node->Flags |= ObjectFlag::NeverFired;
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

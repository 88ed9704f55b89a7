#include "engine/RunStatus.h"

#include "engine/RunObserver.h"

namespace flow {

void ShowRunState(Circuit& circuit, int state, const QString& status) {
    circuit.State = state;
    if (!circuit.Observer) return;
    circuit.Observer->SetRunStatus(status);
    circuit.Observer->Redraw();
}

} // namespace flow

#include "engine/RunStatus.h"

#include "engine/RunObserver.h"

namespace flow {

void ShowRunState(RunSession& session, RunState state, const QString& status) {
    session.SetState(state);
    RunObserver* observer = session.Observer();
    if (!observer) return;
    observer->SetRunStatus(status);
    observer->Redraw();
}

} // namespace flow

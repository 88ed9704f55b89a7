#include "model/RunLink.h"

#include "model/Records.h"

namespace flow {

RunsHeld::RunsHeld(const Circuit* circuit) {
    if (!circuit) return;
    locks_.reserve(circuit->Runs.size());
    for (RunLink* run : circuit->Runs)
        locks_.emplace_back(run->FiringLock());
}

} // namespace flow

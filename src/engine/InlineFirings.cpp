#include "engine/InlineFirings.h"

#include "engine/Execution.h"
#include "engine/NeededCounts.h"
#include "engine/NodeThread.h"
#include "engine/Routines.h"
#include "engine/Settling.h"

#include <vector>

namespace flow {

namespace {

struct Claimed {
    flow::Node* Node;
    NodeRun* Run;
};

struct ThisThread {
    const RunSession* Session = nullptr; // that of the InlineFirings active here, if one is
    std::vector<Claimed> Claims;         // kept from firing to firing, as is its storage
};

thread_local ThisThread here;

// Looks only at the entry: the node's thread may be ending (NodeThread::Lend looks at it).
bool MayFireHere(const RunSession& session, const NodeRun& run) {
    const Routine* routine = run.Routine;
    return !session.Watch.On() && run.StopRequest == 0 && run.Thread && routine &&
           !routine->Unlocked;
}

// Only holders of the FiringLock take counts, so what was seen there is still there; a stop
// clearing the counts of a thread that outlived its grace period is the one exception.
bool Claim(Node& node, NodeRun& run, const CountingSemaphore& arrived) {
    const auto others = [&](auto&& visit) {
        return ForEachNeeded(node, run,
                             [&](CountingSemaphore& s) { return &s == &arrived || visit(s); });
    };
    if (!others([](const CountingSemaphore& s) { return s.Available() != 0; })) return false;
    std::size_t taken = 0;
    const bool all = others([&](CountingSemaphore& s) {
        if (!s.TryAcquire()) return false;
        ++taken;
        return true;
    });
    if (!all) {
        others([&](CountingSemaphore& s) {
            if (taken == 0) return false;
            s.Release();
            --taken;
            return true;
        });
        return false;
    }
    here.Claims.push_back({&node, &run});
    return true;
}

void GiveBack(Node& node, NodeRun& run) {
    ForEachNeeded(node, run, [](CountingSemaphore& s) {
        s.Release();
        return true;
    });
    run.Bell.Released(true);
}

// False when the node's thread is being stopped: the node is not fired.
bool FireHere(RunSession& session, Node& node, NodeRun& run) {
    NodeThread* thread = NodeThread::Lend(run);
    if (!thread) return false;
    // Read as the node's thread reads it: the number is set before any start is released.
    const std::uint64_t runNumber = session.RunNumber;
    FireOrSkip(*run.Routine, Firing{session, node, run, runNumber});
    thread->CountFiring();
    if (LoopRun* driver = run.Driver)
        driver->NoteFiring();
    else
        NoteFiring(session, runNumber);
    thread->EndLoan(run);
    return true;
}

} // namespace

InlineFirings::InlineFirings(RunSession& session) : session_(session), active_(!here.Session) {
    if (active_) here.Session = &session;
}

InlineFirings::~InlineFirings() {
    if (!active_) return;
    for (const Claimed& claimed : here.Claims)
        GiveBack(*claimed.Node, *claimed.Run);
    here.Claims.clear();
    here.Session = nullptr;
}

void InlineFirings::Drain() {
    if (!active_) return;
    auto& claims = here.Claims;
    for (std::size_t next = 0; next < claims.size(); ++next) {
        const Claimed claimed = claims[next]; // firing may claim more, moving the storage
        if (next >= kMostFirings || !MayFireHere(session_, *claimed.Run) ||
            !FireHere(session_, *claimed.Node, *claimed.Run))
            GiveBack(*claimed.Node, *claimed.Run);
    }
    claims.clear();
}

void ReleaseFor(RunSession& session, Node& node, NodeRun& run, CountingSemaphore& semaphore) {
    // A count already waiting means the node's thread has a firing of its own to make first.
    if (here.Session == &session && semaphore.Available() == 0 && MayFireHere(session, run) &&
        Claim(node, run, semaphore))
        return;
    semaphore.Release();
    run.Bell.Released(ReadyToFire(node, run));
}

} // namespace flow

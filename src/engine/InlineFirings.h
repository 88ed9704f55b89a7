#pragma once
// Firing a node on the thread that hands it its last count, instead of waking the node's own
// thread for it. Every node keeps its thread, and that thread still fires it whenever the
// run is watched (recorded, or held at the pause gate) or the count comes from elsewhere; but a
// value travelling down a chain, or a loop's body running its iterations, would otherwise pay a
// thread switch for every firing, which costs far more than the firing's computation.
//
// Only routines that compute under the FiringLock are fired this way, with the lock held
// throughout: the firings of a run stay one at a time, each one after the values it takes, so
// what a run prints, the order in which lines of one chain appear, what nodes receive and send,
// and which nodes are skipped or never fire are the same as on the nodes' own threads (the
// firing order is one those threads could have taken). Each firing is counted on its node's
// thread, so waiting for a run, settling and stopping see no difference. A loop's instance
// (which runs without the lock) and a node being stopped are always left to their own threads.

#include "engine/RunSession.h"

#include <cstddef>

namespace flow {

// While one lives on a thread that holds the session's FiringLock, the releases this thread
// makes that leave a node ready to fire claim the node instead: its other counts are taken
// and it waits here to be fired. Only one is active on a thread at a time; a second one made
// while it lives does nothing.
class InlineFirings {
  public:
    explicit InlineFirings(RunSession& session);
    // Hands whatever was claimed and not fired back to the nodes' threads.
    ~InlineFirings();
    InlineFirings(const InlineFirings&) = delete;
    InlineFirings& operator=(const InlineFirings&) = delete;

    // With the FiringLock held: fires every node claimed, in the order claimed, and those that
    // their firings claim in turn. Past kMostFirings in one go, or once the run is watched or a
    // node is being stopped, the rest go back to their threads, so that the lock is never held
    // for long.
    void Drain();

    static constexpr std::size_t kMostFirings = 8192;

  private:
    RunSession& session_;
    bool active_;
};

// Releases one of the node's semaphores (the start, or the slot of a fed input that received a
// value) and wakes the node's thread if that left the node ready to fire; or, within
// InlineFirings on this thread, claims the node for it.
void ReleaseFor(RunSession& session, Node& node, NodeRun& run, CountingSemaphore& semaphore);

} // namespace flow

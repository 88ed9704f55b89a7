#pragma once
// A node's worker thread and the bookkeeping the engine keeps beside it. Only the engine sees
// this class.

#include "engine/CountingSemaphore.h"
#include "engine/RunSession.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace flow {

class NodeThread {
  public:
    // A new thread, parked until it is given a node; none when the system refuses a thread.
    static NodeThread* Create();
    // Hands a parked thread its node, the node's entry in the session and its routine without
    // waking it: it wakes at the first release of one of the node's semaphores, or when asked
    // to stop.
    void Assign(RunSession& session, Node& node, NodeRun& run, const Routine& routine);

    NodeThread(const NodeThread&) = delete;
    NodeThread& operator=(const NodeThread&) = delete;

    // Sets the stop flag and releases every semaphore the loop may wait on, once each.
    void RequestStop();
    // Waits up to the timeout for the loop to end, and for a firing of the node lent out to
    // another thread. When both ended the thread is joined and this object deleted; otherwise
    // the thread is detached, and whichever of the two ends last deletes this object. Either
    // way the caller must not use this object again.
    bool FinishOrDetach(std::chrono::milliseconds timeout);

    // Waits until the thread has completed at least the given number of firings.
    void WaitForFirings(std::uint64_t firings);
    // Counts a firing of the thread's node: made by the thread, or by another in its place
    // (engine/InlineFirings.h).
    void CountFiring();

    // For another thread to fire the node in this one's place, with the FiringLock held: the
    // node's thread, or none when the node has none or is being stopped. Until EndLoan a stop
    // waits for that firing as for one of the thread's own, and if it gives up, this object
    // lives on until both the firing and the thread have ended.
    static NodeThread* Lend(NodeRun& run);
    void EndLoan(NodeRun& run);

    // Starts released to this thread: by each Start, or by the loop whose body holds the node,
    // once per iteration.
    std::atomic<std::uint64_t> Started{0};
    // Firings completed.
    std::atomic<std::uint64_t> Fired{0};
    // The thread's own stop flag: unlike NodeRun::StopRequest it is never cleared, so a thread
    // that was detached still leaves at its next chance.
    std::atomic<bool> Stopping{false};

  private:
    NodeThread() : sleeper_(TakeSleeper()) {}
    ~NodeThread() { ReturnSleeper(sleeper_); }
    static void* Main(void* self);
    bool WaitForNode();
    void Loop();
    void Ended();

    RunSession* session_ = nullptr;
    Node* node_ = nullptr;
    NodeRun* run_ = nullptr;
    const Routine* routine_ = nullptr;
    std::atomic<bool> assigned_{false};
    std::atomic<int> firingWatchers_{0}; // threads in WaitForFirings
    Sleeper& sleeper_;
    pthread_t handle_{};
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    bool ended_ = false;
    bool detached_ = false;
    // Detached while another thread still fired the node: that thread ends the loan later.
    bool loanOutstanding_ = false;
    // What the recording of a run keeps of this thread's firing under way; its storage is
    // reused from firing to firing.
    FiringRecord record_;
};

} // namespace flow

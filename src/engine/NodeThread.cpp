#include "engine/NodeThread.h"

#include "engine/DetachedThreads.h"
#include "engine/Execution.h"
#include "engine/FiringWatch.h"
#include "engine/InlineFirings.h"
#include "engine/NeededCounts.h"
#include "engine/Routines.h"
#include "engine/Settling.h"
#include "engine/WaiterRoom.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace flow {

namespace {

// Circuits of thousands of nodes run one thread each; the routines need very little stack.
constexpr std::size_t kStackSize = 256 * 1024;

std::atomic<std::size_t> liveThreads{0};

} // namespace

NodeThread* NodeThread::Create() {
    MakeRoomForWaiters(++liveThreads);
    auto* thread = new NodeThread;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kStackSize);
    const int result = pthread_create(&thread->handle_, &attributes, &NodeThread::Main, thread);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        --liveThreads;
        delete thread;
        return nullptr;
    }
    return thread;
}

void NodeThread::Assign(RunSession& session, Node& node, NodeRun& run, const Routine& routine) {
    session_ = &session;
    node_ = &node;
    run_ = &run;
    routine_ = &routine;
    assigned_ = true;
    run.Bell.Attach(&sleeper_);
    // A parked thread would wake at any release; given a node, it is rung only once the node is
    // ready, as a thread that waits for one of its node's counts is. Only a wish for any
    // release is replaced; a thread that already runs its loop has made its own.
    const void* first = nullptr;
    ForEachNeeded(node, run, [&](const CountingSemaphore& s) {
        first = &s;
        return false;
    });
    const void* parked = Sleeper::AnyRelease;
    sleeper_.Awaited.compare_exchange_strong(parked, first);
    // Releases that came before the bell was attached rang nobody.
    if (ReadyToFire(node, run)) sleeper_.Ring();
}

void* NodeThread::Main(void* self) {
    auto* thread = static_cast<NodeThread*>(self);
    if (thread->WaitForNode()) thread->Loop();
    --liveThreads;
    thread->Ended();
    return nullptr;
}

// A thread made ahead of time sleeps here until it is given a node; any release of the node's
// semaphores, or a stop, wakes it.
bool NodeThread::WaitForNode() {
    while (!assigned_ && !Stopping)
        sleeper_.SleepFor(Sleeper::AnyRelease, [this] { return !assigned_ && !Stopping; });
    return assigned_ && !Stopping;
}

// The firing protocol shared by every routine: wait for the start and for one value on each
// fed input, compute once under the circuit's lock, count the firing, and begin again.
// Nothing is taken until the start and a value on every fed input are all there, so between
// runs the thread holds no count of an earlier run. It waits for its inputs first and for its
// start last: a later run releases every start before values travel, so the thread sleeps
// once, until its last input arrives, instead of once for its start and again for its inputs.
// The stop flag is looked at after every wait and under every lock: a thread that was held up
// past its grace period and detached leaves at its next chance, delivering nothing.
void NodeThread::Loop() {
    RunSession& session = *session_;
    std::vector<CountingSemaphore*> needed;
    for (;;) {
        // The editor rewires under this lock; it is never held while waiting.
        std::unique_lock lock(session.FiringLock());
        if (Stopping) return;
        needed.clear();
        ForEachNeeded(*node_, *run_, [&](CountingSemaphore& s) {
            needed.push_back(&s);
            return true;
        });
        const auto missing = std::find_if(needed.begin(), needed.end(),
                                          [](const auto* s) { return s->Available() == 0; });
        if (missing != needed.end()) {
            lock.unlock();
            const CountingSemaphore* awaited = *missing;
            sleeper_.SleepFor(awaited, [&] { return awaited->Available() == 0 && !Stopping; });
            continue;
        }
        // Only holders of the lock take counts, so they are all still there; a stop taking back
        // its releases is the one exception, and the stop flag is then set.
        if (!std::all_of(needed.begin(), needed.end(), [](auto* s) { return s->TryAcquire(); }))
            continue;
        // A stop that came after the look above released every semaphore to wake this thread:
        // the counts just taken may be those releases and no value. Its flag is set before
        // them, so it shows now.
        if (Stopping) return;
        // Read now: ExecuteCircuit releases the starts only after the new number is set.
        const std::uint64_t runNumber = session.RunNumber;
        // The pause gate and the recording act here and nowhere else in the firing path; with
        // neither wanted, the watch costs this one relaxed load.
        WatchedFiring watched;
        if (session.Watch.On() && !EnterWatch(watched, session, *node_, *run_, *routine_, runNumber,
                                              lock, Stopping, record_))
            return;
        const Firing firing{session, *node_, *run_, runNumber, watched.Record != nullptr};
        if (routine_->Unlocked && !ReceivedNothing(firing)) {
            lock.unlock();
            routine_->Compute(firing);
            // A loop stopped in the middle did not fire: it sent nothing.
            if (Stopping) return;
            NoteComputed(watched, session, *node_, *run_);
        } else {
            HeldRings held;
            InlineFirings successors(session);
            FireOrSkip(*routine_, firing);
            NoteComputed(watched, session, *node_, *run_);
            successors.Drain();
            lock.unlock();
        }
        CountFiring();
        if (LoopRun* driver = run_->Driver)
            driver->NoteFiring();
        else
            NoteFiring(session, runNumber);
        LeaveWatch(watched, session);
    }
}

// Only while someone waits for this thread's firings does a firing wake them: the body of a
// loop fires a million times while the run's waiter waits for the loop alone.
void NodeThread::CountFiring() {
    Fired.fetch_add(1);
    if (firingWatchers_.load() != 0) Fired.notify_all();
}

void NodeThread::WaitForFirings(std::uint64_t firings) {
    ++firingWatchers_;
    for (std::uint64_t fired = Fired; fired < firings; fired = Fired)
        Fired.wait(fired);
    --firingWatchers_;
}

void NodeThread::RequestStop() {
    Stopping = true;
    // A thread held at the pause gate sleeps there, not on its semaphores.
    if (session_) session_->Watch.Gate().WakeAll();
    if (run_) {
        // A loop waiting for its iteration wakes, and begins no other.
        if (run_->Loop) run_->Loop->Abort();
        run_->Start.Release();
        for (const auto& slot : run_->Ports)
            if (slot) slot->Semaphore.Release();
    }
    // Also a thread still waiting for its node, or one whose awaited count was full.
    sleeper_.Ring();
}

NodeThread* NodeThread::Lend(NodeRun& run) {
    // Either this thread sees the stop's request, or the stop sees the loan and waits for it.
    run.Lent.store(1);
    NodeThread* thread = run.StopRequest.load() == 0 ? run.Thread : nullptr;
    if (thread && !thread->Stopping) return thread;
    if (thread)
        thread->EndLoan(run);
    else
        run.Lent.store(0);
    return nullptr;
}

void NodeThread::EndLoan(NodeRun& run) {
    if (run.Lent.exchange(0) != 2) return;
    std::unique_lock lock(mutex_);
    loanOutstanding_ = false;
    const bool last = ended_;
    lock.unlock();
    if (!last) return;
    NoteDetachedEnded(&run);
    delete this;
}

bool NodeThread::FinishOrDetach(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    endedChanged_.wait_until(lock, deadline, [this] { return ended_; });
    // A firing of the node made by another thread in its place is waited for as the thread's
    // own would be; it is short, and a stop seldom meets one.
    if (run_ && run_->Lent != 0) {
        lock.unlock();
        while (run_->Lent != 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
    }
    int lent = 1;
    loanOutstanding_ = run_ && run_->Lent.compare_exchange_strong(lent, 2);
    if (!ended_ || loanOutstanding_) {
        // Never killed: a forced end could leave the circuit's lock held. This object lives on
        // until the thread and the firing lent out have both ended; the last deletes it.
        detached_ = true;
        if (run_) NoteDetached(run_, session_);
        if (ended_)
            pthread_join(handle_, nullptr);
        else
            pthread_detach(handle_);
        return false;
    }
    lock.unlock();
    pthread_join(handle_, nullptr);
    delete this;
    return true;
}

void NodeThread::Ended() {
    std::unique_lock lock(mutex_);
    ended_ = true;
    const bool ownsItself = detached_ && !loanOutstanding_;
    endedChanged_.notify_all();
    lock.unlock();
    if (!ownsItself) return;
    if (run_) NoteDetachedEnded(run_);
    delete this;
}

} // namespace flow

#include "engine/ThreadReserve.h"

#include "engine/NodeThread.h"
#include "engine/NodeThreads.h"
#include "engine/ThreadLimits.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace flow {

namespace {

// Enough for the largest circuits that run well; beyond, the remaining threads start with
// the run as they always did.
constexpr std::size_t kMostParked = 20000;
// Few threads start quickly and are not worth reading the system's figures for.
constexpr std::size_t kFewThreads = 64;
constexpr std::chrono::milliseconds kStopGrace{1000};

std::atomic<std::chrono::milliseconds::rep> idleDelay{60'000};

void StopAll(const std::vector<NodeThread*>& threads) {
    for (NodeThread* thread : threads)
        thread->RequestStop();
    for (NodeThread* thread : threads)
        thread->FinishOrDetach(kStopGrace);
}

class Reserve {
  public:
    ~Reserve() { End(); }

    void Ask(std::size_t wanted) {
        std::lock_guard lock(mutex_);
        lastUse_ = Clock::now();
        if (wanted <= target_ || wanted == asked_) return;
        asked_ = wanted;
        // Read by the starter, which must not race a test that swaps the allowance later.
        allowance_ = ThreadAllowance();
        ++request_;
        if (!starter_.joinable()) starter_ = std::thread([this] { Start(); });
        changed_.notify_all();
    }

    // Called for every thread a node needs, whether the reserve has one or not: either way that
    // need is served, and the starter does not start a thread for it any more. A new request
    // may top the reserve up again.
    NodeThread* Take() {
        std::lock_guard lock(mutex_);
        lastUse_ = Clock::now();
        if (target_ > 0) --target_;
        asked_ = 0;
        if (parked_.empty()) return nullptr;
        NodeThread* thread = parked_.back();
        parked_.pop_back();
        return thread;
    }

    std::size_t Parked() {
        std::lock_guard lock(mutex_);
        return parked_.size();
    }

    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !starter_.joinable() || Idle(); });
    }

    void End() {
        std::unique_lock lock(mutex_);
        ending_ = true;
        changed_.notify_all();
        std::thread starter = std::move(starter_);
        lock.unlock();
        if (starter.joinable()) starter.join();
        lock.lock();
        std::vector<NodeThread*> parked = std::move(parked_);
        parked_.clear();
        asked_ = 0;
        target_ = 0;
        ending_ = false;
        lock.unlock();
        StopAll(parked);
    }

  private:
    bool Idle() const { return ending_ || (handled_ == request_ && parked_.size() >= target_); }

    // The background starter: sets its target from the latest request, then starts threads
    // until the reserve holds that many.
    void Start() {
        std::unique_lock lock(mutex_);
        for (;;) {
            const bool woken = changed_.wait_for(lock, IdleThreadDelay(), [this] {
                return ending_ || handled_ != request_ || parked_.size() < target_;
            });
            if (!woken) {
                LetIdleThreadsGo(lock);
                continue;
            }
            if (ending_) return;
            if (handled_ != request_) {
                // Marked handled only once the target is set: until then the reserve is not idle.
                const std::uint64_t request = request_;
                const std::size_t asked = asked_;
                const std::size_t parked = parked_.size();
                const std::function<std::size_t()> allowance = allowance_;
                lock.unlock();
                // A circuit that needs more new threads than the system allows will be refused
                // its run: starting threads for it would only take them from other programs.
                std::size_t room = asked;
                if (asked > kFewThreads) {
                    const std::size_t allowed = allowance();
                    room = asked - std::min(asked, parked) <= allowed ? allowed / 2 : 0;
                }
                lock.lock();
                target_ = std::max(target_, std::min({asked, kMostParked, parked_.size() + room}));
                handled_ = request;
                changed_.notify_all();
                continue;
            }
            lock.unlock();
            NodeThread* thread = NodeThread::Create();
            lock.lock();
            if (thread)
                parked_.push_back(thread);
            else
                target_ = parked_.size(); // the system refuses: do not insist
            if (Idle()) changed_.notify_all();
        }
    }

    // Parked threads nobody asked for or took within the delay end; a later request starts
    // threads anew.
    void LetIdleThreadsGo(std::unique_lock<std::mutex>& lock) {
        if (parked_.empty() || Clock::now() - lastUse_ < IdleThreadDelay()) return;
        std::vector<NodeThread*> parked = std::move(parked_);
        parked_.clear();
        asked_ = 0;
        target_ = 0;
        lock.unlock();
        StopAll(parked);
        lock.lock();
        changed_.notify_all();
    }

    using Clock = std::chrono::steady_clock;
    std::mutex mutex_;
    std::condition_variable changed_;
    Clock::time_point lastUse_ = Clock::now();
    std::vector<NodeThread*> parked_;
    std::thread starter_;
    std::function<std::size_t()> allowance_;
    std::size_t asked_ = 0;  // the latest request, until a thread is taken
    std::size_t target_ = 0; // parked threads the starter works towards, within the allowance
    std::uint64_t request_ = 0, handled_ = 0;
    bool ending_ = false;
};

Reserve& TheReserve() {
    static Reserve reserve;
    return reserve;
}

} // namespace

std::chrono::milliseconds IdleThreadDelay() {
    return std::chrono::milliseconds(idleDelay.load());
}

void SetIdleThreadDelay(std::chrono::milliseconds delay) {
    idleDelay = delay.count();
}

void ReserveThreadsFor(const RunSession& session) {
    ReserveThreads(ThreadsNeeded(session));
}

void ReserveThreads(std::size_t wanted) {
    if (wanted != 0) TheReserve().Ask(wanted);
}

NodeThread* TakeParkedThread() {
    return TheReserve().Take();
}

std::size_t ParkedThreads() {
    return TheReserve().Parked();
}

void WaitForThreadReserve() {
    TheReserve().Wait();
}

void EndThreadReserve() {
    TheReserve().End();
}

} // namespace flow

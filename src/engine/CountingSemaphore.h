#pragma once
// The counting semaphores of nodes and ports. A node's thread waits for several of them at once
// (its start and a value on every fed input) and should sleep once per firing, not once per
// semaphore: so a semaphore does not sleep by itself. Whoever releases one tells the node's
// doorbell whether the node now has every count it needs; only then is its thread woken.

#include <atomic>
#include <cstdint>

namespace flow {

// Where one thread sleeps, and which release it waits for. Kept for the life of the process
// once made and handed from thread to thread: a releaser that read a bell just before it was
// taken down rings a bell that nobody, or another thread, sleeps on, which only wakes that
// thread once for nothing.
struct Sleeper {
    std::atomic<std::uint32_t> Bell{0};
    // The semaphore whose release should wake the thread, or AnyRelease; none while awake.
    std::atomic<const void*> Awaited{nullptr};

    static const void* const AnyRelease;

    // Sleeps until the bell rings, unless stillWanted() (that the awaited semaphore's count is
    // still missing) says otherwise once the wish is published. Wakes may come for nothing.
    template <typename StillWanted> void SleepFor(const void* awaited, StillWanted stillWanted) {
        const std::uint32_t seen = Bell.load();
        Awaited.store(awaited);
        if (stillWanted()) SleepWhileUnrung(seen);
        Awaited.store(nullptr, std::memory_order_relaxed);
    }
    void Ring();

  private:
    void SleepWhileUnrung(std::uint32_t seen);
};

// The rings of sleepers so far in this process: the thread wakes that runs paid for, which
// tests and benchmarks count instead of timing runs.
std::uint64_t RingsSoFar();

// A sleeper of the process's pool, and giving it back once its thread has ended.
Sleeper& TakeSleeper();
void ReturnSleeper(Sleeper& sleeper);

// The node's link to the sleeper of the thread that currently runs it.
class Doorbell {
  public:
    void Attach(Sleeper* sleeper) { sleeper_.store(sleeper); }
    // After a release of one of the node's semaphores: wakes the thread if it sleeps and the
    // node is `ready` (every count it needs is there), or if it waits for any release at all.
    // A thread woken for less would only find a count missing and sleep again.
    void Released(bool ready) const;

  private:
    std::atomic<Sleeper*> sleeper_{nullptr};
};

// While one lives, the wakes that this thread's releases owe are held back and given when it
// ends. A node thread delivers its values under the circuit's lock; woken at once, the
// receivers would only find the lock taken and sleep again on it.
class HeldRings {
  public:
    HeldRings();
    ~HeldRings();
    HeldRings(const HeldRings&) = delete;
    HeldRings& operator=(const HeldRings&) = delete;
};

class CountingSemaphore {
  public:
    static constexpr int kMaximum = 2147483647;

    explicit CountingSemaphore(int count = 0) : count_(count) {}
    CountingSemaphore(const CountingSemaphore&) = delete;
    CountingSemaphore& operator=(const CountingSemaphore&) = delete;

    // Adds one to the count, which never exceeds kMaximum; false when it was already there.
    bool Release();
    // Takes one from the count if there is one.
    bool TryAcquire();
    // Takes the whole count.
    void Clear();
    int Available() const { return count_.load(); }

  private:
    std::atomic<int> count_;
};

} // namespace flow

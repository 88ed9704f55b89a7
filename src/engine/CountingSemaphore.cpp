#include "engine/CountingSemaphore.h"

#include <memory>
#include <mutex>
#include <vector>

#ifdef __linux__
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace flow {

namespace {

// Never destroyed: a thread that was detached may still sleep on its sleeper while the
// process exits.
struct SleeperPool {
    std::mutex Mutex;
    std::vector<std::unique_ptr<Sleeper>> All;
    std::vector<Sleeper*> Free;
};

SleeperPool& Pool() {
    static auto* pool = new SleeperPool;
    return *pool;
}

const char anyRelease = 0;

std::atomic<std::uint64_t> rings{0};

// The rings held back on this thread, while a HeldRings lives; sleepers live for ever, so a
// late ring is at worst a wake for nothing.
thread_local std::vector<Sleeper*> heldRings;
thread_local bool holdingRings = false;

void RingOrHold(Sleeper& sleeper) {
    if (holdingRings)
        heldRings.push_back(&sleeper);
    else
        sleeper.Ring();
}

} // namespace

const void* const Sleeper::AnyRelease = &anyRelease;

// Called only by the sleeper's own thread. The futex is used directly: whether a wake is owed
// is decided by the doorbell already, and no library bookkeeping of waiters is wanted on top.
void Sleeper::SleepWhileUnrung(std::uint32_t seen) {
#ifdef __linux__
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&Bell), FUTEX_WAIT_PRIVATE, seen, nullptr,
            nullptr, 0);
#else
    Bell.wait(seen);
#endif
}

void Sleeper::Ring() {
    rings.fetch_add(1, std::memory_order_relaxed);
    Bell.fetch_add(1);
#ifdef __linux__
    syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&Bell), FUTEX_WAKE_PRIVATE, 1, nullptr,
            nullptr, 0);
#else
    Bell.notify_one();
#endif
}

std::uint64_t RingsSoFar() {
    return rings.load(std::memory_order_relaxed);
}

Sleeper& TakeSleeper() {
    SleeperPool& pool = Pool();
    std::lock_guard lock(pool.Mutex);
    if (pool.Free.empty()) {
        pool.All.push_back(std::make_unique<Sleeper>());
        return *pool.All.back();
    }
    Sleeper* sleeper = pool.Free.back();
    pool.Free.pop_back();
    return *sleeper;
}

void ReturnSleeper(Sleeper& sleeper) {
    SleeperPool& pool = Pool();
    std::lock_guard lock(pool.Mutex);
    pool.Free.push_back(&sleeper);
}

// Sequentially consistent on both sides: the releaser counts, then looks for a wish; the
// sleeper publishes its wish, then looks at the count it waits for. Either the releaser sees
// the wish, or the sleeper sees the count and does not sleep. A sleeper waits for a count it
// found missing; the release that makes the node ready comes last, so when the awaited count
// came from an earlier release (that rang nobody) this one still finds the wish.
void Doorbell::Released(bool ready) const {
    Sleeper* sleeper = sleeper_.load();
    if (!sleeper) return;
    const void* awaited = sleeper->Awaited.load();
    if (awaited == Sleeper::AnyRelease || (ready && awaited)) RingOrHold(*sleeper);
}

HeldRings::HeldRings() {
    holdingRings = true;
}

HeldRings::~HeldRings() {
    holdingRings = false;
    for (Sleeper* sleeper : heldRings)
        sleeper->Ring();
    heldRings.clear();
}

bool CountingSemaphore::Release() {
    int count = count_.load(std::memory_order_relaxed);
    do {
        if (count == kMaximum) return false;
    } while (!count_.compare_exchange_weak(count, count + 1));
    return true;
}

bool CountingSemaphore::TryAcquire() {
    int count = count_.load(std::memory_order_relaxed);
    do {
        if (count == 0) return false;
    } while (!count_.compare_exchange_weak(count, count - 1));
    return true;
}

void CountingSemaphore::Clear() {
    count_.store(0);
}

} // namespace flow

#include "engine/WaiterRoom.h"

#include <algorithm>
#include <bit>
#include <mutex>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace flow {

namespace {

// Linux keeps the waiters of a process's semaphores in a hash table of its own, sized for a
// handful of threads; every wake-up walks one bucket. With thousands of node threads blocked,
// each wake-up would walk hundreds of them: the table grows with the threads instead.
// (Older kernels refuse the request, and keep their larger table shared by all processes.)
#ifndef PR_FUTEX_HASH
#define PR_FUTEX_HASH 78
#define PR_FUTEX_HASH_SET_SLOTS 1
#endif

constexpr std::size_t kFewThreads = 64;
constexpr std::size_t kMostSlots = 65536;

} // namespace

void MakeRoomForWaiters(std::size_t threads) {
#ifdef __linux__
    // Threads are started on the user-interface thread and by the thread reserve.
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    static std::size_t slots = 0; // 0: as the kernel made it
    if (threads <= kFewThreads || threads <= slots || slots >= kMostSlots) return;
    const std::size_t wanted = std::min(std::bit_ceil(threads * 2), kMostSlots);
    if (prctl(PR_FUTEX_HASH, PR_FUTEX_HASH_SET_SLOTS, wanted, 0, 0) == 0)
        slots = wanted;
    else
        slots = kMostSlots; // not offered here: do not ask again
#else
    (void)threads;
#endif
}

} // namespace flow

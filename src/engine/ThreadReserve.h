#pragma once
// Node threads started ahead of time. Starting thousands of threads costs most of the first
// run of a large circuit; started in the background while the circuit is open, they are only
// handed their nodes when it runs.

#include "engine/RunSession.h"

#include <chrono>
#include <cstddef>

namespace flow {

// Node threads that have had no run for this long are let go: parked threads by the reserve
// (no thread asked for or taken meanwhile), a circuit's own by its window. The next run starts
// them again. A minute by default: long enough for the user's next edit and Start, short
// enough that an idle window does not hold thousands of threads from the other programs.
std::chrono::milliseconds IdleThreadDelay();
void SetIdleThreadDelay(std::chrono::milliseconds delay);

// Asks, without waiting, for as many parked threads as the session's next run would start.
// The reserve never takes more than half of what the system allows (ThreadAllowance), starts
// nothing for a circuit too large to be allowed its run, and never gives threads back: one
// circuit's spare threads serve the next.
void ReserveThreadsFor(const RunSession& session);
// The same for a number of threads.
void ReserveThreads(std::size_t wanted);
// A parked thread for a node, or none when the reserve is empty; asked for every thread a node
// needs, so that the reserve stops starting threads for needs served without it.
NodeThread* TakeParkedThread();
std::size_t ParkedThreads();
// Waits until the background starter has done what was asked of it.
void WaitForThreadReserve();
// Ends the background starter and every parked thread; before the process quits. A later
// request starts over.
void EndThreadReserve();

} // namespace flow

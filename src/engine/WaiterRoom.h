#pragma once
// Keeps the cost of waking one blocked thread independent of how many others are blocked.

#include <cstddef>

namespace flow {

// Called before a thread is started, with the number of node threads that will then be alive.
void MakeRoomForWaiters(std::size_t threads);

} // namespace flow

#pragma once
// How many more threads this process may start without taking the last process slots of the
// machine, which every other program needs as well.

#include <cstddef>
#include <functional>

namespace flow {

// One limit the system states on threads, and how much of it is taken.
struct ThreadLimit {
    std::size_t Limit = 0;
    std::size_t InUse = 0;
};

// New threads allowed under one limit: what is left of it, less a margin for the rest of the
// machine (an eighth of the limit and a little more).
std::size_t ThreadsLeftUnder(const ThreadLimit& limit);

// The smallest allowance under the kernel's threads-max and pid_max, the process's
// RLIMIT_NPROC (where it binds) and the pids limit of its control group. Replaceable, so that
// tests can set a small one.
std::function<std::size_t()>& ThreadAllowance();

} // namespace flow

#pragma once
// How the time of some work grows with its size. Tests that guard against work growing faster
// than it should compare two sizes instead of stating a time: the speed of the machine and of
// the build cancels out of the ratio.

#include <functional>
#include <ostream>
#include <string>

namespace flow::test {

// For sixteen times the size, work that grows linearly takes about 16 times as long and work
// that grows with the square of the size 256 times. The limit lies halfway between on a
// logarithmic scale: room for caches, memory allocation and a busy machine on the one side, and
// for a square hidden behind a large linear part on the other.
constexpr int kSizeRatio = 16;
constexpr double kLinearGrowthLimit = 64;

// Seconds of processor time this thread spends on the work. Not the time on the clock: on a
// busy machine a long piece of work is interrupted more often than a short one, and the other
// processes would count against it.
double CpuSecondsOf(const std::function<void()>& work);

struct Growth {
    int SmallSize = 0, LargeSize = 0;
    double SmallSeconds = 0, LargeSeconds = 0;
    // How many times longer the large size took.
    double Ratio() const;
};
// "0.01 s for 1250, 0.2 s for 20000: 20 times", for messages and the output of a run.
std::string Describe(const Growth& growth);
std::ostream& operator<<(std::ostream& out, const Growth& growth);

// Calls measure(size) a few times for each size, each time for a fresh piece of work of that
// size, and keeps the fastest time of each size: the run least disturbed by the machine. The
// measure times only the part it means (with CpuSecondsOf) and returns those seconds. The last
// call is for the large size, so what it made can still be checked afterwards.
Growth MeasureGrowth(const std::function<double(int size)>& measure, int smallSize, int largeSize,
                     int tries = 3);

} // namespace flow::test

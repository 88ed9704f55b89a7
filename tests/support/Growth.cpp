#include "support/Growth.h"

#include <algorithm>
#include <limits>
#include <sstream>
#include <time.h>

namespace flow::test {

namespace {

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

} // namespace

double CpuSecondsOf(const std::function<void()>& work) {
    const double start = ThreadCpuSeconds();
    work();
    return ThreadCpuSeconds() - start;
}

double Growth::Ratio() const {
    // A clock tick is the least a measured time can honestly be.
    return LargeSeconds / std::max(SmallSeconds, 1e-6);
}

std::string Describe(const Growth& growth) {
    std::ostringstream text;
    text << growth.SmallSeconds << " s for " << growth.SmallSize << ", " << growth.LargeSeconds
         << " s for " << growth.LargeSize << ": " << growth.Ratio() << " times";
    return text.str();
}

std::ostream& operator<<(std::ostream& out, const Growth& growth) {
    return out << Describe(growth);
}

Growth MeasureGrowth(const std::function<double(int size)>& measure, int smallSize, int largeSize,
                     int tries) {
    Growth growth{smallSize, largeSize, std::numeric_limits<double>::infinity(),
                  std::numeric_limits<double>::infinity()};
    for (int i = 0; i < tries; ++i) {
        growth.SmallSeconds = std::min(growth.SmallSeconds, measure(smallSize));
        growth.LargeSeconds = std::min(growth.LargeSeconds, measure(largeSize));
    }
    return growth;
}

} // namespace flow::test

// The nesting check agrees with a plain search of what each sub-circuit holds, whatever order
// the instances come in.

#include "file/NestingCheck.h"
#include "model/Records.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace flow {
namespace {

// Whether `from` holds `to` at some depth, by a plain search of the instances admitted so far.
bool Holds(const std::vector<std::vector<int>>& holds, int from, int to) {
    std::vector<int> pending{from};
    std::vector<bool> seen(holds.size());
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        if (next == to) return true;
        if (seen[std::size_t(next)]) continue;
        seen[std::size_t(next)] = true;
        for (const int inner : holds[std::size_t(next)])
            pending.push_back(inner);
    }
    return false;
}

TEST(NestingCheckTest, AdmitsExactlyTheInstancesThatCloseNoCircle) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const int count = 2 + int(random() % 12);
        std::vector<FunctionDef> definitions(static_cast<std::size_t>(count));
        std::vector<std::vector<int>> holds(static_cast<std::size_t>(count));
        NestingCheck check;
        for (int step = 0; step < 4 * count; ++step) {
            const int outer = int(random() % unsigned(count));
            const int inner = int(random() % unsigned(count));
            const bool expected = outer != inner && !Holds(holds, inner, outer);
            ASSERT_EQ(check.Admit(&definitions[std::size_t(outer)], &definitions[std::size_t(inner)]),
                      expected)
                << "seed " << seed << ", step " << step << ": " << outer << " holding " << inner;
            if (expected) holds[std::size_t(outer)].push_back(inner);
        }
    }
}

} // namespace
} // namespace flow

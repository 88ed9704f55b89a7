#pragma once
// Sums of positions, sizes and offsets. A file may put an object anywhere in the 64-bit range,
// so such a sum can leave it: it then stops at the nearest end of the range instead of
// wrapping round (which the language leaves undefined).

#include "model/Records.h"

#include <algorithm>
#include <cmath>

namespace flow {

inline Int SaturatedSum(Int a, Int b) {
    Int sum;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? INT64_MAX : INT64_MIN;
}

// (a + b) / 2, truncated toward zero as integer division is, even where a + b would overflow.
inline Int HalfSum(Int a, Int b) {
    Int sum;
    if (!__builtin_add_overflow(a, b, &sum)) return sum / 2;
    return a / 2 + b / 2 + (a % 2 + b % 2) / 2;
}

// The nearest whole unit to a position or offset computed in floating point, held to what an
// Int can take (NaN gives 0).
inline Int NearestUnit(double value) {
    constexpr double kLimit = 9.0e18;
    if (!(value == value)) return 0;
    return Int(std::llround(std::clamp(value, -kLimit, kLimit)));
}

} // namespace flow

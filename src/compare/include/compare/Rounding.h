#pragma once
// Rounding to a whole number with halves going to the even neighbour, as
// the difference bar and the window layout compute their positions.

#include <cstdint>

namespace Rounding {

// x rounded to the nearest whole number, halves to the even neighbour;
// values beyond the 64-bit range are held at its ends.
[[nodiscard]] std::int64_t RoundHalfEven(double x);

}  // namespace Rounding

#include "compare/Rounding.h"

#include <cmath>
#include <limits>

namespace Rounding {

std::int64_t RoundHalfEven(double x)
{
    // Written out instead of relying on the floating-point rounding mode,
    // which a library elsewhere in the process could have changed.
    const double down = std::floor(x);
    const double diff = x - down;
    double result = down;
    if (diff > 0.5) {
        result = down + 1.0;
    } else if (diff == 0.5) {
        result = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
    }
    constexpr double kLimit = 9.0e18;  // keeps the cast defined
    if (!(result > -kLimit && result < kLimit)) {
        return result < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(result);
}

}  // namespace Rounding

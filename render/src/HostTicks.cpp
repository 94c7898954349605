#include "tambrix/render/HostTicks.h"

#include <cmath>
#include <limits>

namespace tambrix::render
{
namespace
{

std::int64_t wholeHostTicks(long double ticks) noexcept
{
    const long double whole = std::round(ticks); // halves away from zero
    constexpr long double lowest = static_cast<long double>(std::numeric_limits<std::int64_t>::min());
    if (!(whole > lowest))
        return std::numeric_limits<std::int64_t>::min();
    if (!(whole < -lowest)) // 2^63, the first value past the range
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(whole);
}

} // namespace

std::int64_t ppqToHostTicks(double ppq) noexcept
{
    // The product in double precision, as the position itself.
    return wholeHostTicks(ppq * static_cast<double>(hostTicksPerQuarterNote));
}

std::int64_t hostTicksAfter(std::int64_t ticks, long double samples, double bpm, double sampleRate) noexcept
{
    // In long double: the distance between two far-apart 64-bit sample locations
    // does not fit 64 bits, and every 64-bit tick count is exact in it.
    const long double moved =
        samples * bpm * (static_cast<long double>(hostTicksPerQuarterNote) / 60.0L) / sampleRate;
    return wholeHostTicks(static_cast<long double>(ticks) + moved);
}

} // namespace tambrix::render

#include "tambrix/render/HostTicks.h"

#include <cmath>
#include <limits>

namespace tambrix::render
{

double positionAt(const TransportAnchor& anchor, double sampleRate, std::int64_t sample) noexcept
{
    if (!anchor.playing || sample == anchor.sample)
        return anchor.ppq;
    // The distance between two far-apart 64-bit locations does not fit 64 bits; in
    // long double it is exact.
    const auto samples = static_cast<double>(static_cast<long double>(sample) - anchor.sample);
    return anchor.ppq + samples * anchor.bpm / (60.0 * sampleRate);
}

std::int64_t hostTicksAt(const TransportAnchor& anchor, double sampleRate, std::int64_t sample) noexcept
{
    return ppqToHostTicks(positionAt(anchor, sampleRate, sample));
}

std::int64_t ppqToHostTicks(double ppq) noexcept
{
    // The product in double precision, as the position itself.
    const long double whole =
        std::round(static_cast<long double>(ppq * static_cast<double>(hostTicksPerQuarterNote)));
    constexpr long double lowest = static_cast<long double>(std::numeric_limits<std::int64_t>::min());
    if (!(whole > lowest))
        return std::numeric_limits<std::int64_t>::min();
    if (!(whole < -lowest)) // 2^63, the first value past the range
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(whole);
}

} // namespace tambrix::render

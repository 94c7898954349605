#pragma once

// Counts clock pulses in a rendered signal: a pulse starts where the signal rises
// above 0.5 (pulses start near 0.75 and hold above 0.5 for most of their length,
// while the idle signal between them stays at +-0.0001).

#include <cstdint>

namespace tambrix::render
{

class PulseCounter
{
public:
    void add(const float* samples, std::int64_t count, std::int64_t stride = 1)
    {
        for (std::int64_t i = 0; i < count; ++i)
        {
            const bool high = samples[i * stride] > 0.5f;
            if (high && !wasHigh)
                ++pulses;
            wasHigh = high;
        }
    }

    std::int64_t count() const { return pulses; }

private:
    std::int64_t pulses = 0;
    bool wasHigh = false;
};

} // namespace tambrix::render

#pragma once

#include <cstdint>
#include <string>

namespace tambrix::render
{

// What a render produced, as both render tools report it.
struct RenderSummary
{
    std::int64_t samples = 0;
    int channels = 0;
    int rate = 0;
    std::int64_t pulses = 0; // pulse onsets counted on the first channel
};

// The one-line JSON summary of a render written to the file `out`.
std::string summaryJson(const RenderSummary& summary, const std::string& out);

} // namespace tambrix::render

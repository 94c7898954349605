#pragma once

// A simulated host transport driven by RenderOptions and a timeline, or by play
// and stop calls. The host reports one position per block, at the block's first
// sample, as a host counting whole ticks of 1/960000 quarter note would
// (HostTicks.h).

#include "tambrix/render/HostTicks.h"
#include "tambrix/render/RenderOptions.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tambrix::render
{

// What the host reports for a block.
struct TransportPosition
{
    TransportAnchor anchor;     // where the transport plays from
    std::int64_t sample = 0;    // the block's first sample
    std::int64_t hostTicks = 0; // the position there, in whole host ticks
    double ppqPosition = 0.0;   // hostTicks / 960000

    bool playing() const noexcept { return anchor.playing; }
    double bpm() const noexcept { return anchor.bpm; }
};

class TransportSimulation
{
public:
    // Without events the transport plays from sample 0 at `bpm`, at quarter note
    // `startPpq`; the events (in order of their samples) change that. They are
    // read where they are: they must outlive the transport.
    TransportSimulation(double sampleRate, double bpm, double startPpq);
    TransportSimulation(double sampleRate, double bpm, double startPpq,
                        const std::vector<TimelineEvent>& events);
    TransportSimulation(double, double, double, std::vector<TimelineEvent>&&) = delete;
    // The options' transport and timeline.
    explicit TransportSimulation(const RenderOptions& options);
    TransportSimulation(const TransportSimulation&) = delete;
    TransportSimulation& operator=(const TransportSimulation&) = delete;

    // Starts the block beginning at `blockStart` (non-decreasing from call to call):
    // applies every event whose sample is at or before it, appends the values of
    // the value events among them to `valueChanges` (in order), and returns the
    // position the host reports for the block.
    TransportPosition beginBlock(std::int64_t blockStart, std::vector<double>& valueChanges);

    // From `sample` on the transport plays at `bpm`, at quarter note `ppq` there.
    void play(std::int64_t sample, double bpm, double ppq);
    // The transport stops at `sample` and keeps reporting that position (returned).
    double stop(std::int64_t sample);

private:
    double sampleRate;
    const TimelineEvent* events;
    std::size_t eventCount;
    std::size_t nextEvent = 0;
    TransportAnchor anchor;
};

} // namespace tambrix::render

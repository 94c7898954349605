#include "tambrix/render/TransportSimulation.h"

namespace tambrix::render
{

TransportSimulation::TransportSimulation(double rate, double tempo, double startPpq)
    : sampleRate(rate), events(nullptr), eventCount(0), anchor{true, tempo, startPpq, 0}
{
}

TransportSimulation::TransportSimulation(double rate, double tempo, double startPpq,
                                         const std::vector<TimelineEvent>& timeline)
    : sampleRate(rate), events(timeline.data()), eventCount(timeline.size()), anchor{true, tempo, startPpq, 0}
{
}

TransportSimulation::TransportSimulation(const RenderOptions& options)
    : TransportSimulation(options.rate, options.bpm, options.start, options.timeline)
{
}

void TransportSimulation::play(std::int64_t sample, double tempo, double ppq)
{
    anchor = {true, tempo, ppq, sample};
}

double TransportSimulation::stop(std::int64_t sample)
{
    anchor = {false, anchor.bpm, positionAt(anchor, sampleRate, sample), sample};
    return anchor.ppq;
}

TransportPosition TransportSimulation::beginBlock(std::int64_t blockStart, std::vector<double>& valueChanges)
{
    while (nextEvent < eventCount && events[nextEvent].sample <= blockStart)
    {
        const TimelineEvent& event = events[nextEvent++];
        switch (event.kind)
        {
        case TimelineEvent::Kind::play:
            play(blockStart, event.bpm, event.number);
            break;
        case TimelineEvent::Kind::stop:
            stop(blockStart);
            break;
        case TimelineEvent::Kind::value:
            valueChanges.push_back(event.number);
            break;
        }
    }

    TransportPosition position;
    position.anchor = anchor;
    position.sample = blockStart;
    position.hostTicks = hostTicksAt(anchor, sampleRate, blockStart);
    position.ppqPosition =
        static_cast<double>(position.hostTicks) / static_cast<double>(hostTicksPerQuarterNote);
    return position;
}

} // namespace tambrix::render

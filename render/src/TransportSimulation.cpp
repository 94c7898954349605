#include "tambrix/render/TransportSimulation.h"

namespace tambrix::render
{

TransportSimulation::TransportSimulation(double rate, double tempo, double startPpq)
    : sampleRate(rate), events(nullptr), eventCount(0), bpm(tempo), anchorPpq(startPpq)
{
}

TransportSimulation::TransportSimulation(double rate, double tempo, double startPpq,
                                         const std::vector<TimelineEvent>& timeline)
    : sampleRate(rate), events(timeline.data()), eventCount(timeline.size()), bpm(tempo), anchorPpq(startPpq)
{
}

TransportSimulation::TransportSimulation(const RenderOptions& options)
    : TransportSimulation(options.rate, options.bpm, options.start, options.timeline)
{
}

double TransportSimulation::positionAt(std::int64_t sample) const
{
    if (!playing)
        return anchorPpq;
    return anchorPpq + static_cast<double>(sample - anchorSample) * bpm / (60.0 * sampleRate);
}

void TransportSimulation::play(std::int64_t sample, double tempo, double ppq)
{
    playing = true;
    bpm = tempo;
    anchorPpq = ppq;
    anchorSample = sample;
}

double TransportSimulation::stop(std::int64_t sample)
{
    anchorPpq = positionAt(sample);
    anchorSample = sample;
    playing = false;
    return anchorPpq;
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
    position.playing = playing;
    position.bpm = bpm;
    position.hostTicks = ppqToHostTicks(positionAt(blockStart));
    position.ppqPosition =
        static_cast<double>(position.hostTicks) / static_cast<double>(hostTicksPerQuarterNote);
    position.sample = blockStart;
    return position;
}

} // namespace tambrix::render

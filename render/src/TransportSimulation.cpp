#include "tambrix/render/TransportSimulation.h"

#include <utility>

namespace tambrix::render
{

TransportSimulation::TransportSimulation(double rate, double tempo, double startPpq,
                                         std::vector<TimelineEvent> timeline)
    : sampleRate(rate), events(std::move(timeline)), bpm(tempo), anchorPpq(startPpq)
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
    while (nextEvent < events.size() && events[nextEvent].sample <= blockStart)
    {
        const TimelineEvent& event = events[nextEvent++];
        switch (event.kind)
        {
        case TimelineEvent::Kind::play:
            play(blockStart, event.bpm, event.ppq);
            break;
        case TimelineEvent::Kind::stop:
            stop(blockStart);
            break;
        case TimelineEvent::Kind::value:
            valueChanges.push_back(event.value);
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

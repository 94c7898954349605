#pragma once

// Options and transport timeline of a render. Plain C++ (no framework), shared by
// every tool that drives the processor through a simulated host transport.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace tambrix::render
{

// One host transport event of a timeline file.
struct TimelineEvent
{
    enum class Kind
    {
        play,  // from this point the transport plays at `bpm`, at quarter note `ppq` there
        stop,  // the transport stops
        value, // the host sets the normalised "Time Signature" to `value`
    };

    std::int64_t sample = 0; // takes effect at the first block boundary at or after it
    Kind kind = Kind::stop;
    double bpm = 0.0;
    double ppq = 0.0;
    double value = 0.0;
    int line = 0; // line of the timeline file, for messages
};

struct RenderOptions
{
    std::string out = "clock.wav";
    int rate = 48000;
    int block = 512;
    int channels = 2;
    double bpm = 120.0;
    double start = 0.0;
    double seconds = 4.0;
    std::optional<double> value;        // normalised "Time Signature"
    std::optional<std::uint32_t> index; // time-signature index, sent as valueForIndex(index)
    std::string timelineFile;           // empty: no timeline
    std::vector<TimelineEvent> timeline;
    bool help = false;

    // Number of samples to render: seconds x rate, rounded.
    std::int64_t totalSamples() const;
};

// Limits of the accepted values.
inline constexpr int minRate = 1000;
inline constexpr int maxRate = 768000;
inline constexpr int maxBlock = 1 << 20;
inline constexpr int maxChannels = 64;
inline constexpr double maxBpm = 10000.0;
inline constexpr double maxSeconds = 86400.0;
inline constexpr double maxPpqMagnitude = 1.0e9;
inline constexpr double maxValueMagnitude = 1.0e9;
inline constexpr std::uint32_t maxIndex = 255;

// The normalised value that --index N sends: N / 30 in single precision.
float valueForIndex(std::uint32_t index);

// The outcome of a parse: `error` is empty on success.
template <typename T>
struct Parsed
{
    T result{};
    std::string error;
    bool ok() const { return error.empty(); }
};

// Parses command-line arguments (without the program's name). Does not read the
// timeline file.
Parsed<RenderOptions> parseArguments(const std::vector<std::string>& args);

// Parses timeline text; `sourceName` prefixes messages ("NAME:LINE: ...").
Parsed<std::vector<TimelineEvent>> parseTimeline(std::istream& in, const std::string& sourceName);

// Parses the arguments and reads the timeline file they name, if any.
Parsed<RenderOptions> parseCommandLine(const std::vector<std::string>& args);

// The options' usage lines (each tool puts its own usage line first).
std::string optionsUsage();

} // namespace tambrix::render

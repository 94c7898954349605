#pragma once

// Options and transport timeline of a render. Plain C++ (no framework), shared by
// every tool that drives the processor through a simulated host transport.

#include "tambrix/text/Numbers.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace tambrix::render
{

// One host transport event of a timeline file: what a render keeps of it.
struct TimelineEvent
{
    enum class Kind : std::uint8_t
    {
        play,  // from this point the transport plays at `bpm`, at quarter note `number` there
        stop,  // the transport stops
        value, // the host sets the normalised "Time Signature" to `number`
    };

    std::int64_t sample = 0; // takes effect at the first block boundary at or after it
    Kind kind = Kind::stop;
    double bpm = 0.0;
    double number = 0.0;
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
    std::optional<double> value;         // normalised "Time Signature"
    std::optional<std::uint32_t> index;  // time-signature index, sent as valueForIndex(index)
    std::string timelineFile;            // empty: no timeline; "-": standard input
    std::vector<TimelineEvent> timeline; // read by readTimeline: the events before the render's end
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
inline constexpr std::size_t maxEvents = std::size_t{1} << 22; // a timeline keeps, 32 bytes each

// What each number of the options and timelines must be, as the script's play
// must be too.
inline const text::RealRule tempoRule{"a tempo", 0.0, maxBpm, true};
inline const text::RealRule positionRule{"a position in quarter notes", -maxPpqMagnitude, maxPpqMagnitude};
// Values reach the processor as floats: they stay well inside the float range.
inline const text::RealRule valueRule{"a number", -maxValueMagnitude, maxValueMagnitude};

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
// timeline file. -h or --help wherever an option may stand asks for the usage,
// whatever else is there.
Parsed<RenderOptions> parseArguments(const std::vector<std::string>& args);

// Parses timeline text; `source`, as a message shows it, prefixes messages ("NAME:LINE: ..."). Events
// at or after `endSample` are checked, then left out: they never take effect.
Parsed<std::vector<TimelineEvent>> parseTimeline(std::istream& in, const std::string& source,
                                                 std::int64_t endSample = INT64_MAX);

// Reads the options' timeline file, if any ("-": standard input), into
// `options.timeline`; the reason on failure.
std::string readTimeline(RenderOptions& options);

// What the usage (and the README's table) says of a command-line option.
struct OptionFacts
{
    std::string name;  // "--rate"
    std::string value; // the value's name: "HZ"
    std::string what;  // "sample rate"
    std::string
        limits; // what the value must be: "a whole number of Hz from 1000 to 768000"; empty for a file
    std::string byDefault; // "48000"; empty when there is none
};

// Every option's facts, in the usage's order.
std::vector<OptionFacts> optionFacts();

// The options' usage lines (each tool puts its own usage line first).
std::string optionsUsage();

// Whether `arg` is an option that takes the next argument as its value.
bool takesNextArgument(const std::string& arg);

} // namespace tambrix::render

#include "tambrix/render/RenderOptions.h"

#include "tambrix/text/Numbers.h"
#include "tambrix/text/Words.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string_view>

namespace tambrix::render
{
namespace
{

bool validBpm(double bpm)
{
    return bpm > 0.0 && bpm <= maxBpm;
}

bool validPpq(double ppq)
{
    return std::fabs(ppq) <= maxPpqMagnitude;
}

bool validSeconds(double seconds)
{
    return seconds > 0.0 && seconds <= maxSeconds;
}

// Values reach the processor as floats: keep them well inside the float range.
bool validValue(double value)
{
    return std::fabs(value) <= maxValueMagnitude;
}

std::string wholeRange(std::int64_t low, std::int64_t high)
{
    return " from " + std::to_string(low) + " to " + std::to_string(high);
}

std::string realRange(double low, double high)
{
    std::ostringstream s;
    s << " from " << low << " to " << high;
    return s.str();
}

// A whole number from `low` to `high` into `out`.
template <class T>
bool whole(const std::string& text, std::int64_t low, std::int64_t high, T& out)
{
    std::int64_t value = 0;
    if (text::readWhole(text, value) != text::NumberRead::ok || value < low || value > high)
        return false;
    out = static_cast<T>(value);
    return true;
}

// A finite number (not an underflow either) that `valid` accepts into `out`.
template <class T>
bool real(const std::string& text, bool (*valid)(double), T& out)
{
    double value = 0.0;
    if (text::readReal(text, value) != text::NumberRead::ok || !std::isfinite(value) || !valid(value))
        return false;
    out = value;
    return true;
}

// Why `word` was refused as `subject` (an option's or a timeline argument's name):
// what it must be or, for a real number too close to 0, that it underflows.
std::string refusal(const std::string& subject, const std::string& word, const std::string& must, bool isReal)
{
    const std::string shown = "'" + text::printable(word) + "'";
    double ignored = 0.0;
    if (isReal && text::readReal(word, ignored) == text::NumberRead::underflow)
        return subject + " cannot be " + shown +
               ": it underflows (closer to 0 than the smallest normal double)";
    return subject + " must be " + must + ", not " + shown;
}

// A command-line option: its usage line and what it sets. `must` says what a
// rejected value must be; empty for a file name. `isReal`: the value is a real number.
struct Option
{
    const char* name;
    const char* value; // the value's name in the usage line
    bool (*set)(RenderOptions& options, const std::string& text);
    std::string help; // the rest of the usage line
    std::string must;
    bool isReal = false;
};

const std::vector<Option>& options()
{
    using O = RenderOptions;
    using S = const std::string&;
    static const std::vector<Option> table{
        {"--out", "FILE", [](O& o, S t) { return !(o.out = t).empty(); },
         "output WAV file (32-bit float), default clock.wav", ""},
        {"--rate", "HZ", [](O& o, S t) { return whole(t, minRate, maxRate, o.rate); },
         "sample rate, default 48000", "a whole number of Hz" + wholeRange(minRate, maxRate)},
        {"--block", "N", [](O& o, S t) { return whole(t, 1, maxBlock, o.block); },
         "samples per block, default 512", "a whole number" + wholeRange(1, maxBlock)},
        {"--channels", "N", [](O& o, S t) { return whole(t, 1, maxChannels, o.channels); },
         "output channels, default 2", "a whole number" + wholeRange(1, maxChannels)},
        {"--bpm", "X", [](O& o, S t) { return real(t, validBpm, o.bpm); }, "tempo, default 120",
         "a tempo above 0 and at most 10000", true},
        {"--start", "PPQ", [](O& o, S t) { return real(t, validPpq, o.start); },
         "position at the first sample in quarter notes, default 0",
         "a position in quarter notes" + realRange(-maxPpqMagnitude, maxPpqMagnitude), true},
        {"--seconds", "S", [](O& o, S t) { return real(t, validSeconds, o.seconds); }, "length, default 4",
         "a length above 0 and at most 86400", true},
        {"--value", "V", [](O& o, S t) { return real(t, validValue, o.value); },
         "normalised \"Time Signature\" (default: the plug-in's own)", "a number of magnitude at most 1e9",
         true},
        {"--index", "N", [](O& o, S t) { return whole(t, 0, maxIndex, o.index); },
         "time-signature index 0..255, sent as the value N/30", "a whole number" + wholeRange(0, maxIndex)},
        {"--timeline", "FILE", [](O& o, S t) { return !(o.timelineFile = t).empty(); },
         "host transport events, one a line:\n"
         "                     SAMPLE play BPM PPQ | SAMPLE stop | SAMPLE value V",
         ""},
    };
    return table;
}

// The option called `name`, or null.
const Option* findOption(std::string_view name)
{
    const auto& table = options();
    const auto option =
        std::find_if(table.begin(), table.end(), [name](const Option& x) { return name == x.name; });
    return option == table.end() ? nullptr : &*option;
}

// A timeline argument refused: what it must be is said as for the option `option`.
std::string timelineRefusal(const std::string& subject, const std::string& word, std::string_view option)
{
    const Option* o = findOption(option);
    return refusal(subject, word, o->must, o->isReal);
}

} // namespace

std::int64_t RenderOptions::totalSamples() const
{
    return static_cast<std::int64_t>(std::llround(seconds * rate));
}

float valueForIndex(std::uint32_t index)
{
    return static_cast<float>(index) / 30.0f;
}

std::string optionsUsage()
{
    std::string text;
    for (const Option& option : options())
    {
        std::string left = std::string(option.name) + " " + option.value;
        left.resize(std::max<std::size_t>(left.size(), 17), ' ');
        text += "  " + left + option.help + "\n";
    }
    return text;
}

Parsed<RenderOptions> parseArguments(const std::vector<std::string>& args)
{
    Parsed<RenderOptions> parsed;
    RenderOptions& o = parsed.result;

    const auto fail = [&parsed](const std::string& text)
    {
        parsed.error = text;
        return parsed;
    };

    for (std::size_t i = 0; i < args.size(); ++i)
    {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = name.substr(equals + 1);
            name.resize(equals);
        }

        if (name == "--help" || name == "-h")
        {
            o.help = true;
            continue;
        }

        const Option* option = findOption(name);
        if (option == nullptr)
            return fail("unknown option '" + text::printable(name) + "'");
        if (!value)
        {
            if (i + 1 >= args.size())
                return fail("option " + name + " needs a value");
            value = args[++i];
        }

        if (!option->set(o, *value))
            return fail(option->must.empty() ? name + " needs a file name"
                                             : refusal(name, *value, option->must, option->isReal));
    }

    if (o.value && o.index)
        return fail("--value and --index cannot be given together");
    if (!o.help && o.totalSamples() < 1)
        return fail("--seconds gives no samples at this rate");
    return parsed;
}

Parsed<std::vector<TimelineEvent>> parseTimeline(std::istream& in, const std::string& sourceName)
{
    Parsed<std::vector<TimelineEvent>> parsed;
    const std::string source = text::printablePath(sourceName);
    std::string line;
    int lineNumber = 0;
    std::int64_t previousSample = 0;

    while (std::getline(in, line))
    {
        ++lineNumber;
        const auto fail = [&](const std::string& text)
        {
            parsed.result.clear();
            parsed.error = source + ":" + std::to_string(lineNumber) + ": " + text;
            return parsed;
        };

        const auto words = text::lineWords(line);
        if (words.empty())
            continue;

        TimelineEvent event;
        event.line = lineNumber;
        if (!whole(words[0], 0, INT64_MAX, event.sample))
            return fail(refusal("SAMPLE", words[0], "a whole number, 0 or more", false));
        if (event.sample < previousSample)
            return fail("sample " + text::printable(words[0]) + " comes before the previous event's sample " +
                        std::to_string(previousSample) + " (events must be in order)");
        if (words.size() < 2)
            return fail("missing event after the sample number (play, stop or value)");

        const std::string& kind = words[1];
        if (kind == "play")
        {
            if (words.size() != 4)
                return fail("expected 'SAMPLE play BPM PPQ'");
            event.kind = TimelineEvent::Kind::play;
            if (!real(words[2], validBpm, event.bpm))
                return fail(timelineRefusal("BPM", words[2], "--bpm"));
            if (!real(words[3], validPpq, event.ppq))
                return fail(timelineRefusal("PPQ", words[3], "--start"));
        }
        else if (kind == "stop")
        {
            if (words.size() != 2)
                return fail("expected 'SAMPLE stop'");
            event.kind = TimelineEvent::Kind::stop;
        }
        else if (kind == "value")
        {
            if (words.size() != 3)
                return fail("expected 'SAMPLE value V'");
            event.kind = TimelineEvent::Kind::value;
            if (!real(words[2], validValue, event.value))
                return fail(timelineRefusal("V", words[2], "--value"));
        }
        else
        {
            return fail("unknown event '" + text::printable(kind) + "' (expected play, stop or value)");
        }

        previousSample = event.sample;
        parsed.result.push_back(event);
    }
    if (in.bad())
    {
        parsed.result.clear();
        parsed.error = source + ": read error" + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
    }
    return parsed;
}

Parsed<RenderOptions> parseCommandLine(const std::vector<std::string>& args)
{
    auto parsed = parseArguments(args);
    if (!parsed.ok() || parsed.result.help || parsed.result.timelineFile.empty())
        return parsed;

    errno = 0;
    std::ifstream file(parsed.result.timelineFile);
    if (!file)
    {
        parsed.error = "cannot read timeline file '" + text::printablePath(parsed.result.timelineFile) + "'" +
                       (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
        return parsed;
    }
    auto timeline = parseTimeline(file, parsed.result.timelineFile);
    if (!timeline.ok())
    {
        parsed.error = timeline.error;
        return parsed;
    }
    parsed.result.timeline = std::move(timeline.result);
    return parsed;
}

} // namespace tambrix::render

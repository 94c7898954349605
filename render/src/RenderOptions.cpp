#include "tambrix/render/RenderOptions.h"

#include "tambrix/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace tambrix::render
{
namespace
{

// Render options take finite numbers only (no underflow either).
bool readReal(const std::string& text, double& out)
{
    double value = 0.0;
    if (text::readReal(text, value) != text::NumberRead::ok || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool readWhole(const std::string& text, std::int64_t& out)
{
    return text::readWhole(text, out) == text::NumberRead::ok;
}

bool validBpm(double bpm)
{
    return bpm > 0.0 && bpm <= maxBpm;
}

bool validPpq(double ppq)
{
    return std::fabs(ppq) <= maxPpqMagnitude;
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

// One command-line option: its usage line, how its value is read and checked,
// and where it goes.
struct Option
{
    enum class Kind
    {
        file,  // any text but an empty one
        whole, // a whole number
        real,  // a finite number
    };

    const char* name;
    const char* value; // the value's name in the usage line
    Kind kind;
    std::string help; // the rest of the usage line
    bool (*accepts)(double);
    std::string must; // what a rejected number must be
    void (*store)(RenderOptions&, const std::string& text, double number);
};

const std::vector<Option>& options()
{
    using Kind = Option::Kind;
    using O = RenderOptions;
    using S = const std::string&;
    static const std::vector<Option> table{
        {"--out", "FILE", Kind::file, "output WAV file (32-bit float), default clock.wav", nullptr, "",
         [](O& o, S text, double)
         {
             o.out = text;
         }},
        {"--rate", "HZ", Kind::whole, "sample rate, default 48000",
         [](double v) { return v >= minRate && v <= maxRate; },
         "a whole number of Hz" + wholeRange(minRate, maxRate),
         [](O& o, S, double v)
         {
             o.rate = static_cast<int>(v);
         }},
        {"--block", "N", Kind::whole, "samples per block, default 512",
         [](double v) { return v >= 1 && v <= maxBlock; }, "a whole number" + wholeRange(1, maxBlock),
         [](O& o, S, double v)
         {
             o.block = static_cast<int>(v);
         }},
        {"--channels", "N", Kind::whole, "output channels, default 2",
         [](double v) { return v >= 1 && v <= maxChannels; }, "a whole number" + wholeRange(1, maxChannels),
         [](O& o, S, double v)
         {
             o.channels = static_cast<int>(v);
         }},
        {"--bpm", "X", Kind::real, "tempo, default 120", validBpm, "a tempo above 0 and at most 10000",
         [](O& o, S, double v)
         {
             o.bpm = v;
         }},
        {"--start", "PPQ", Kind::real, "position at the first sample in quarter notes, default 0", validPpq,
         "a position in quarter notes" + realRange(-maxPpqMagnitude, maxPpqMagnitude),
         [](O& o, S, double v)
         {
             o.start = v;
         }},
        {"--seconds", "S", Kind::real, "length, default 4",
         [](double v) { return v > 0.0 && v <= maxSeconds; }, "a length above 0 and at most 86400",
         [](O& o, S, double v)
         {
             o.seconds = v;
         }},
        {"--value", "V", Kind::real, "normalised \"Time Signature\" (default: the plug-in's own)", validValue,
         "a number of magnitude at most 1e9",
         [](O& o, S, double v)
         {
             o.value = v;
         }},
        {"--index", "N", Kind::whole, "time-signature index 0..255, sent as the value N/30",
         [](double v) { return v >= 0 && v <= maxIndex; }, "a whole number" + wholeRange(0, maxIndex),
         [](O& o, S, double v)
         {
             o.index = static_cast<std::uint32_t>(v);
         }},
        {"--timeline", "FILE", Kind::file,
         "host transport events, one a line:\n"
         "                     SAMPLE play BPM PPQ | SAMPLE stop | SAMPLE value V",
         nullptr, "",
         [](O& o, S text, double)
         {
             o.timelineFile = text;
         }},
    };
    return table;
}

// Reads an option's value: false when it is not one the option takes.
bool readValue(const Option& option, const std::string& text, double& number)
{
    std::int64_t whole = 0;
    switch (option.kind)
    {
    case Option::Kind::file:
        return !text.empty();
    case Option::Kind::whole:
        if (!readWhole(text, whole))
            return false;
        number = static_cast<double>(whole);
        break;
    case Option::Kind::real:
        if (!readReal(text, number))
            return false;
        break;
    }
    return option.accepts(number);
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream s(line);
    std::string word;
    while (s >> word)
        words.push_back(word);
    return words;
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

std::string usage()
{
    std::string text = "usage: tambrix-render [options]\n";
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

        const auto& table = options();
        const auto option =
            std::find_if(table.begin(), table.end(), [&name](const Option& x) { return name == x.name; });
        if (option == table.end())
            return fail("unknown option '" + name + "'");
        if (!value)
        {
            if (i + 1 >= args.size())
                return fail("option " + name + " needs a value");
            value = args[++i];
        }

        double number = 0.0;
        if (!readValue(*option, *value, number))
            return fail(option->kind == Option::Kind::file
                            ? name + " needs a file name"
                            : name + " must be " + option->must + ", not '" + *value + "'");
        option->store(o, *value, number);
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
    std::string line;
    int lineNumber = 0;
    std::int64_t previousSample = 0;

    while (std::getline(in, line))
    {
        ++lineNumber;
        const auto fail = [&](const std::string& text)
        {
            parsed.result.clear();
            parsed.error = sourceName + ":" + std::to_string(lineNumber) + ": " + text;
            return parsed;
        };

        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        const auto words = splitWords(line);
        if (words.empty())
            continue;

        TimelineEvent event;
        event.line = lineNumber;
        if (!readWhole(words[0], event.sample) || event.sample < 0)
            return fail("'" + words[0] + "' is not a sample number (a whole number, 0 or more)");
        if (event.sample < previousSample)
            return fail("sample " + words[0] + " comes before the previous event's sample " +
                        std::to_string(previousSample) + " (events must be in order)");
        if (words.size() < 2)
            return fail("missing event after the sample number (play, stop or value)");

        const std::string& kind = words[1];
        if (kind == "play")
        {
            if (words.size() != 4)
                return fail("expected 'SAMPLE play BPM PPQ'");
            event.kind = TimelineEvent::Kind::play;
            if (!readReal(words[2], event.bpm) || !validBpm(event.bpm))
                return fail("'" + words[2] + "' is not a tempo (above 0 and at most 10000 bpm)");
            if (!readReal(words[3], event.ppq) || !validPpq(event.ppq))
                return fail("'" + words[3] + "' is not a position in quarter notes (magnitude at most 1e9)");
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
            if (!readReal(words[2], event.value) || !validValue(event.value))
                return fail("'" + words[2] + "' is not a normalised value (magnitude at most 1e9)");
        }
        else
        {
            return fail("unknown event '" + kind + "' (expected play, stop or value)");
        }

        previousSample = event.sample;
        parsed.result.push_back(event);
    }
    if (in.bad())
    {
        parsed.result.clear();
        parsed.error = sourceName + ": read error";
    }
    return parsed;
}

Parsed<RenderOptions> parseCommandLine(const std::vector<std::string>& args)
{
    auto parsed = parseArguments(args);
    if (!parsed.ok() || parsed.result.help || parsed.result.timelineFile.empty())
        return parsed;

    std::ifstream file(parsed.result.timelineFile);
    if (!file)
    {
        parsed.error = "cannot read timeline file '" + parsed.result.timelineFile + "'";
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

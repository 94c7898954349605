#include "RenderOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tambrix::render
{
namespace
{

bool parseDouble(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool parseInteger(const std::string& text, std::int64_t& out)
{
    if (text.empty())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(std::isdigit(static_cast<unsigned char>(text[i])) || (i == 0 && text[i] == '-')))
            return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE)
        return false;
    out = value;
    return true;
}

std::string rangeText(double low, double high)
{
    std::ostringstream s;
    s << low << " to " << high;
    return s.str();
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

std::string usage()
{
    return "usage: tambrix-render [options]\n"
           "  --out FILE       output WAV file (32-bit float), default clock.wav\n"
           "  --rate HZ        sample rate, default 48000\n"
           "  --block N        samples per block, default 512\n"
           "  --channels N     output channels, default 2\n"
           "  --bpm X          tempo, default 120\n"
           "  --start PPQ      position at the first sample in quarter notes, default 0\n"
           "  --seconds S      length, default 4\n"
           "  --value V        normalised \"Time Signature\" (default: the plug-in's own)\n"
           "  --index N        time-signature index 0..255, sent as the value N/30\n"
           "  --timeline FILE  host transport events, one a line:\n"
           "                     SAMPLE play BPM PPQ | SAMPLE stop | SAMPLE value V\n";
}

Parsed<RenderOptions> parseArguments(int argc, const char* const* argv)
{
    Parsed<RenderOptions> parsed;
    RenderOptions& o = parsed.result;

    const auto fail = [&parsed](const std::string& text)
    {
        parsed.error = text;
        return parsed;
    };

    for (int i = 1; i < argc; ++i)
    {
        std::string name = argv[i] != nullptr ? argv[i] : "";
        std::string value;
        bool hasValue = false;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }

        if (name == "--help" || name == "-h")
        {
            o.help = true;
            continue;
        }

        static const char* const known[] = {"--out",   "--rate",    "--block", "--channels", "--bpm",
                                            "--start", "--seconds", "--value", "--index",    "--timeline"};
        bool isKnown = false;
        for (const char* k : known)
            isKnown = isKnown || name == k;
        if (!isKnown)
            return fail("unknown option '" + name + "'");

        if (!hasValue)
        {
            if (i + 1 >= argc || argv[i + 1] == nullptr)
                return fail("option " + name + " needs a value");
            value = argv[++i];
        }

        std::int64_t integer = 0;
        double real = 0.0;
        if (name == "--out")
        {
            if (value.empty())
                return fail("--out needs a file name");
            o.out = value;
        }
        else if (name == "--timeline")
        {
            if (value.empty())
                return fail("--timeline needs a file name");
            o.timelineFile = value;
        }
        else if (name == "--rate")
        {
            if (!parseInteger(value, integer) || integer < minRate || integer > maxRate)
                return fail("--rate must be a whole number of Hz from " + std::to_string(minRate) + " to " +
                            std::to_string(maxRate) + ", not '" + value + "'");
            o.rate = static_cast<int>(integer);
        }
        else if (name == "--block")
        {
            if (!parseInteger(value, integer) || integer < 1 || integer > maxBlock)
                return fail("--block must be a whole number from 1 to " + std::to_string(maxBlock) +
                            ", not '" + value + "'");
            o.block = static_cast<int>(integer);
        }
        else if (name == "--channels")
        {
            if (!parseInteger(value, integer) || integer < 1 || integer > maxChannels)
                return fail("--channels must be a whole number from 1 to " + std::to_string(maxChannels) +
                            ", not '" + value + "'");
            o.channels = static_cast<int>(integer);
        }
        else if (name == "--bpm")
        {
            if (!parseDouble(value, real) || !validBpm(real))
                return fail("--bpm must be a tempo above 0 and at most 10000, not '" + value + "'");
            o.bpm = real;
        }
        else if (name == "--start")
        {
            if (!parseDouble(value, real) || !validPpq(real))
                return fail("--start must be a position in quarter notes from " +
                            rangeText(-maxPpqMagnitude, maxPpqMagnitude) + ", not '" + value + "'");
            o.start = real;
        }
        else if (name == "--seconds")
        {
            if (!parseDouble(value, real) || !(real > 0.0) || real > 86400.0)
                return fail("--seconds must be a length above 0 and at most 86400, not '" + value + "'");
            o.seconds = real;
        }
        else if (name == "--value")
        {
            if (!parseDouble(value, real) || !validValue(real))
                return fail("--value must be a number of magnitude at most 1e9, not '" + value + "'");
            o.value = real;
        }
        else if (name == "--index")
        {
            if (!parseInteger(value, integer) || integer < 0 || integer > maxIndex)
                return fail("--index must be a whole number from 0 to " + std::to_string(maxIndex) +
                            ", not '" + value + "'");
            o.index = static_cast<std::uint32_t>(integer);
        }
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
        if (!parseInteger(words[0], event.sample) || event.sample < 0)
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
            if (!parseDouble(words[2], event.bpm) || !validBpm(event.bpm))
                return fail("'" + words[2] + "' is not a tempo (above 0 and at most 10000 bpm)");
            if (!parseDouble(words[3], event.ppq) || !validPpq(event.ppq))
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
            if (!parseDouble(words[2], event.value) || !validValue(event.value))
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

Parsed<RenderOptions> parseCommandLine(int argc, const char* const* argv)
{
    auto parsed = parseArguments(argc, argv);
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

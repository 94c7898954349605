#include "tambrix/render/RenderOptions.h"

#include "tambrix/io/Input.h"
#include "tambrix/text/Words.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>

namespace tambrix::render
{
namespace
{

using text::numberText;
using text::readNumber;

const text::WholeRule rateRule{"a whole number of Hz", minRate, maxRate};
const text::WholeRule blockRule{"a whole number", 1, maxBlock};
const text::WholeRule channelsRule{"a whole number", 1, maxChannels};
const text::RealRule secondsRule{"a length", 0.0, maxSeconds, true};
const text::WholeRule indexRule{"a whole number", 0, maxIndex};
const text::WholeRule sampleRule{"a whole number", 0, INT64_MAX};

// A command-line option: what the usage and README say of it, and what it sets
// (the refusal when it cannot).
struct Option
{
    OptionFacts facts;
    std::function<std::string(RenderOptions& options, const std::string& word, const std::string& subject)>
        set;
};

// Sets `field` to a number read by `rule` (a whole one into a field of another
// type: its rule keeps it in range).
template <class Rule, class T>
auto number(const Rule& rule, T RenderOptions::*field)
{
    return [&rule, field](RenderOptions& options, const std::string& word, const std::string& subject)
    {
        decltype(rule.low) value{}; // std::int64_t for a whole number, double for a real one
        std::string refusal = readNumber(word, rule, subject, value);
        if (refusal.empty())
            options.*field = static_cast<T>(value);
        return refusal;
    };
}

// Sets `field` to a file name.
auto fileName(std::string RenderOptions::*field)
{
    return [field](RenderOptions& options, const std::string& word, const std::string& subject)
    {
        options.*field = word;
        return word.empty() ? subject + " needs a file name" : std::string();
    };
}

const std::vector<Option>& options()
{
    using O = RenderOptions;
    static const O d; // the defaults
    static const std::vector<Option> table{
        {{"--out", "FILE", "output WAV file (32-bit float), - for standard output", "", d.out},
         fileName(&O::out)},
        {{"--rate", "HZ", "sample rate", rateRule.limits(), std::to_string(d.rate)},
         number(rateRule, &O::rate)},
        {{"--block", "N", "samples per block", blockRule.limits(), std::to_string(d.block)},
         number(blockRule, &O::block)},
        {{"--channels", "N", "output channels", channelsRule.limits(), std::to_string(d.channels)},
         number(channelsRule, &O::channels)},
        {{"--bpm", "X", "tempo", tempoRule.limits(), numberText(d.bpm)}, number(tempoRule, &O::bpm)},
        {{"--start", "PPQ", "position at the first sample", positionRule.limits(), numberText(d.start)},
         number(positionRule, &O::start)},
        {{"--seconds", "S", "length", secondsRule.limits(), numberText(d.seconds)},
         number(secondsRule, &O::seconds)},
        {{"--value", "V", "normalised \"Time Signature\"", valueRule.limits(), "the plug-in's own"},
         number(valueRule, &O::value)},
        {{"--index", "N", "time-signature index, sent as the value N/30", indexRule.limits(), ""},
         number(indexRule, &O::index)},
        {{"--timeline", "FILE",
          "host transport events, one a line (SAMPLE play BPM PPQ | SAMPLE stop | SAMPLE value V), "
          "- for standard input",
          "", ""},
         fileName(&O::timelineFile)},
    };
    return table;
}

// The option called `name`, or null.
const Option* findOption(std::string_view name)
{
    const auto& table = options();
    const auto option =
        std::find_if(table.begin(), table.end(), [name](const Option& x) { return name == x.facts.name; });
    return option == table.end() ? nullptr : &*option;
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

std::vector<OptionFacts> optionFacts()
{
    std::vector<OptionFacts> facts;
    for (const Option& option : options())
        facts.push_back(option.facts);
    return facts;
}

std::string optionsUsage()
{
    std::string text;
    for (const Option& option : options())
    {
        const OptionFacts& f = option.facts;
        std::string left = f.name + " " + f.value;
        left.resize(std::max<std::size_t>(left.size(), 17), ' ');
        const std::string byDefault = f.byDefault.empty() ? "" : "default " + f.byDefault;
        const std::string notes = f.limits + (f.limits.empty() || byDefault.empty() ? "" : "; ") + byDefault;
        text += "  " + left + f.what + (notes.empty() ? "" : " (" + notes + ")") + "\n";
    }
    return text;
}

bool takesNextArgument(const std::string& arg)
{
    return findOption(arg) != nullptr;
}

Parsed<RenderOptions> parseArguments(const std::vector<std::string>& args)
{
    Parsed<RenderOptions> parsed;
    RenderOptions& o = parsed.result;
    // The first refusal is the one reported, unless the usage was asked for anywhere.
    const auto refuse = [&parsed](const std::string& text)
    {
        if (parsed.error.empty())
            parsed.error = text;
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

        if (!value && (name == "--help" || name == "-h"))
        {
            o.help = true;
            continue;
        }
        const Option* option = findOption(name);
        if (option == nullptr)
        {
            refuse((args[i].rfind('-', 0) == 0 ? "unknown option '" : "unexpected argument '") +
                   text::printable(args[i]) + "'");
            continue;
        }
        if (!value && i + 1 >= args.size())
        {
            refuse("option " + name + " needs a value");
            continue;
        }
        if (!value)
            value = args[++i];
        refuse(option->set(o, *value, name));
    }

    if (o.help)
    {
        parsed.error.clear();
        return parsed;
    }
    if (o.value && o.index)
        refuse("--value and --index cannot be given together");
    if (o.totalSamples() < 1)
        refuse("--seconds gives no samples at this rate");
    return parsed;
}

Parsed<std::vector<TimelineEvent>> parseTimeline(std::istream& in, const std::string& source,
                                                 std::int64_t endSample)
{
    Parsed<std::vector<TimelineEvent>> parsed;
    std::string line;
    std::int64_t lineNumber = 0;
    std::int64_t previousSample = 0;

    for (io::LineRead read; (read = io::readLine(in, line, lineNumber)) != io::LineRead::endOrError;)
    {
        const auto fail = [&](const std::string& text)
        {
            parsed.result.clear();
            parsed.error = source + ":" + std::to_string(lineNumber) + ": " + text;
            return parsed;
        };
        if (read == io::LineRead::tooLong)
            return fail(io::lineTooLong);

        const auto words = text::lineWords(line, 5); // four at most, and one to tell too many
        if (words.empty())
            continue;

        TimelineEvent event;
        if (std::string refusal = readNumber(words[0], sampleRule, "SAMPLE", event.sample); !refusal.empty())
            return fail(refusal);
        if (event.sample < previousSample)
            return fail("sample " + text::printable(words[0]) + " comes before the previous event's sample " +
                        std::to_string(previousSample) + " (events must be in order)");
        if (words.size() < 2)
            return fail("missing event after the sample number (play, stop or value)");

        const std::string_view kind = words[1];
        std::string refusal;
        if (kind == "play")
        {
            if (words.size() != 4)
                return fail("expected 'SAMPLE play BPM PPQ'");
            event.kind = TimelineEvent::Kind::play;
            refusal = readNumber(words[2], tempoRule, "BPM", event.bpm);
            if (refusal.empty())
                refusal = readNumber(words[3], positionRule, "PPQ", event.number);
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
            refusal = readNumber(words[2], valueRule, "V", event.number);
        }
        else
        {
            return fail("unknown event '" + text::printable(kind) + "' (expected play, stop or value)");
        }
        if (!refusal.empty())
            return fail(refusal);

        previousSample = event.sample;
        if (event.sample < endSample && parsed.result.size() == maxEvents)
            return fail("more than " + std::to_string(maxEvents) + " events before the render's end");
        if (event.sample < endSample)
            parsed.result.push_back(event);
    }
    return parsed;
}

std::string readTimeline(RenderOptions& options)
{
    options.timeline.clear();
    if (options.timelineFile.empty())
        return {};
    io::InputFile file;
    if (!file.open(options.timelineFile))
        return file.error();
    auto timeline = parseTimeline(file.stream(), file.name(), options.totalSamples());
    if (std::string failure = file.readError(); !failure.empty())
        return failure;
    if (!timeline.ok())
        return timeline.error;
    options.timeline = std::move(timeline.result);
    return {};
}

} // namespace tambrix::render

#include "tambrix/render/RenderOptions.h"

#include "tambrix/io/Input.h"
#include "tambrix/text/Words.h"

#include <algorithm>
#include <cmath>
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

// A whole number into an option of another type (its rule keeps it in range).
template <class T>
std::string readWholeInto(const std::string& word, const text::WholeRule& rule, const std::string& subject,
                          T& out)
{
    std::int64_t value = 0;
    std::string refusal = readNumber(word, rule, subject, value);
    if (refusal.empty())
        out = static_cast<T>(value);
    return refusal;
}

template <class T>
std::string readRealInto(const std::string& word, const text::RealRule& rule, const std::string& subject,
                         T& out)
{
    double value = 0.0;
    std::string refusal = readNumber(word, rule, subject, value);
    if (refusal.empty())
        out = value;
    return refusal;
}

std::string fileName(const std::string& word, const std::string& subject, std::string& out)
{
    out = word;
    return word.empty() ? subject + " needs a file name" : std::string();
}

// A command-line option: what the usage and README say of it, and what it sets
// (the refusal when it cannot).
struct Option
{
    OptionFacts facts;
    std::string (*set)(RenderOptions& options, const std::string& word, const std::string& subject);
};

const std::vector<Option>& options()
{
    using O = RenderOptions;
    using S = const std::string&;
    static const O d; // the defaults
    static const std::vector<Option> table{
        {{"--out", "FILE", "output WAV file (32-bit float), - for standard output", "", d.out},
         [](O& o, S w, S n)
         {
             return fileName(w, n, o.out);
         }},
        {{"--rate", "HZ", "sample rate", rateRule.limits(), std::to_string(d.rate)},
         [](O& o, S w, S n)
         {
             return readWholeInto(w, rateRule, n, o.rate);
         }},
        {{"--block", "N", "samples per block", blockRule.limits(), std::to_string(d.block)},
         [](O& o, S w, S n)
         {
             return readWholeInto(w, blockRule, n, o.block);
         }},
        {{"--channels", "N", "output channels", channelsRule.limits(), std::to_string(d.channels)},
         [](O& o, S w, S n)
         {
             return readWholeInto(w, channelsRule, n, o.channels);
         }},
        {{"--bpm", "X", "tempo", tempoRule.limits(), numberText(d.bpm)},
         [](O& o, S w, S n)
         {
             return readRealInto(w, tempoRule, n, o.bpm);
         }},
        {{"--start", "PPQ", "position at the first sample", positionRule.limits(), numberText(d.start)},
         [](O& o, S w, S n)
         {
             return readRealInto(w, positionRule, n, o.start);
         }},
        {{"--seconds", "S", "length", secondsRule.limits(), numberText(d.seconds)},
         [](O& o, S w, S n)
         {
             return readRealInto(w, secondsRule, n, o.seconds);
         }},
        {{"--value", "V", "normalised \"Time Signature\"", valueRule.limits(), "the plug-in's own"},
         [](O& o, S w, S n)
         {
             return readRealInto(w, valueRule, n, o.value);
         }},
        {{"--index", "N", "time-signature index, sent as the value N/30", indexRule.limits(), ""},
         [](O& o, S w, S n)
         {
             return readWholeInto(w, indexRule, n, o.index);
         }},
        {{"--timeline", "FILE",
          "host transport events, one a line (SAMPLE play BPM PPQ | SAMPLE stop | SAMPLE value V), "
          "- for standard input",
          "", ""},
         [](O& o, S w, S n)
         {
             return fileName(w, n, o.timelineFile);
         }},
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

Parsed<std::vector<TimelineEvent>> parseTimeline(std::istream& in, const std::string& sourceName,
                                                 std::int64_t endSample)
{
    Parsed<std::vector<TimelineEvent>> parsed;
    const std::string source = text::printablePath(sourceName);
    std::string line;
    std::int64_t lineNumber = 0;
    std::int64_t previousSample = 0;

    for (io::LineRead read; (read = io::readLine(in, line)) != io::LineRead::end;)
    {
        ++lineNumber;
        const auto fail = [&](const std::string& text)
        {
            parsed.result.clear();
            parsed.error = source + ":" + std::to_string(lineNumber) + ": " + text;
            return parsed;
        };
        if (read == io::LineRead::tooLong)
        {
            parsed.result.clear();
            parsed.error = io::lineTooLong(source, lineNumber);
            return parsed;
        }

        const auto words = text::lineWords(line);
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

        const std::string& kind = words[1];
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

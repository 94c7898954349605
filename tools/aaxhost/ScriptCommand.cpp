#include "ScriptCommand.h"

#include "BundleArgument.h"
#include "BundlePlay.h"

#include "aaxhost/ChunkRecord.h"
#include "aaxhost/Creators.h"
#include "aaxhost/EffectInstance.h"
#include "aaxhost/GuiDriver.h"
#include "aaxhost/ParameterFacts.h"
#include "aaxhost/PluginSession.h"

#include "tambrix/render/BlockLoop.h"
#include "tambrix/render/RenderOptions.h"
#include "tambrix/text/FourChar.h"
#include "tambrix/text/Hex.h"
#include "tambrix/text/Json.h"
#include "tambrix/text/Numbers.h"
#include "tambrix/text/Words.h"

#include "tambrix/io/Output.h"
#include "tambrix/io/Tool.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>

namespace aaxhost::script
{
namespace
{

using tambrix::text::Json;
using tambrix::text::printable;
// A line's words, views into it: an ID is copied (a C string) only while the plug-in is asked.
using Words = std::vector<std::string_view>;

// The most words an action takes (param text ID VALUE MAXLEN); a line is read to one more.
constexpr std::size_t kMostWords = 5;

// The script's instance: as an EffectInstance is by default, played in blocks of this length.
const EffectInstance::Setup kSetup;
constexpr int kBlock = 512;
constexpr std::size_t kMaxChunkPayload = std::size_t{1} << 24;

struct ScriptError
{
    std::string message;
};

[[noreturn]] void fail(std::string message)
{
    throw ScriptError{std::move(message)};
}

// A parameter value as a host may send it: any double, NaN, infinities and subnormals included.
const tambrix::text::RealRule kHostValue{"a number", -DBL_MAX, DBL_MAX, false, true};
const tambrix::text::WholeRule kBlocks{"a whole number", 0, 100000};
const tambrix::text::WholeRule kMaxLength{"a whole number", -1000000, 1000000};
const tambrix::text::WholeRule kVersion{"a whole number", INT32_MIN, INT32_MAX};

// A number read by `rule`: a double for a real one, an int64_t for a whole one.
template <class Rule>
auto number(std::string_view word, const Rule& rule, const char* subject)
{
    decltype(rule.low) value{};
    if (std::string refusal = tambrix::text::readNumber(word, rule, subject, value); !refusal.empty())
        fail(std::move(refusal));
    return value;
}

uint32_t chunkId(std::string_view text)
{
    const auto id = tambrix::text::fourCharCode(text);
    if (!id)
        fail("a chunk identifier has four characters, not '" + printable(text) + "'");
    return *id;
}

std::vector<uint8_t> fromHex(std::string_view hex)
{
    if (hex.size() % 2 != 0)
        fail("a hex payload must have an even number of digits");
    if (hex.size() / 2 > kMaxChunkPayload)
        fail("the payload is too large");
    auto bytes = tambrix::text::bytesFromHex(hex);
    if (!bytes)
        fail("'" + printable(hex) + "' is not hex");
    return std::move(*bytes);
}

// An argument of an action, as its usage shows it: ID, [MAXLEN] (may be left
// out), TEXT... (the rest of the line).
struct Argument
{
    enum Kind
    {
        required,
        optional,
        rest,
    };
    const char* name;
    Kind kind = required;
};

class ScriptRun;

// One action of a script: its words, its arguments, whether it reaches the effect
// (created by the first action that does, before the action's arguments are
// checked) and what it does.
struct Action
{
    const char* words;
    std::vector<Argument> arguments;
    bool needsEffect;
    void (ScriptRun::*run)(const Words& w, Json& a);

    std::size_t wordCount() const { return tambrix::text::lineWords(words, kMostWords).size(); }

    // "param text ID VALUE [MAXLEN]"
    std::string usage() const
    {
        std::string text = words;
        for (const Argument& argument : arguments)
            text += argument.kind == Argument::optional ? std::string(" [") + argument.name + "]"
                    : argument.kind == Argument::rest   ? std::string(" ") + argument.name + "..."
                                                        : std::string(" ") + argument.name;
        return text;
    }

    // Whether a line of that many words fits.
    bool takes(std::size_t lineWords) const
    {
        std::size_t required = wordCount();
        bool rest = false;
        for (const Argument& argument : arguments)
        {
            required += argument.kind != Argument::optional ? 1 : 0;
            rest = rest || argument.kind == Argument::rest;
        }
        return lineWords >= required && (rest || lineWords <= wordCount() + arguments.size());
    }
};

const std::vector<Action>& actions();

// The action a line's words name, or null.
const Action* actionFor(const Words& w)
{
    for (const Action& action : actions())
    {
        const Words words = tambrix::text::lineWords(action.words, kMostWords);
        if (w.size() >= words.size() && std::equal(words.begin(), words.end(), w.begin()))
            return &action;
    }
    return nullptr;
}

// The words that may follow `first` (a word that begins actions of two words:
// param, chunk, gui) as a message lists them ("open, close"), or nothing when none may.
std::string wordsAfter(std::string_view first)
{
    std::string after;
    for (const Action& action : actions())
    {
        const Words words = tambrix::text::lineWords(action.words, kMostWords);
        if (words.size() == 2 && words[0] == first)
            after.append(after.empty() ? "" : ", ").append(words[1]);
    }
    return after;
}

class ScriptRun
{
public:
    ScriptRun(PluginSession& plugin, std::ostream& out) : plugin_(plugin), out_(out) { transport_.stop(0); }

    ~ScriptRun() { releaseAll(); }

    // Answers every line of `in`; see runScript().
    int answerLines(std::istream& in, int64_t* tooLongLine)
    {
        bool clean = true;
        int64_t line = 0;
        for (tambrix::io::LineRead read;
             (read = tambrix::io::readLine(in, text_, line)) != tambrix::io::LineRead::endOrError;)
        {
            if (read == tambrix::io::LineRead::tooLong)
            {
                if (tooLongLine != nullptr)
                    *tooLongLine = line;
                return tambrix::io::exitUsage;
            }
            const Words w = tambrix::text::lineWords(text_, kMostWords + 1);
            if (w.empty())
                continue;
            const Action* action = actionFor(w);
            // An unknown command is shown as a message shows words: a line may be long.
            const std::string command = action != nullptr ? action->words
                                        : wordsAfter(w[0]).empty() || w.size() < 2
                                            ? printable(w[0])
                                            : std::string(w[0]) + " " + printable(w[1]);
            Json answer{{"line", line}, {"command", command}};
            // Room for every key at once: growing would copy each value, one perhaps as long as the line.
            answer.get_ref<Json::object_t&>().reserve(16);
            try
            {
                // Identifiers go to the plug-in as C strings: a NUL byte would cut them short.
                if (text_.find('\0') != std::string::npos)
                    fail("the line holds a NUL byte");
                execute(action, w, answer);
                tambrix::io::endIfMemoryRanOut(); // the answer would blame the plug-in
                answer["ok"] = true;
            }
            catch (const ScriptError& e)
            {
                clean = false;
                answer = Json{{"line", line},
                              {"command", command},
                              {"ok", false},
                              {"error", "line " + std::to_string(line) + ": " + e.message}};
            }
            out_ << tambrix::text::jsonText(answer) << '\n';
            if (!out_.flush())
                return tambrix::io::exitFailure; // nobody hears the answers: stop
        }
        return clean ? tambrix::io::exitSuccess : tambrix::io::exitFailure;
    }

private:
    friend const std::vector<Action>& actions();

    void execute(const Action* action, const Words& w, Json& a)
    {
        if (action == nullptr)
        {
            const std::string choices = wordsAfter(w[0]);
            if (choices.empty())
                fail("unknown command '" + printable(w[0]) + "'");
            const std::string first(w[0]); // param, chunk or gui
            if (w.size() < 2)
                fail("'" + first + "' must be followed by one of: " + choices);
            fail("unknown command '" + first + " " + printable(w[1]) + "' ('" + first +
                 "' is followed by one of: " + choices + ")");
        }
        if (action->needsEffect)
            instance();
        if (!action->takes(w.size()))
            fail("expected '" + action->usage() + "'");
        (this->*action->run)(w, a);
    }

    EffectInstance& instance()
    {
        if (released_)
            fail("the effect has been released");
        if (!instance_)
        {
            EffectInstance::Setup setup = kSetup;
            setup.maxBlock = kBlock;
            std::string error;
            instance_ = EffectInstance::create(plugin_, setup, &error);
            if (!instance_)
                fail(error);
        }
        return *instance_;
    }

    void paramList(const Words&, Json& a)
    {
        Result counted = kResultOk;
        const std::vector<ParameterFacts> parameters = readParameters(instance().effect(), &counted);
        a["result"] = counted;
        Json list = Json::array();
        for (const ParameterFacts& p : parameters)
            list.push_back(
                parameterJson(p, {"id", "name", "value", "text", "default", "steps", "automatable"}));
        a["params"] = std::move(list);
    }

    void paramGet(const Words& w, Json& a)
    {
        IEffectParameters& e = instance().effect();
        a["id"] = w[2];
        double value = 0.0;
        const Result r = e.GetParameterNormalizedValue(std::string(w[2]).c_str(), &value);
        a["result"] = r;
        if (r == kResultOk)
        {
            HostString text;
            e.GetParameterValueString(std::string(w[2]).c_str(), &text, 32);
            a["value"] = value;
            a["text"] = text.text();
        }
    }

    // A host update, then whatever the plug-in asked for meanwhile.
    void paramSet(const Words& w, Json& a)
    {
        const double value = number(w[3], kHostValue, "VALUE");
        a["id"] = w[2];
        a["result"] = instance().update(std::string(w[2]).c_str(), value);
        valueNow(w[2], a);
    }

    // A change from the plug-in's side (touch, request, release to the host's
    // automation), which the host answers with an update.
    void paramRequest(const Words& w, Json& a)
    {
        const double value = number(w[3], kHostValue, "VALUE");
        a["id"] = w[2];
        a["result"] = instance().effect().SetParameterNormalizedValue(std::string(w[2]).c_str(), value);
        a["updates"] = instance().deliverRequests();
        valueNow(w[2], a);
    }

    // The parameter's normalised value, when the plug-in tells it.
    void valueNow(std::string_view id, Json& a)
    {
        double now = 0.0;
        if (instance().effect().GetParameterNormalizedValue(std::string(id).c_str(), &now) == kResultOk)
            a["value"] = now;
    }

    void paramText(const Words& w, Json& a)
    {
        const double value = number(w[3], kHostValue, "VALUE");
        const auto maxLength = static_cast<int32_t>(w.size() > 4 ? number(w[4], kMaxLength, "MAXLEN") : 32);
        HostString text;
        a["id"] = w[2];
        a["result"] = instance().effect().GetParameterStringFromValue(std::string(w[2]).c_str(), value, &text,
                                                                      maxLength);
        a["text"] = text.text();
    }

    // TEXT is the line's words from the fourth on, joined by one space.
    void paramParse(const Words& w, Json& a)
    {
        double value = -1.0;
        const Result r = instance().effect().GetParameterValueFromString(
            std::string(w[2]).c_str(), &value, HostString(tambrix::text::joinedWords(text_, 3)));
        a["id"] = w[2];
        a["result"] = r;
        if (r == kResultOk)
            a["value"] = value;
    }

    void chunkList(const Words&, Json& a)
    {
        Result counted = kResultOk;
        Json list = Json::array();
        for (const ChunkFacts& c : readChunks(instance().effect(), &counted))
            list.push_back({{"result", c.idResult},
                            {"id", tambrix::text::fourCharText(c.id)},
                            {"size_result", c.sizeResult},
                            {"size", c.size}});
        a["result"] = counted;
        a["chunks"] = std::move(list);
    }

    void chunkGet(const Words& w, Json& a)
    {
        IEffectParameters& e = instance().effect();
        const uint32_t id = chunkId(w[2]);
        uint32_t size = 0;
        Result r = e.GetChunkSize(id, &size);
        a["id"] = w[2];
        if (r != kResultOk)
        {
            a["result"] = r;
            return;
        }
        if (size > kMaxChunkPayload)
            fail("the plug-in announced " + std::to_string(size) + " bytes");
        ChunkRecord record(id, std::vector<uint8_t>(size, 0), 0);
        r = e.GetChunk(id, record.get());
        a["result"] = r;
        const ChunkHeader header = record.header();
        const int32_t written = header.size;
        a["size"] = written;
        a["version"] = header.version;
        a["chunk_id"] = tambrix::text::fourCharText(header.chunkId);
        a["name"] = record.name();
        if (written < 0 || static_cast<uint32_t>(written) > size)
            fail("the plug-in wrote a size of " + std::to_string(written) + " into a record of " +
                 std::to_string(size) + " bytes");
        a["hex"] = tambrix::text::hexBytes(record.payload(static_cast<std::size_t>(written)));
    }

    void chunkSet(const Words& w, Json& a)
    {
        ChunkRecord record = sentChunk(w, a);
        a["result"] = instance().effect().SetChunk(record.header().chunkId, record.get());
    }

    void chunkCompare(const Words& w, Json& a)
    {
        ChunkRecord record = sentChunk(w, a);
        uint8_t equal = 0xFF;
        a["result"] = instance().effect().CompareActiveChunk(record.get(), &equal);
        a["equal"] = equal == 1;
    }

    // The record of a line ACTION ID HEX [VERSION] (version -1 unless given).
    static ChunkRecord sentChunk(const Words& w, Json& a)
    {
        const uint32_t id = chunkId(w[2]);
        const std::vector<uint8_t> payload = fromHex(w[3]);
        const auto version = static_cast<int32_t>(w.size() > 4 ? number(w[4], kVersion, "VERSION") : -1);
        a["id"] = w[2];
        return ChunkRecord(id, payload, version);
    }

    void guiOpen(const Words&, Json& a)
    {
        EffectInstance& e = instance();
        if (!gui_)
        {
            tambrix::io::requireRoomForTheEditor();
            std::string error;
            gui_ = e.openGui(&error);
            if (!gui_)
                fail(error);
        }
        // No display here: the container offers no native view.
        a["result"] = gui_->setViewContainer(gui_->newViewContainer(kViewTypeNSView, nullptr));
        ViewPoint size;
        a["size_result"] = gui_->gui()->GetViewSize(&size);
        a["width"] = static_cast<double>(size.horz);
        a["height"] = static_cast<double>(size.vert);
    }

    void guiClose(const Words&, Json& a)
    {
        if (!gui_)
            fail("no GUI is open");
        a["result"] = gui_->removeViewContainer();
    }

    void changes(const Words&, Json& a)
    {
        int32_t changes = -1;
        a["result"] = instance().effect().GetNumberOfChanges(&changes);
        a["changes"] = changes;
    }

    void packets(const Words&, Json& a)
    {
        Json list = Json::array();
        std::size_t dropped = 0;
        for (const PostedPacket& p : instance().takePacketLog(&dropped))
        {
            Json packet{{"port", p.port}, {"hex", tambrix::text::hexBytes(p.data)}};
            if (p.data.size() == 4)
            {
                float f = 0.0f;
                std::memcpy(&f, p.data.data(), 4);
                packet["float"] = static_cast<double>(f);
            }
            list.push_back(std::move(packet));
        }
        a["packets"] = std::move(list);
        if (dropped != 0)
            a["dropped"] = dropped;
    }

    void live(const Words&, Json& a) { a["live"] = plugin_.canUnloadNow(); }

    void traces(const Words&, Json& a)
    {
        Json list = Json::array();
        std::size_t dropped = 0;
        for (const TraceRecord& trace : plugin_.host().services().takeTraces(&dropped))
            list.push_back({{"priority", trace.priority}, {"message", trace.message}});
        a["traces"] = std::move(list);
        if (dropped != 0)
            a["dropped"] = dropped;
    }

    void release(const Words&, Json& a)
    {
        releaseAll();
        a["live"] = plugin_.canUnloadNow();
    }

    // A second effect object, never initialised, asked what a careless host asks
    // before Initialize: coefficients, an update, parameter and chunk queries.
    void uninitialized(const Words&, Json& a)
    {
        HostEffectDescriptor* descriptor = plugin_.effect();
        const EffectCreator creator = descriptor != nullptr ? effectCreatorOf(*descriptor) : nullptr;
        if (creator == nullptr)
            fail("the plug-in registered no effect creator (procedure 0)");
        EffectDriver driver(plugin_.host());
        const Result created = driver.create(creator);
        if (created != kResultOk)
            fail("creating the effect failed with " + std::to_string(created));
        IEffectParameters& e = *driver.effect();
        a["generate_coefficients"] = e.GenerateCoefficients();
        a["update"] = e.UpdateParameterNormalizedValue("0", 0.5, 0);
        int32_t count = -1;
        a["number_of_parameters"] = e.GetNumberOfParameters(&count);
        a["parameters"] = count;
        uint32_t size = 0;
        a["chunk_size"] = e.GetChunkSize(chunkId("elck"), &size);
        int32_t changes = -1;
        a["changes"] = e.GetNumberOfChanges(&changes);
        a["uninitialize"] = e.Uninitialize();
        a["release"] = driver.release();
    }

    // One message for the MIDI input node in the next processed block.
    void midi(const Words& w, Json& a)
    {
        const std::vector<uint8_t> bytes = fromHex(w[1]);
        if (bytes.empty() || bytes.size() > 3)
            fail("a MIDI message has 1 to 3 bytes");
        MidiNode* node = instance().algorithm().midiNodeOfType(kMidiNodeLocalInput);
        if (node == nullptr)
            fail("the component has no MIDI input node");
        MidiPacket packet;
        packet.length = static_cast<uint32_t>(bytes.size());
        std::memcpy(packet.data, bytes.data(), bytes.size());
        if (!node->queue(packet))
            fail("the next block already holds " + std::to_string(node->capacity()) + " MIDI messages");
        a["queued"] = node->queued();
    }

    void play(const Words& w, Json& a)
    {
        const double bpm = number(w[1], tambrix::render::tempoRule, "BPM");
        const double ppq = number(w[2], tambrix::render::positionRule, "PPQ");
        transport_.play(sample_, bpm, ppq);
        a["playing"] = true;
        a["bpm"] = bpm;
        a["ppq"] = ppq;
    }

    void stop(const Words&, Json& a)
    {
        a["playing"] = false;
        a["ppq"] = transport_.stop(sample_);
    }

    void process(const Words& w, Json& a)
    {
        const int64_t blocks = number(w[1], kBlocks, "BLOCKS");
        EffectInstance& e = instance();
        const MidiNode* midiOut = e.algorithm().midiNodeOfType(kMidiNodeLocalOutput);
        float peak = 0.0f;
        int64_t midiPosted = 0;
        std::vector<const float*> outputs;
        tambrix::render::BlockProcessor player;
        player.channels = kSetup.channels;
        player.runBlock =
            [&](const tambrix::render::TransportPosition& position, int frames, std::string& error)
        {
            const float* const* out = play::runInstanceBlock(e, position, frames, outputs, error);
            if (midiOut != nullptr)
                midiPosted += static_cast<int64_t>(midiOut->posted().size() + midiOut->dropped());
            for (int i = 0; out != nullptr && i < frames; ++i)
                peak = std::max(peak, std::fabs(out[0][i]));
            return out;
        };
        tambrix::render::PulseCounter pulses;
        std::string error;
        const int64_t end = sample_ + blocks * kBlock;
        if (!tambrix::render::playBlocks(player, transport_, sample_, end, kBlock, pulses, {}, error))
            fail(error);
        sample_ = end;
        a["blocks"] = blocks;
        a["samples"] = sample_;
        a["pulses"] = pulses.count();
        a["peak"] = static_cast<double>(peak);
        a["midi_out"] = midiPosted;
    }

    void releaseAll()
    {
        gui_.reset(); // takes the container away, uninitialises and releases the GUI
        instance_.reset();
        released_ = true;
    }

    PluginSession& plugin_;
    std::ostream& out_;
    std::string text_; // the line being answered
    std::unique_ptr<EffectInstance> instance_;
    std::unique_ptr<GuiDriver> gui_;
    bool released_ = false;
    tambrix::render::TransportSimulation transport_{kSetup.sampleRate, 120.0, 0.0};
    int64_t sample_ = 0;
};

const std::vector<Action>& actions()
{
    using A = Argument;
    using S = ScriptRun;
    static const std::vector<Action> table{
        {"param list", {}, true, &S::paramList},
        {"param get", {{"ID"}}, true, &S::paramGet},
        {"param set", {{"ID"}, {"VALUE"}}, true, &S::paramSet},
        {"param request", {{"ID"}, {"VALUE"}}, true, &S::paramRequest},
        {"param text", {{"ID"}, {"VALUE"}, {"MAXLEN", A::optional}}, true, &S::paramText},
        {"param parse", {{"ID"}, {"TEXT", A::rest}}, true, &S::paramParse},
        {"chunk list", {}, true, &S::chunkList},
        {"chunk get", {{"ID"}}, true, &S::chunkGet},
        {"chunk set", {{"ID"}, {"HEX"}, {"VERSION", A::optional}}, true, &S::chunkSet},
        {"chunk compare", {{"ID"}, {"HEX"}, {"VERSION", A::optional}}, true, &S::chunkCompare},
        {"gui open", {}, true, &S::guiOpen},
        {"gui close", {}, false, &S::guiClose},
        {"process", {{"BLOCKS"}}, true, &S::process},
        {"midi", {{"HEX"}}, true, &S::midi},
        {"play", {{"BPM"}, {"PPQ"}}, false, &S::play},
        {"stop", {}, false, &S::stop},
        {"changes", {}, true, &S::changes},
        {"packets", {}, true, &S::packets},
        {"live", {}, false, &S::live},
        {"traces", {}, false, &S::traces},
        {"uninitialized", {}, false, &S::uninitialized},
        {"release", {}, false, &S::release},
    };
    return table;
}

std::string scriptUsage()
{
    std::string text = "usage: aaxhost script BUNDLE SCRIPT|-\n"
                       "Replays a host's conversation with one effect instance, read from SCRIPT (- for "
                       "standard input), one action a line, each answered by a line of JSON:\n";
    for (const Action& action : actions())
        text += "  " + action.usage() + "\n";
    return text + tool::bundleNote;
}

} // namespace

std::vector<std::string> actionUsages()
{
    std::vector<std::string> usages;
    for (const Action& action : actions())
        usages.push_back(action.usage());
    return usages;
}

int runScript(PluginSession& plugin, std::istream& in, std::ostream& out, int64_t* tooLongLine)
{
    ScriptRun script(plugin, out);
    return script.answerLines(in, tooLongLine);
}

int runScript(const std::string& bundle, std::istream& in, std::ostream& out, std::ostream& err,
              const std::string& scriptName)
{
    std::string error;
    auto plugin = PluginSession::load(bundle, &error);
    if (!plugin || !plugin->start(&error))
    {
        err << "aaxhost script: " << error << "\n";
        return plugin ? tambrix::io::exitFailure : tambrix::io::exitUsage;
    }
    int64_t tooLongLine = 0;
    const int status = runScript(*plugin, in, out, &tooLongLine);
    if (tooLongLine != 0)
        err << "aaxhost script: " << scriptName << ":" << tooLongLine << ": " << tambrix::io::lineTooLong
            << "\n";
    plugin->close();
    return status;
}

int runScriptCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string name = "aaxhost script";
    if (std::any_of(args.begin(), args.end(), tambrix::io::isHelp))
    {
        out << scriptUsage();
        return tambrix::io::exitSuccess;
    }
    if (args.size() != 2)
        return tambrix::io::usageError(err, name,
                                       std::string(args.size() < 2 ? "too few" : "too many") +
                                           " arguments (BUNDLE and SCRIPT)");
    const std::string& bundle = args[0];
    const std::string& script = args[1];
    if (bundle.empty() || script.empty())
        return tambrix::io::usageError(
            err, name, std::string(bundle.empty() ? "BUNDLE" : "SCRIPT") + " needs a file name");
    if (const std::string refusal =
            tambrix::io::standardOutputRefusal({tool::bundleInput(bundle), {"the script", script}});
        !refusal.empty())
    {
        err << name << ": " << refusal << "\n";
        return tambrix::io::exitUsage;
    }
    tambrix::io::InputFile file;
    if (!file.open(script))
    {
        err << name << ": " << file.error() << "\n";
        return tambrix::io::exitUsage;
    }
    const int status = runScript(bundle, file.stream(), out, err, file.name());
    // A script cut short by a read error is not a script that ran.
    if (const std::string failure = file.readError(); !failure.empty())
    {
        err << name << ": " << failure << "\n";
        return tambrix::io::exitUsage;
    }
    return status;
}

} // namespace aaxhost::script

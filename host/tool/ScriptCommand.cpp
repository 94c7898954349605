#include "ScriptCommand.h"

#include "Json.h"

#include "PulseCounter.h"

#include "aaxhost/Creators.h"
#include "aaxhost/EffectInstance.h"
#include "aaxhost/GuiDriver.h"
#include "aaxhost/PluginSession.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace aaxhost::script
{
namespace
{

using tool::Json;

constexpr int kBlock = 512;
constexpr double kRate = 48000.0;
constexpr std::size_t kChunkHeader = 56;
constexpr std::size_t kMaxChunkPayload = std::size_t{1} << 24;

struct ScriptError
{
    std::string message;
};

[[noreturn]] void fail(std::string message)
{
    throw ScriptError{std::move(message)};
}

double number(const std::string& text)
{
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size())
        fail("'" + text + "' is not a number");
    // Out of range means overflow; an underflow (a subnormal or zero) is the number given.
    if (errno == ERANGE && std::isinf(v))
        fail("'" + text + "' is out of range");
    return v; // nan and inf are allowed: a host may send them
}

int64_t integer(const std::string& text, int64_t low, int64_t high)
{
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE || v < low || v > high)
        fail("'" + text + "' is not a whole number from " + std::to_string(low) + " to " +
             std::to_string(high));
    return v;
}

uint32_t fourChars(const std::string& text)
{
    if (text.size() != 4)
        fail("a chunk identifier has four characters, not '" + text + "'");
    uint32_t id = 0;
    for (const char c : text)
        id = (id << 8) | static_cast<uint8_t>(c);
    return id;
}

std::string fourCharText(uint32_t id)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = static_cast<char>((id >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

std::vector<uint8_t> fromHex(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        fail("a hex payload must have an even number of digits");
    if (hex.size() / 2 > kMaxChunkPayload)
        fail("the payload is too large");
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
    {
        const auto digit = [&hex](char c) -> int
        {
            if (c >= '0' && c <= '9')
                return c - '0';
            if (c >= 'a' && c <= 'f')
                return c - 'a' + 10;
            if (c >= 'A' && c <= 'F')
                return c - 'A' + 10;
            fail("'" + hex + "' is not hex");
        };
        bytes.push_back(static_cast<uint8_t>(digit(hex[i]) * 16 + digit(hex[i + 1])));
    }
    return bytes;
}

std::string toHex(const uint8_t* data, std::size_t size)
{
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i)
    {
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 0xF];
    }
    return hex;
}

template <class T>
T readAt(const std::vector<uint8_t>& record, std::size_t offset)
{
    T v{};
    if (record.size() >= offset + sizeof v)
        std::memcpy(&v, record.data() + offset, sizeof v);
    return v;
}

template <class T>
void writeAt(std::vector<uint8_t>& record, std::size_t offset, T v)
{
    if (uint8_t* data = record.data(); data != nullptr && record.size() >= offset + sizeof v)
        std::memcpy(data + offset, &v, sizeof v);
}

// A chunk record: the header (size, version, three identifiers, chunk identifier,
// 32-byte name) and the payload; the memory is 8-byte aligned.
std::vector<uint8_t> chunkRecord(uint32_t id, const std::vector<uint8_t>& payload, int32_t version)
{
    std::vector<uint8_t> record(kChunkHeader + payload.size(), 0);
    writeAt<int32_t>(record, 0, static_cast<int32_t>(payload.size()));
    writeAt<int32_t>(record, 4, version);
    writeAt<uint32_t>(record, 20, id);
    if (!payload.empty())
        std::memcpy(record.data() + kChunkHeader, payload.data(), payload.size());
    return record;
}

class Session
{
public:
    Session(PluginSession& plugin, std::ostream& out) : plugin_(plugin), out_(out) {}

    ~Session() { releaseAll(); }

    bool run(std::istream& in)
    {
        bool clean = true;
        std::string text;
        int line = 0;
        while (std::getline(in, text))
        {
            ++line;
            std::istringstream words(text);
            std::vector<std::string> w;
            for (std::string word; words >> word;)
            {
                if (word[0] == '#')
                    break;
                w.push_back(word);
            }
            if (w.empty())
                continue;
            Json answer = Json::object();
            answer.set("line", line);
            std::string command = w[0];
            if ((w[0] == "param" || w[0] == "chunk" || w[0] == "gui") && w.size() > 1)
                command += " " + w[1];
            answer.set("command", command);
            try
            {
                // Identifiers go to the plug-in as C strings: a NUL byte would cut them short.
                if (text.find('\0') != std::string::npos)
                    fail("the line holds a NUL byte");
                execute(w, answer);
                answer.set("ok", true);
            }
            catch (const ScriptError& e)
            {
                clean = false;
                Json error = Json::object();
                error.set("line", line);
                error.set("command", command);
                error.set("ok", false);
                error.set("error", "line " + std::to_string(line) + ": " + e.message);
                answer = std::move(error);
            }
            out_ << answer.dump(0) << '\n';
            out_.flush();
        }
        return clean;
    }

private:
    EffectInstance& effect()
    {
        if (released_)
            fail("the effect has been released");
        if (!instance_)
        {
            EffectInstance::Setup setup;
            setup.channels = 2;
            setup.sampleRate = kRate;
            setup.maxBlock = kBlock;
            std::string error;
            instance_ = EffectInstance::create(plugin_, setup, &error);
            if (!instance_)
                fail(error);
        }
        return *instance_;
    }

    void args(const std::vector<std::string>& w, std::size_t low, std::size_t high, const char* form)
    {
        if (w.size() < low || w.size() > high)
            fail(std::string("expected '") + form + "'");
    }

    void execute(const std::vector<std::string>& w, Json& a)
    {
        const std::string& verb = w[0];
        const std::string sub = w.size() > 1 ? w[1] : "";
        if (verb == "param")
            return param(w, sub, a);
        if (verb == "chunk")
            return chunk(w, sub, a);
        if (verb == "gui")
            return gui(w, sub, a);
        if (verb == "process")
        {
            args(w, 2, 2, "process BLOCKS");
            return process(integer(w[1], 0, 100000), a);
        }
        if (verb == "midi")
        {
            args(w, 2, 2, "midi HEX");
            return midi(w[1], a);
        }
        if (verb == "play")
        {
            args(w, 3, 3, "play BPM PPQ");
            const double bpm = number(w[1]);
            const double ppq = number(w[2]);
            if (!(bpm > 0.0 && bpm <= 10000.0))
                fail("the tempo must be above 0 and at most 10000");
            if (!(std::fabs(ppq) <= 1.0e9))
                fail("the position must be a number of magnitude at most 1e9");
            playing_ = true;
            bpm_ = bpm;
            anchorPpq_ = ppq;
            anchorSample_ = sample_;
            a.set("playing", true);
            a.set("bpm", bpm);
            a.set("ppq", ppq);
            return;
        }
        if (verb == "stop")
        {
            args(w, 1, 1, "stop");
            anchorPpq_ = positionAt(sample_);
            anchorSample_ = sample_;
            playing_ = false;
            a.set("playing", false);
            a.set("ppq", anchorPpq_);
            return;
        }
        if (verb == "changes")
        {
            args(w, 1, 1, "changes");
            int32_t changes = -1;
            a.set("result", effect().effect().GetNumberOfChanges(&changes));
            a.set("changes", changes);
            return;
        }
        if (verb == "packets")
        {
            args(w, 1, 1, "packets");
            Json list = Json::array();
            for (const PostedPacket& p : effect().takePacketLog())
            {
                Json packet = Json::object();
                packet.set("port", p.port);
                packet.set("hex", toHex(p.data.data(), p.data.size()));
                if (p.data.size() == 4)
                {
                    float f = 0.0f;
                    std::memcpy(&f, p.data.data(), 4);
                    packet.set("float", static_cast<double>(f));
                }
                list.push(std::move(packet));
            }
            a.set("packets", std::move(list));
            return;
        }
        if (verb == "live")
        {
            args(w, 1, 1, "live");
            a.set("live", plugin_.canUnloadNow());
            return;
        }
        if (verb == "traces")
        {
            args(w, 1, 1, "traces");
            Json list = Json::array();
            const auto traces = plugin_.host().services().traces();
            for (std::size_t i = tracesSeen_; i < traces.size(); ++i)
            {
                Json t = Json::object();
                t.set("priority", traces[i].priority);
                t.set("message", traces[i].message);
                list.push(std::move(t));
            }
            tracesSeen_ = traces.size();
            a.set("traces", std::move(list));
            return;
        }
        if (verb == "uninitialized")
        {
            args(w, 1, 1, "uninitialized");
            return uninitialized(a);
        }
        if (verb == "release")
        {
            args(w, 1, 1, "release");
            releaseAll();
            a.set("live", plugin_.canUnloadNow());
            return;
        }
        fail("unknown command '" + verb + "'");
    }

    void param(const std::vector<std::string>& w, const std::string& sub, Json& a)
    {
        IEffectParameters& e = effect().effect();
        if (sub == "list")
        {
            args(w, 2, 2, "param list");
            int32_t count = 0;
            a.set("result", e.GetNumberOfParameters(&count));
            Json list = Json::array();
            for (int32_t i = 0; i < count; ++i)
            {
                HostString id, name, text;
                e.GetParameterIDFromIndex(i, &id);
                e.GetParameterName(id.text().c_str(), &name);
                double value = 0.0, def = 0.0;
                int32_t steps = 0;
                uint8_t automatable = 0;
                e.GetParameterNormalizedValue(id.text().c_str(), &value);
                e.GetParameterDefaultNormalizedValue(id.text().c_str(), &def);
                e.GetParameterNumberOfSteps(id.text().c_str(), &steps);
                e.GetParameterIsAutomatable(id.text().c_str(), &automatable);
                e.GetParameterValueString(id.text().c_str(), &text, 32);
                Json p = Json::object();
                p.set("id", id.text());
                p.set("name", name.text());
                p.set("value", value);
                p.set("text", text.text());
                p.set("default", def);
                p.set("steps", steps);
                p.set("automatable", automatable != 0);
                list.push(std::move(p));
            }
            a.set("params", std::move(list));
            return;
        }
        if (sub == "get")
        {
            args(w, 3, 3, "param get ID");
            double value = 0.0;
            HostString text;
            const Result r = e.GetParameterNormalizedValue(w[2].c_str(), &value);
            a.set("id", w[2]);
            a.set("result", r);
            if (r == kResultOk)
            {
                e.GetParameterValueString(w[2].c_str(), &text, 32);
                a.set("value", value);
                a.set("text", text.text());
            }
            return;
        }
        if (sub == "set" || sub == "request")
        {
            args(w, 4, 4, sub == "set" ? "param set ID VALUE" : "param request ID VALUE");
            const double value = number(w[3]);
            a.set("id", w[2]);
            if (sub == "set")
            {
                // A host update; then whatever the plug-in asked for meanwhile.
                a.set("result", effect().update(w[2].c_str(), value));
            }
            else
            {
                // A change from the plug-in's side: touch, request, release to the
                // host's automation, which answers with an update.
                a.set("result", e.SetParameterNormalizedValue(w[2].c_str(), value));
                a.set("updates", static_cast<int64_t>(effect().deliverRequests()));
            }
            double now = 0.0;
            if (e.GetParameterNormalizedValue(w[2].c_str(), &now) == kResultOk)
                a.set("value", now);
            return;
        }
        if (sub == "text")
        {
            args(w, 4, 5, "param text ID VALUE [MAXLEN]");
            const double value = number(w[3]);
            const int32_t maxLength =
                w.size() > 4 ? static_cast<int32_t>(integer(w[4], -1000000, 1000000)) : 32;
            HostString text;
            a.set("id", w[2]);
            a.set("result", e.GetParameterStringFromValue(w[2].c_str(), value, &text, maxLength));
            a.set("text", text.text());
            return;
        }
        if (sub == "parse")
        {
            if (w.size() < 4)
                fail("expected 'param parse ID TEXT'");
            std::string joined = w[3];
            for (std::size_t i = 4; i < w.size(); ++i)
                joined += " " + w[i];
            const HostString text(joined);
            double value = -1.0;
            const Result r = e.GetParameterValueFromString(w[2].c_str(), &value, text);
            a.set("id", w[2]);
            a.set("result", r);
            if (r == kResultOk)
                a.set("value", value);
            return;
        }
        fail("unknown command 'param " + sub + "'");
    }

    void chunk(const std::vector<std::string>& w, const std::string& sub, Json& a)
    {
        IEffectParameters& e = effect().effect();
        if (sub == "list")
        {
            args(w, 2, 2, "chunk list");
            int32_t count = 0;
            a.set("result", e.GetNumberOfChunks(&count));
            Json list = Json::array();
            for (int32_t i = 0; i < count && i < 1024; ++i)
            {
                uint32_t id = 0, size = 0;
                Json c = Json::object();
                c.set("result", e.GetChunkIDFromIndex(i, &id));
                c.set("id", fourCharText(id));
                c.set("size_result", e.GetChunkSize(id, &size));
                c.set("size", size);
                list.push(std::move(c));
            }
            a.set("chunks", std::move(list));
            return;
        }
        if (sub == "get")
        {
            args(w, 3, 3, "chunk get ID");
            const uint32_t id = fourChars(w[2]);
            uint32_t size = 0;
            Result r = e.GetChunkSize(id, &size);
            a.set("id", w[2]);
            if (r != kResultOk)
            {
                a.set("result", r);
                return;
            }
            if (size > kMaxChunkPayload)
                fail("the plug-in announced " + std::to_string(size) + " bytes");
            std::vector<uint8_t> record = chunkRecord(id, std::vector<uint8_t>(size, 0), 0);
            writeAt<int32_t>(record, 0, static_cast<int32_t>(size));
            r = e.GetChunk(id, record.data());
            a.set("result", r);
            const int32_t written = readAt<int32_t>(record, 0);
            a.set("size", written);
            a.set("version", readAt<int32_t>(record, 4));
            a.set("chunk_id", fourCharText(readAt<uint32_t>(record, 20)));
            std::string name(reinterpret_cast<const char*>(record.data() + 24), 32);
            name = name.substr(0, name.find('\0'));
            a.set("name", name);
            if (written < 0 || static_cast<uint32_t>(written) > size)
                fail("the plug-in wrote a size of " + std::to_string(written) + " into a record of " +
                     std::to_string(size) + " bytes");
            a.set("hex", toHex(record.data() + kChunkHeader, static_cast<std::size_t>(written)));
            return;
        }
        if (sub == "set" || sub == "compare")
        {
            args(w, 3, 5, sub == "set" ? "chunk set ID HEX [VERSION]" : "chunk compare ID HEX [VERSION]");
            const uint32_t id = fourChars(w[2]);
            const std::vector<uint8_t> payload = fromHex(w.size() > 3 ? w[3] : "");
            const int32_t version =
                w.size() > 4 ? static_cast<int32_t>(integer(w[4], INT32_MIN, INT32_MAX)) : -1;
            const std::vector<uint8_t> record = chunkRecord(id, payload, version);
            a.set("id", w[2]);
            if (sub == "set")
            {
                a.set("result", e.SetChunk(id, record.data()));
            }
            else
            {
                uint8_t equal = 0xFF;
                a.set("result", e.CompareActiveChunk(record.data(), &equal));
                a.set("equal", equal == 1);
            }
            return;
        }
        fail("unknown command 'chunk " + sub + "'");
    }

    void gui(const std::vector<std::string>& w, const std::string& sub, Json& a)
    {
        if (sub == "open")
        {
            args(w, 2, 2, "gui open");
            EffectInstance& e = effect();
            if (!gui_)
            {
                HostEffectDescriptor* descriptor = plugin_.effect();
                const GuiCreator creator = descriptor != nullptr ? guiCreatorOf(*descriptor) : nullptr;
                if (creator == nullptr)
                    fail("the plug-in registered no GUI creator (procedure 1)");
                auto driver = std::make_unique<GuiDriver>(plugin_.host(), e.driver());
                Result r = driver->create(creator);
                if (r != kResultOk)
                    fail("creating the GUI failed with " + std::to_string(r));
                r = driver->initialize();
                if (r != kResultOk)
                    fail("the GUI's Initialize failed with " + std::to_string(r));
                gui_ = std::move(driver);
            }
            // No display here: the container offers no native view.
            a.set("result", gui_->setViewContainer(gui_->newViewContainer(1, nullptr)));
            ViewPoint size;
            a.set("size_result", gui_->gui()->GetViewSize(&size));
            a.set("width", static_cast<double>(size.horz));
            a.set("height", static_cast<double>(size.vert));
            return;
        }
        if (sub == "close")
        {
            args(w, 2, 2, "gui close");
            if (!gui_)
                fail("no GUI is open");
            a.set("result", gui_->removeViewContainer());
            return;
        }
        fail("unknown command 'gui " + sub + "'");
    }

    // A second effect object, never initialised, asked what a careless host asks
    // before Initialize: coefficients, an update, parameter and chunk queries.
    void uninitialized(Json& a)
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
        a.set("generate_coefficients", e.GenerateCoefficients());
        a.set("update", e.UpdateParameterNormalizedValue("0", 0.5, 0));
        int32_t count = -1;
        a.set("number_of_parameters", e.GetNumberOfParameters(&count));
        a.set("parameters", count);
        uint32_t size = 0;
        a.set("chunk_size", e.GetChunkSize(fourChars("elck"), &size));
        int32_t changes = -1;
        a.set("changes", e.GetNumberOfChanges(&changes));
        a.set("uninitialize", e.Uninitialize());
        a.set("release", static_cast<int64_t>(driver.release()));
    }

    // One message for the MIDI input node in the next processed block.
    void midi(const std::string& hex, Json& a)
    {
        const std::vector<uint8_t> bytes = fromHex(hex);
        if (bytes.empty() || bytes.size() > 3)
            fail("a MIDI message has 1 to 3 bytes");
        const MidiNode* node = effect().algorithm().midiNodeOfType(kMidiNodeLocalInput);
        if (node == nullptr)
            fail("the component has no MIDI input node");
        if (pendingMidi_.size() >= node->capacity())
            fail("the next block already holds " + std::to_string(node->capacity()) + " MIDI messages");
        MidiPacket packet;
        packet.length = static_cast<uint32_t>(bytes.size());
        std::memcpy(packet.data, bytes.data(), bytes.size());
        pendingMidi_.push_back(packet);
        a.set("queued", static_cast<int64_t>(pendingMidi_.size()));
    }

    double positionAt(int64_t sample) const
    {
        if (!playing_)
            return anchorPpq_;
        return anchorPpq_ + static_cast<double>(sample - anchorSample_) * bpm_ / (60.0 * kRate);
    }

    void process(int64_t blocks, Json& a)
    {
        EffectInstance& e = effect();
        MidiNode* midiIn = e.algorithm().midiNodeOfType(kMidiNodeLocalInput);
        const MidiNode* midiOut = e.algorithm().midiNodeOfType(kMidiNodeLocalOutput);
        tambrix::render::PulseCounter counter;
        float peak = 0.0f;
        int64_t midiPosted = 0;
        for (int64_t b = 0; b < blocks; ++b)
        {
            // The queued messages go to the first block only.
            if (midiIn != nullptr)
                midiIn->setInput(pendingMidi_);
            pendingMidi_.clear();
            TimelineTransport::Position p;
            p.playing = playing_;
            p.bpm = bpm_;
            p.ticks =
                static_cast<int64_t>(std::llround(positionAt(sample_) * TimelineTransport::kTicksPerQuarter));
            p.sample = sample_;
            e.runBlock(p, kBlock);
            if (midiOut != nullptr)
                midiPosted += static_cast<int64_t>(midiOut->posted().size() + midiOut->dropped());
            const float* out = e.algorithm().output(0);
            counter.add(out, kBlock);
            for (int i = 0; i < kBlock; ++i)
                peak = std::max(peak, std::fabs(out[i]));
            sample_ += kBlock;
        }
        a.set("blocks", blocks);
        a.set("samples", sample_);
        a.set("pulses", counter.count());
        a.set("peak", static_cast<double>(peak));
        a.set("midi_out", midiPosted);
    }

    void releaseAll()
    {
        if (gui_)
        {
            gui_.reset(); // takes the container away, uninitialises and releases the GUI
        }
        if (instance_)
            instance_.reset();
        released_ = true;
    }

    PluginSession& plugin_;
    std::ostream& out_;
    std::unique_ptr<EffectInstance> instance_;
    std::unique_ptr<GuiDriver> gui_;
    bool released_ = false;
    bool playing_ = false;
    double bpm_ = 120.0;
    double anchorPpq_ = 0.0;
    int64_t anchorSample_ = 0;
    int64_t sample_ = 0;
    std::size_t tracesSeen_ = 0;
    std::vector<MidiPacket> pendingMidi_;
};

} // namespace

int runScript(const std::string& bundle, std::istream& in, std::ostream& out, std::ostream& err)
{
    std::string error;
    auto plugin = PluginSession::open(bundle, &error);
    if (!plugin)
    {
        err << "aaxhost script: " << error << "\n";
        return 2;
    }
    bool clean = false;
    {
        Session session(*plugin, out);
        clean = session.run(in);
    }
    plugin->close();
    return clean ? 0 : 1;
}

int runScriptCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
    {
        err << "usage: aaxhost script BUNDLE SCRIPT|-\n";
        return 2;
    }
    if (args[1] == "-")
        return runScript(args[0], std::cin, out, err);
    std::error_code ec;
    std::ifstream file;
    if (!std::filesystem::is_directory(args[1], ec))
        file.open(args[1]);
    if (!file.is_open())
    {
        err << "aaxhost script: cannot read " << args[1] << "\n";
        return 2;
    }
    return runScript(args[0], file, out, err);
}

} // namespace aaxhost::script

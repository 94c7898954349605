#include "host_conversation.h"

#include "ScriptCommand.h"

#include "tambrix/text/Hex.h"
#include "tambrix/text/Numbers.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>
#include <streambuf>

namespace tambrix::test
{
namespace
{

using tambrix::text::bytesFromHex;
using tambrix::text::hexBytes;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string format(int digits, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// A member of a JSON object as it is, or null.
nlohmann::json member(const nlohmann::json& object, const char* key)
{
    return object.is_object() && object.contains(key) ? object.at(key) : nlohmann::json();
}

void appendBigEndian(std::vector<uint8_t>& bytes, uint64_t value, int size)
{
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

uint64_t bitsOf(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

HostConversation::HostConversation(std::uint64_t seed) : seed_(seed), engine_(seed) {}

// Printable, never a '#' (that would start a comment), never a space.
std::string HostConversation::word(std::size_t length)
{
    static const std::string characters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.+/:%$@!?*()[]{}<>=~|\\'\"`,;^&";
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += characters[below(characters.size())];
    return text;
}

std::string HostConversation::parameterId()
{
    const uint64_t kind = below(12);
    if (kind < 4)
        return "0";
    if (kind < 7)
        return "MasterBypassID";
    if (kind < 8)
        return pick<std::string>({"1", "00", "-0", "+0", "0.0", "MasterBypass", "MasterBypassIDx",
                                  "masterbypassid", "Time", "Zeitmaß", "拍子"});
    if (kind < 9)
        return word(100 + below(300));
    return word(1 + below(12));
}

double HostConversation::hostileDouble()
{
    switch (below(3))
    {
    case 0:
        return pick<double>({kNaN, -kNaN, kInf, -kInf, 1e300, -1e300, DBL_MAX, 4.9e-324, -4.9e-324, 1e-310,
                             DBL_MIN, -0.0, 3.5e38, -3.5e38, 1e38});
    case 1:
        return pick<double>({0.0, 0.2, 0.5, 1.0, 2.0, -3.0, 255.0, 256.0, 1.0 / 30.0});
    default:
        return unit() * 2.0 - 0.5;
    }
}

// Numbers as a host may write them: hostile ones, random ones in every range, and
// words the engine does not read as numbers.
HostConversation::Number HostConversation::number()
{
    struct Fixed
    {
        const char* text;
        bool readable;
    };
    static const std::vector<Fixed> fixed{
        {"nan", true},      {"-nan", true},      {"inf", true},     {"-inf", true},
        {"infinity", true}, {"1e308", true},     {"-1e308", true},  {"1.7976931348623157e308", true},
        {"4.9e-324", true}, {"-4.9e-324", true}, {"1e-310", true},  {"2.2250738585072014e-308", true},
        {"1e-400", true},   {"0", true},         {"-0", true},      {"1", true},
        {"0.5", true},      {"0.2", true},       {"-3", true},      {"7", true},
        {"1e300", true},    {"1e9", true},       {"-1e9", true},    {"0x1p-3", true},
        {"+0.25", true},    {"1e999", false},    {"-1e999", false}, {"zero", false},
        {"0.5.5", false},   {"--1", false},      {"1,5", false},    {"0x", false}};
    Number n;
    const uint64_t kind = below(6);
    if (kind < 3)
    {
        const Fixed f = pick(fixed);
        n.text = f.text;
        n.readable = f.readable;
    }
    else if (kind < 4)
        n.text = format(17, unit());
    else if (kind < 5)
        n.text = format(9, static_cast<double>(static_cast<float>(below(40)) / 30.0f));
    else
    {
        char mantissa[32]; // without an exponent of its own, which %g writes below 1e-4
        std::snprintf(mantissa, sizeof mantissa, "%.17f", unit() * 2.0 - 1.0);
        n.text = mantissa + ("e" + std::to_string(static_cast<int>(below(601)) - 300));
    }
    n.value = std::strtod(n.text.c_str(), nullptr);
    return n;
}

std::string HostConversation::chunkId()
{
    const uint64_t kind = below(20);
    if (kind < 9)
        return "elck";
    if (kind < 15)
        return "juce";
    if (kind < 17)
        return word(4);
    if (kind < 19)
        return pick<std::string>({"ELCK", "Elck", "JUCE", "xxxx", "kcle", "ecuj", "0000"});
    return pick<std::string>({"elc", "elckk", "juc", "j", "toolong"}); // refused: not four characters
}

std::vector<uint8_t> HostConversation::bytes(std::size_t length)
{
    std::vector<uint8_t> out(length);
    for (uint8_t& b : out)
        b = static_cast<uint8_t>(below(256));
    return out;
}

// A payload in the controls chunk's layout, or close to it: the marker, then entries
// of a tag, '_', a name, 0 and padding to 4, then a big-endian value.
std::vector<uint8_t> HostConversation::controlsPayload()
{
    std::vector<uint8_t> payload = oneIn(8) ? bytes(4) : std::vector<uint8_t>{1, 1, 1, 1};
    const uint64_t entries = oneIn(8) ? 0 : 1 + below(4);
    for (uint64_t e = 0; e < entries; ++e)
    {
        const char tag = pick<char>({'d', 'd', 'd', 'f', 'l', 's', 'r', static_cast<char>(below(256))});
        const std::string name = pick<std::string>({"0", "0", "MasterBypassID", word(1 + below(8)), ""});
        payload.push_back(static_cast<uint8_t>(tag));
        payload.push_back('_');
        payload.insert(payload.end(), name.begin(), name.end());
        payload.push_back(0);
        while (payload.size() % 4 != 0)
            payload.push_back(0);
        switch (tag)
        {
        case 'd':
            appendBigEndian(payload, bitsOf(hostileDouble()), 8);
            break;
        case 'f':
        {
            const auto f = static_cast<float>(unit());
            uint32_t bits = 0;
            std::memcpy(&bits, &f, 4);
            appendBigEndian(payload, oneIn(2) ? bits : engine_(), 4);
            break;
        }
        case 'l':
        case 's':
            appendBigEndian(payload, engine_(), 4);
            break;
        case 'r':
        {
            const std::string text = word(below(12));
            payload.insert(payload.end(), text.begin(), text.end());
            payload.push_back(0);
            while (payload.size() % 4 != 0)
                payload.push_back(0);
            break;
        }
        default:
        {
            const auto junk = bytes(below(9));
            payload.insert(payload.end(), junk.begin(), junk.end());
        }
        }
    }
    if (oneIn(10))
        payload.resize(below(payload.size() + 1));
    return payload;
}

void HostConversation::mutate(std::vector<uint8_t>& payload)
{
    const uint64_t times = below(4);
    for (uint64_t i = 0; i < times; ++i)
    {
        const std::size_t size = payload.size();
        switch (below(9))
        {
        case 0:
            if (size > 0)
            {
                const std::size_t at = below(size);
                payload[at] ^= static_cast<uint8_t>(1u << below(8));
            }
            break;
        case 1:
            if (size > 0)
            {
                const std::size_t at = below(size);
                payload[at] = static_cast<uint8_t>(below(256));
            }
            break;
        case 2:
            payload.resize(below(size + 1));
            break;
        case 3:
        {
            const auto more = bytes(1 + below(8));
            payload.insert(payload.end(), more.begin(), more.end());
            break;
        }
        case 4:
        {
            const auto more = bytes(1 + below(4));
            payload.insert(payload.begin() + static_cast<std::ptrdiff_t>(below(size + 1)), more.begin(),
                           more.end());
            break;
        }
        case 5:
            if (size > 0)
            {
                const std::size_t from = below(size);
                const std::size_t to = from + 1 + below(size - from);
                payload.erase(payload.begin() + static_cast<std::ptrdiff_t>(from),
                              payload.begin() + static_cast<std::ptrdiff_t>(to));
            }
            break;
        case 6:
            payload.insert(payload.end(), payload.begin(),
                           payload.begin() + static_cast<std::ptrdiff_t>(size));
            break;
        case 7:
            // A value of the entry layout replaced by a hostile double, at a multiple of 4.
            if (size >= 8)
            {
                const std::size_t at = 4 * below((size - 8) / 4 + 1);
                std::vector<uint8_t> value;
                appendBigEndian(value, bitsOf(hostileDouble()), 8);
                std::memcpy(payload.data() + at, value.data(), 8);
            }
            break;
        default:
            if (size > 4)
                payload[4] = static_cast<uint8_t>(below(256));
            break;
        }
    }
}

// The HEX argument of a chunk set or compare; false when the engine must refuse it.
// Empty: no payload argument at all, which the engine refuses too.
bool HostConversation::payloadHex(std::string& hex)
{
    const uint64_t kind = below(20);
    if (kind < 6 && !readBack_.empty())
    {
        std::vector<uint8_t> payload = bytesFromHex(pick(readBack_).hex).value_or(std::vector<uint8_t>{});
        mutate(payload);
        hex = hexBytes(payload);
    }
    else if (kind < 10)
        hex = hexBytes(controlsPayload());
    else if (kind < 12)
        hex = hexBytes(bytes(below(49)));
    else if (kind < 14)
        hex = hexBytes(bytes(below(4))); // the processor's state is a byte or two
    else if (kind < 15)
        hex.clear();
    else if (kind < 16)
        hex = hexBytes(bytes(200 + below(800)));
    else if (kind < 17)
        hex = hexBytes(std::vector<uint8_t>(4 + below(61), 0xFF));
    else if (kind < 18)
        hex = "01010101645f3000" + hexBytes(bytes(8));
    else
    {
        hex = hexBytes(bytes(below(8)));
        hex += kind < 19 ? "0" : pick<std::string>({"zz", "0x", "g0", "+1"}); // odd length, or not hex
    }
    return kind < 18;
}

HostConversation::Action HostConversation::paramValue(const std::string& action)
{
    const std::string id = parameterId();
    const Number value = number();
    return {action + " " + id + " " + value.text, value.readable};
}

HostConversation::Action HostConversation::paramText()
{
    const std::string id = parameterId();
    const Number value = number();
    Action a{"param text " + id + " " + value.text, value.readable};
    const uint64_t length = below(8);
    if (length == 4)
        a.text += " " + pick<std::string>(
                            {"0", "1", "-1", "2", "8", "31", "32", "33", "255", "1000000", "-1000000", "+5"});
    else if (length == 5)
        a.text += " " + std::to_string(static_cast<int64_t>(below(2000001)) - 1000000);
    else if (length == 6)
        a.text += " " + std::to_string(below(100));
    else if (length == 7)
    {
        a.text += " " + pick<std::string>({"1000001", "-1000001", "x", "3.5", "99999999999999999999"});
        a.valid = false;
    }
    return a;
}

HostConversation::Action HostConversation::paramParse()
{
    Action a{"param parse " + parameterId()};
    const uint64_t words = 1 + below(3);
    for (uint64_t i = 0; i < words; ++i)
        a.text += " " + (oneIn(2) ? number().text
                                  : pick<std::string>({"3/8", "4/4", "32/8", "0/8", "8/8", "33/8", "Time",
                                                       "Signature", "Zeitmaß", word(1 + below(10))}));
    return a;
}

HostConversation::Action HostConversation::chunkPayload(const std::string& action)
{
    const std::string id = chunkId();
    Action a{action + " " + id, id.size() == 4};
    std::string hex;
    a.valid = payloadHex(hex) && !hex.empty() && a.valid;
    if (hex.empty())
        return a;
    a.text += " " + hex;
    const uint64_t version = below(20);
    if (version < 10)
        return a; // the engine sends -1
    if (version < 15)
        a.text += " " + pick<std::string>({"-1", "0", "1", "2", "-2", "-2147483648", "2147483647", "+7"});
    else if (version < 19)
        a.text += " " + std::to_string(static_cast<int32_t>(static_cast<uint32_t>(engine_())));
    else
    {
        a.text += " " + pick<std::string>({"2147483648", "-2147483649", "v1", "1.0"});
        a.valid = false;
    }
    return a;
}

HostConversation::Action HostConversation::play()
{
    Number bpm = number();
    if (oneIn(2))
    {
        bpm.text = format(17, 20.0 + unit() * 280.0);
        bpm.value = std::strtod(bpm.text.c_str(), nullptr);
        bpm.readable = true;
    }
    Number ppq = number();
    if (oneIn(2))
    {
        ppq.text = format(17, unit() * 80.0 - 16.0);
        ppq.value = std::strtod(ppq.text.c_str(), nullptr);
        ppq.readable = true;
    }
    // Tempo and position do not underflow, as the render options' do not.
    const auto normal = [](const Number& n)
    {
        double ignored = 0.0;
        return n.readable && tambrix::text::readReal(n.text, ignored) != tambrix::text::NumberRead::underflow;
    };
    const bool valid =
        normal(bpm) && normal(ppq) && bpm.value > 0.0 && bpm.value <= 10000.0 && std::fabs(ppq.value) <= 1e9;
    return {"play " + bpm.text + " " + ppq.text, valid, false};
}

HostConversation::Action HostConversation::process()
{
    if (oneIn(10))
        return {"process " + pick<std::string>({"-1", "100001", "1.5", "x", "99999999999999999999"}), false};
    return {"process " + std::to_string(oneIn(5) ? 5 + below(12) : below(5))};
}

HostConversation::Action HostConversation::midi()
{
    if (oneIn(6))
        return {"midi " + pick<std::string>({"903", "9g", "01020304", "zz", "903c6400", "0x90"}), false};
    std::vector<uint8_t> message = bytes(1 + below(3));
    message[0] = pick<uint8_t>({0x90, 0x80, 0xB0, 0xC0, 0xE0, 0xF0, 0xF7, 0xF8, 0xFF, message[0]});
    return {"midi " + hexBytes(message)};
}

HostConversation::Action HostConversation::chunkGet()
{
    const std::string id = chunkId();
    return {"chunk get " + id, id.size() == 4};
}

HostConversation::Action HostConversation::guiOpen()
{
    guiOpened_ = guiOpened_ || !released_;
    return {"gui open"};
}

HostConversation::Action HostConversation::releaseAction()
{
    released_ = true;
    guiOpened_ = false;
    return {"release", true, false};
}

// Words the engine refuses: unknown actions, missing or extra arguments.
HostConversation::Action HostConversation::refused()
{
    return {pick<std::string>({"param",
                               "param bogus 1",
                               "chunk",
                               "chunk get",
                               "chunk set",
                               "gui",
                               "gui frob",
                               "frobnicate",
                               "process",
                               "process 1 2",
                               "play 120",
                               "stop now",
                               "live 1",
                               "midi",
                               "midi 90 3c",
                               "param set 0",
                               "param get 0 1",
                               "release now",
                               "PARAM list",
                               "chunk list extra",
                               "param text 0 0.5 32 x",
                               "param parse 0"}),
            false};
}

// Every action of the script's table (its usage there) with how often it is drawn and
// how its line is made; the release is sent at the end only.
const std::vector<HostConversation::Generator>& HostConversation::generators()
{
    using C = HostConversation;
    static const std::vector<Generator> table{
        Generator("param list", 2),
        Generator("param get ID", 7, [](C& c) -> Action { return {"param get " + c.parameterId()}; }),
        Generator("param set ID VALUE", 7, [](C& c) { return c.paramValue("param set"); }),
        Generator("param request ID VALUE", 7, [](C& c) { return c.paramValue("param request"); }),
        Generator("param text ID VALUE [MAXLEN]", 5, [](C& c) { return c.paramText(); }),
        Generator("param parse ID TEXT...", 5, [](C& c) { return c.paramParse(); }),
        Generator("chunk list", 2),
        Generator("chunk get ID", 9, [](C& c) { return c.chunkGet(); }),
        Generator("chunk set ID HEX [VERSION]", 12, [](C& c) { return c.chunkPayload("chunk set"); }),
        Generator("chunk compare ID HEX [VERSION]", 7, [](C& c) { return c.chunkPayload("chunk compare"); }),
        Generator("gui open", 3, [](C& c) { return c.guiOpen(); }),
        Generator("gui close", 3,
                  [](C& c) {
                      return Action{"gui close", c.guiOpened_};
                  }),
        Generator("process BLOCKS", 10, [](C& c) { return c.process(); }),
        Generator("midi HEX", 7, [](C& c) { return c.midi(); }),
        Generator("play BPM PPQ", 5, [](C& c) { return c.play(); }),
        Generator("stop", 2, nullptr, false),
        Generator("changes", 1),
        Generator("packets", 1),
        Generator("live", 1, nullptr, false),
        Generator("traces", 1, nullptr, false),
        Generator("uninitialized", 2, nullptr, false),
        Generator("release", 0, [](C& c) { return c.releaseAction(); }),
    };
    return table;
}

// The generators of the script's table, in its order; the usages without one in *missing.
std::vector<const HostConversation::Generator*>
HostConversation::tableGenerators(std::vector<std::string>* missing)
{
    std::vector<const Generator*> found;
    for (const std::string& usage : aaxhost::script::actionUsages())
    {
        const auto g = std::find_if(generators().begin(), generators().end(),
                                    [&usage](const Generator& x) { return usage == x.usage; });
        if (g != generators().end())
            found.push_back(&*g);
        else if (missing != nullptr)
            missing->push_back(usage);
    }
    return found;
}

std::vector<std::string> HostConversation::actionsWithoutGenerator()
{
    std::vector<std::string> missing;
    tableGenerators(&missing);
    return missing;
}

// An action of the script's table drawn by weight, or now and then a line it refuses.
HostConversation::Action HostConversation::randomAction()
{
    constexpr uint64_t kRefusedWeight = 2;
    const std::vector<const Generator*> table = tableGenerators(nullptr);
    uint64_t draw = kRefusedWeight;
    for (const Generator* g : table)
        draw += g->weight;
    draw = below(draw);
    for (const Generator* g : table)
    {
        if (draw < g->weight)
            return g->make != nullptr ? g->make(*this) : Action{g->usage, true, g->needsEffect};
        draw -= g->weight;
    }
    return refused();
}

// Keeps every controls or framework payload the instance handed out.
void HostConversation::hear(const std::vector<nlohmann::json>& answers)
{
    for (; heard_ < answers.size() && heard_ < lines_.size(); ++heard_)
    {
        const nlohmann::json& a = answers[heard_];
        const nlohmann::json hex = member(a, "hex");
        const nlohmann::json version = member(a, "version");
        if (lines_[heard_].text.rfind("chunk get ", 0) == 0 && member(a, "result") == 0 && hex.is_string() &&
            version.is_number_integer())
            readBack_.push_back({hex.get<std::string>(), version.get<int64_t>()});
    }
}

void HostConversation::send(const Action& action, std::string& line)
{
    lines_.push_back({++lineNumber_, action.text, action.valid && !(released_ && action.needsEffect)});
    script_ += action.text + "\n";
    line = action.text;
}

bool HostConversation::next(const std::vector<nlohmann::json>& answers, std::string& line)
{
    hear(answers);
    switch (phase_)
    {
    case Phase::opening:
        line = "# host conversation, seed " + std::to_string(seed_) +
               ": save as FILE, replay with build/bin/aaxhost script build/tambrix.aaxplugin FILE";
        script_ += line + "\n";
        ++lineNumber_;
        bodyLeft_ = static_cast<int>(12 + below(37));
        phase_ = Phase::body;
        return true;
    case Phase::body:
        if (--bodyLeft_ <= 0)
            phase_ = Phase::settle;
        send(randomAction(), line);
        return true;
    case Phase::settle:
        send({"process 1"}, line);
        phase_ = Phase::roundTripGet;
        return true;
    case Phase::roundTripGet:
        roundTrip_[0] = static_cast<int>(lines_.size());
        send({"chunk get elck"}, line);
        phase_ = Phase::roundTripSet;
        return true;
    case Phase::roundTripSet:
    {
        Action set{"chunk set elck", false}; // without what it read back, refused
        if (static_cast<std::size_t>(roundTrip_[0]) < answers.size())
        {
            const nlohmann::json& got = answers[static_cast<std::size_t>(roundTrip_[0])];
            const nlohmann::json hex = member(got, "hex");
            const nlohmann::json version = member(got, "version");
            if (hex.is_string() && version.is_number_integer())
            {
                set.text += " " + hex.get<std::string>() + " " + std::to_string(version.get<int64_t>());
                set.valid = !hex.get<std::string>().empty();
            }
        }
        roundTrip_[1] = static_cast<int>(lines_.size());
        send(set, line);
        phase_ = Phase::deliver;
        return true;
    }
    case Phase::deliver:
        send({"process 1"}, line);
        phase_ = Phase::roundTripGetAgain;
        return true;
    case Phase::roundTripGetAgain:
        roundTrip_[2] = static_cast<int>(lines_.size());
        send({"chunk get elck"}, line);
        phase_ = Phase::release;
        return true;
    case Phase::release:
        release_ = static_cast<int>(lines_.size());
        send(releaseAction(), line);
        tailLeft_ = oneIn(4) ? static_cast<int>(1 + below(4)) : 0;
        phase_ = tailLeft_ > 0 ? Phase::afterRelease : Phase::live;
        return true;
    case Phase::afterRelease:
        if (--tailLeft_ <= 0)
            phase_ = Phase::live;
        send(randomAction(), line);
        return true;
    case Phase::live:
        send({"live", true, false}, line);
        phase_ = Phase::over;
        return true;
    case Phase::over:
        break;
    }
    return false;
}

namespace
{

// The engine's input: each line is chosen when the engine asks for it, after it
// has answered every earlier one.
class ConversationInput final : public std::streambuf
{
public:
    ConversationInput(HostConversation& talk, const std::ostringstream& out,
                      std::vector<nlohmann::json>& answers, std::ostream* log)
        : talk_(talk), out_(out), answers_(answers), log_(log)
    {
    }

    // Reads the answers written since the last call.
    void hearAnswers()
    {
        const std::string text = out_.str();
        for (std::size_t end = text.find('\n', read_); end != std::string::npos; end = text.find('\n', read_))
        {
            answers_.push_back(nlohmann::json::parse(text.begin() + static_cast<std::ptrdiff_t>(read_),
                                                     text.begin() + static_cast<std::ptrdiff_t>(end), nullptr,
                                                     false));
            read_ = end + 1;
        }
    }

protected:
    int_type underflow() override
    {
        hearAnswers();
        if (!talk_.next(answers_, line_))
            return traits_type::eof();
        line_ += '\n';
        if (log_ != nullptr)
            log_->write(line_.data(), static_cast<std::streamsize>(line_.size())).flush();
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(line_.front());
    }

private:
    HostConversation& talk_;
    const std::ostringstream& out_;
    std::vector<nlohmann::json>& answers_;
    std::ostream* log_;
    std::size_t read_ = 0;
    std::string line_;
};

} // namespace

std::vector<nlohmann::json> playConversation(aaxhost::PluginSession& plugin, HostConversation& talk,
                                             std::ostream* log)
{
    std::vector<nlohmann::json> answers;
    std::ostringstream out;
    ConversationInput input(talk, out, answers, log);
    std::istream in(&input);
    aaxhost::script::runScript(plugin, in, out);
    input.hearAnswers();
    return answers;
}

} // namespace tambrix::test

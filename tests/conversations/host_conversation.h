#pragma once

// A random conversation of a host with one effect instance, in the words of
// `aaxhost script`, chosen line by line from a seed. Each line is chosen after the
// earlier ones were answered, so a later line can send back (mutated) chunks that
// the instance handed out. A seed means the same conversation on every machine:
// the numbers come from std::mt19937_64 through our own mapping to ranges, one draw
// a statement or argument (never two as operands of one expression, whose order
// would be the compiler's).

#include "aaxhost/PluginSession.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <iosfwd>
#include <random>
#include <string>
#include <vector>

namespace tambrix::test
{

class HostConversation
{
public:
    struct Line
    {
        int number = 0; // in the script, the comment at its top counted
        std::string text;
        bool valid = true; // whether the engine must answer it with "ok":true
    };

    explicit HostConversation(std::uint64_t seed);

    // The next line of the script, chosen after hearing `answers` (one for each
    // action line sent so far); false when the conversation is over. It opens
    // with a comment naming the seed. Its end plays a block (the host answers the
    // plug-in's pending requests), reads the controls chunk, sets it back, plays a
    // block and reads it again, releases the instance and asks for `live`.
    bool next(const std::vector<nlohmann::json>& answers, std::string& line);

    std::uint64_t seed() const noexcept { return seed_; }
    // The action lines sent, in order: the i-th one is answered by answers[i].
    const std::vector<Line>& lines() const noexcept { return lines_; }
    // The script so far, as `aaxhost script` replays it.
    const std::string& script() const noexcept { return script_; }
    // Indices in lines() of the closing round trip and of the release (-1 before they are sent).
    int roundTripGet() const noexcept { return roundTrip_[0]; }
    int roundTripSet() const noexcept { return roundTrip_[1]; }
    int roundTripGetAgain() const noexcept { return roundTrip_[2]; }
    int release() const noexcept { return release_; }

    // The actions of the script's table that no generator makes: none, or the
    // conversations miss them.
    static std::vector<std::string> actionsWithoutGenerator();

private:
    struct Action
    {
        std::string text;
        bool valid = true;
        bool needsEffect = true; // refused once the instance is released
    };
    struct Number
    {
        std::string text;
        double value = 0.0;
        bool readable = true; // the engine reads it as a number
    };
    struct Chunk
    {
        std::string hex;
        int64_t version = -1;
    };

    enum class Phase
    {
        opening,
        body,
        settle,
        roundTripGet,
        roundTripSet,
        deliver,
        roundTripGetAgain,
        release,
        afterRelease,
        live,
        over
    };

    uint64_t below(uint64_t n) { return engine_() % n; }
    bool oneIn(uint64_t n) { return below(n) == 0; }
    double unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    template <class T>
    T pick(const std::vector<T>& items)
    {
        return items[below(items.size())];
    }

    std::string word(std::size_t length);
    std::string parameterId();
    Number number();
    double hostileDouble();
    std::string chunkId();
    std::vector<uint8_t> bytes(std::size_t length);
    std::vector<uint8_t> controlsPayload();
    void mutate(std::vector<uint8_t>& payload);
    bool payloadHex(std::string& hex);

    // How often an action of the script's table is drawn and how its line is made.
    struct Generator
    {
        Generator(const char* u, uint64_t w, Action (*m)(HostConversation&) = nullptr, bool e = true)
            : usage(u), weight(w), make(m), needsEffect(e)
        {
        }
        const char* usage; // as in the script's table
        uint64_t weight;
        Action (*make)(HostConversation&); // null: the usage is the line
        bool needsEffect;
    };
    static const std::vector<Generator>& generators();
    static std::vector<const Generator*> tableGenerators(std::vector<std::string>* missing);

    Action randomAction();
    Action paramValue(const std::string& action);
    Action paramText();
    Action paramParse();
    Action chunkGet();
    Action chunkPayload(const std::string& action);
    Action guiOpen();
    Action play();
    Action process();
    Action midi();
    Action releaseAction();
    Action refused();
    void hear(const std::vector<nlohmann::json>& answers);
    void send(const Action& action, std::string& line);

    std::uint64_t seed_;
    std::mt19937_64 engine_;
    Phase phase_ = Phase::opening;
    int bodyLeft_ = 0;
    int tailLeft_ = 0;
    bool guiOpened_ = false;
    bool released_ = false;
    int lineNumber_ = 0;
    std::size_t heard_ = 0;
    std::vector<Chunk> readBack_; // payloads the instance handed out
    std::vector<Line> lines_;
    std::string script_;
    int roundTrip_[3] = {-1, -1, -1};
    int release_ = -1;
};

// Plays `talk` through the script engine against a new instance of `plugin`,
// line by line, each line also written to `log` (and flushed) before the engine
// reads it; the answers, one per action line (a line that is not JSON is kept as a
// discarded value).
std::vector<nlohmann::json> playConversation(aaxhost::PluginSession& plugin, HostConversation& talk,
                                             std::ostream* log = nullptr);

} // namespace tambrix::test

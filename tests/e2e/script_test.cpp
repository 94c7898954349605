// aaxhost script: each line answered by one JSON line; a script of every bad
// input the host interface allows leaves the plug-in working.
#include "BundlePlay.h"
#include "ClockRender.h"
#include "MetronaAudioProcessor.h"
#include "ScriptCommand.h"

#include "aaxhost/ChunkRecord.h"
#include "aaxhost/UnknownPtr.h"
#include "tambrix/text/FourChar.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using Json = nlohmann::ordered_json;

std::vector<Json> runScript(const std::string& script, int* exitCode = nullptr)
{
    std::istringstream in(script);
    std::ostringstream out, err;
    const int code = aaxhost::script::runScript(TAMBRIX_BUNDLE, in, out, err);
    if (exitCode != nullptr)
        *exitCode = code;
    std::vector<Json> answers;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);)
    {
        Json json = Json::parse(line, nullptr, false);
        EXPECT_FALSE(json.is_discarded()) << line;
        answers.push_back(std::move(json));
    }
    return answers;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Script, AnswersEveryLineInOrder)
{
    int code = -1;
    const auto a = runScript("param list\n"
                             "\n"
                             "# a comment\n"
                             "param get 0\n"
                             "chunk get juce\n"
                             "param set 0 0.1\n"
                             "chunk get juce\n"
                             "changes\n"
                             "play 120 0\n"
                             "process 4\n"
                             "packets\n"
                             "packets\n"
                             "gui open\n"
                             "gui close\n"
                             "frobnicate 3\n"
                             "param set 0\n"
                             "live\n"
                             "release\n"
                             "live\n"
                             "param get\n"
                             "gui\n",
                             &code);
    ASSERT_EQ(a.size(), 19u);
    EXPECT_EQ(code, 1); // four lines were errors

    EXPECT_EQ(a[0].at("line").get<int64_t>(), 1);
    const Json& params = a[0].at("params");
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[0].at("id").get<std::string>(), "0");
    EXPECT_EQ(params[0].at("name").get<std::string>(), "Time Signature");
    EXPECT_EQ(params[1].at("id").get<std::string>(), "MasterBypassID");

    EXPECT_EQ(a[1].at("line").get<int64_t>(), 4);
    EXPECT_DOUBLE_EQ(a[1].at("value").get<double>(), static_cast<double>(6.0f / 30.0f)); // index 6 by default
    EXPECT_EQ(a[2].at("hex").get<std::string>(), "0600"); // the index in byte 0
    EXPECT_EQ(a[3].at("result").get<int64_t>(), 0);
    EXPECT_EQ(a[4].at("hex").get<std::string>(), "0300"); // 0.1 x 30 = index 3
    EXPECT_EQ(a[5].at("changes").get<int64_t>(), 1);

    // 4 blocks of 512 samples from position 0 at 120 bpm: onsets at 0, 1001, 2001 (sample 2048 ends the run).
    EXPECT_EQ(a[7].at("samples").get<int64_t>(), 2048);
    EXPECT_EQ(a[7].at("pulses").get<int64_t>(), 3);
    // The first coefficients post the bypass value once, as a 4-byte float 0.
    ASSERT_EQ(a[8].at("packets").size(), 1u);
    EXPECT_EQ(a[8].at("packets")[0].at("port").get<int64_t>(), 3);
    EXPECT_EQ(a[8].at("packets")[0].at("hex").get<std::string>(), "00000000");
    EXPECT_EQ(a[9].at("packets").size(), 0u);

    EXPECT_EQ(a[10].at("width").get<double>(), 150.0);
    EXPECT_EQ(a[10].at("height").get<double>(), 174.0);
    EXPECT_EQ(a[11].at("result").get<int64_t>(), 0);

    EXPECT_FALSE(a[12].at("ok").get<bool>());
    EXPECT_EQ(a[12].at("line"), 15);
    EXPECT_EQ(a[12].at("error"), "line 15: unknown command 'frobnicate'");
    EXPECT_FALSE(a[13].at("ok").get<bool>());
    EXPECT_EQ(a[13].at("command"), "param set");
    EXPECT_EQ(a[13].at("error"), "line 16: expected 'param set ID VALUE'");

    EXPECT_EQ(a[14].at("live").get<int64_t>(), 2); // the effect and the GUI object
    EXPECT_EQ(a[15].at("live").get<int64_t>(), 0);
    EXPECT_EQ(a[16].at("live").get<int64_t>(), 0);
    // An action that reaches the effect does so before its arguments are checked.
    EXPECT_EQ(a[17].at("error"), "line 20: the effect has been released");
    // A word that begins several actions says which words may follow it.
    EXPECT_EQ(a[18].at("error"), "line 21: 'gui' must be followed by one of: open, close");

    // README's table of actions names exactly the engine's, usage by usage, in its first column.
    const std::string readme = readFile(README_FILE);
    std::istringstream section(readme.substr(readme.find("### aaxhost\n")));
    std::set<std::string> documented;
    const std::regex quoted("`([^`]+)`");
    for (std::string row; std::getline(section, row) && (documented.empty() || row[0] == '|');)
    {
        const std::string first = row.rfind("| `", 0) == 0 ? row.substr(0, row.find(" |", 1)) : "";
        for (std::sregex_iterator m(first.begin(), first.end(), quoted), end; m != end; ++m)
            documented.insert((*m)[1]);
    }
    const std::vector<std::string> usages = aaxhost::script::actionUsages();
    EXPECT_EQ(documented, std::set<std::string>(usages.begin(), usages.end()));
}

// Notes sent to the input node never come out of the output node, bypassed or not.
TEST(Script, MidiIsNotPassedOnWhetherBypassedOrNot)
{
    int code = -1;
    const auto a = runScript("midi 903c64\nprocess 2\n"
                             "param set MasterBypassID 1\nmidi 903c64\nmidi 80\nprocess 2\n"
                             "midi 903\nmidi 90zz\nmidi 90406450\n",
                             &code);
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[4].at("queued").get<int64_t>(), 2);
    EXPECT_EQ(a[1].at("midi_out").get<int64_t>(), 0);
    EXPECT_EQ(a[1].at("pulses"), 0); // the transport starts stopped
    EXPECT_EQ(a[5].at("midi_out").get<int64_t>(), 0);
    EXPECT_EQ(code, 1);
    EXPECT_NE(a[6].at("error").get<std::string>().find("must have an even number of digits"),
              std::string::npos);
    EXPECT_NE(a[7].at("error").get<std::string>().find("is not hex"), std::string::npos);
    EXPECT_NE(a[8].at("error").get<std::string>().find("1 to 3 bytes"), std::string::npos);
}

// A tempo and a position keep the render options' limits; a parameter value is any
// double a host may send.
TEST(Script, NumbersKeepTheLimitsOfWhatTheyStandFor)
{
    const auto a =
        runScript("play 120 1e-320\nparam set 0 4.9e-324\nparam set 0 1e999\nplay 120 1e10\nstop\n");
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].at("error"),
              "line 1: PPQ cannot be '1e-320': it underflows (closer to 0 than the smallest normal double)");
    EXPECT_TRUE(a[1].at("ok").get<bool>());
    EXPECT_EQ(a[2].at("error"), "line 3: VALUE cannot be '1e999': it overflows (beyond the largest double)");
    EXPECT_EQ(a[3].at("error"),
              "line 4: PPQ must be a position in quarter notes of magnitude at most 1e9, not '1e10'");
    EXPECT_TRUE(a[4].at("ok").get<bool>()); // the script goes on
}

TEST(Script, NulBytesAndUnreadableScriptsAreRefused)
{
    const auto a = runScript(std::string("param get 0\0junk\nparam get 0\n", 29));
    ASSERT_EQ(a.size(), 2u);
    EXPECT_FALSE(a[0].at("ok").get<bool>());
    EXPECT_NE(a[0].at("error").get<std::string>().find("line 1"), std::string::npos);
    EXPECT_TRUE(a[1].at("ok").get<bool>());

    std::ostringstream out, err;
    EXPECT_EQ(aaxhost::script::runScriptCommand({TAMBRIX_BUNDLE, ::testing::TempDir()}, out, err), 2);
    EXPECT_EQ(aaxhost::script::runScriptCommand({TAMBRIX_BUNDLE, "/nonexistent/script"}, out, err), 2);
    EXPECT_TRUE(out.str().empty());
}

TEST(Script, RequestFromThePlugInSideComesBackAsAnUpdate)
{
    const auto a = runScript("param request 0 0.5\nparam get 0#c\nchanges\n");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0].at("updates").get<int64_t>(), 1);
    EXPECT_EQ(a[1].at("id"), "0"); // '#' starts a comment inside a word too
    EXPECT_DOUBLE_EQ(a[1].at("value").get<double>(), 0.5);
    EXPECT_EQ(a[2].at("changes").get<int64_t>(), 1);
}

TEST(Script, ControlsChunkRoundTrip)
{
    const auto a =
        runScript("chunk get elck\nparam set 0 0.2\nchunk compare elck 01010101645f30003fc99999a0000000\n"
                  "chunk set elck 01010101645f30003fc99999a0000000\nchunk get elck\n"
                  "chunk set elck\nchunk compare elck\n");
    ASSERT_EQ(a.size(), 7u);
    EXPECT_EQ(a[0].at("version").get<int64_t>(), -1);
    EXPECT_EQ(a[0].at("name").get<std::string>(), "Complete Controls State");
    // The entry of parameter "0" ('d', "0", padding) then holds 0.2, the float widened, as a big-endian
    // double.
    EXPECT_EQ(a[0].at("hex").get<std::string>().substr(0, 16), "01010101645f3000");
    EXPECT_TRUE(a[2].at("equal").get<bool>());
    EXPECT_EQ(a[3].at("result").get<int64_t>(), 0);
    EXPECT_EQ(a[4].at("hex").get<std::string>(), "01010101645f30003fc99999a0000000");
    // The payload is required.
    EXPECT_EQ(a[5].at("error"), "line 6: expected 'chunk set ID HEX [VERSION]'");
    EXPECT_EQ(a[6].at("error"), "line 7: expected 'chunk compare ID HEX [VERSION]'");
}

// `gui open` opens the GUI of the instance: after the host transport plays (as
// `play 140 0` and `process 1` set it), its controller unknown answers with the
// transport the effect plays.
TEST(Script, TheGuiSeesTheTransportTheEffectPlays)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    {
        auto instance = aaxhost::EffectInstance::create(*session, {}, &error);
        ASSERT_NE(instance, nullptr) << error;
        ASSERT_TRUE(instance->runBlock({true, 140.0, 0.0, 0}, 0, 512));
        const auto gui = instance->openGui(&error);
        ASSERT_NE(gui, nullptr) << error;
        const auto transport = aaxhost::UnknownPtr<aaxhost::AAX_IACFTransport_V2>::query(
            gui->controllerUnknownInterface(), aaxhost::IID_IAAXTransportV2);
        ASSERT_TRUE(transport);
        double bpm = 0.0;
        bool playing = false;
        EXPECT_EQ(transport->GetCurrentTempo(&bpm), 0);
        EXPECT_EQ(bpm, 140.0);
        EXPECT_EQ(transport->IsTransportPlaying(&playing), 0);
        EXPECT_TRUE(playing);
    }
    EXPECT_EQ(session->close(), 0);
}

std::vector<float> renderDirect(const tambrix::render::RenderOptions& o)
{
    juce::ScopedJuceInitialiser_GUI juce;
    MetronaAudioProcessor processor;
    std::vector<float> out;
    tambrix::render::RenderSummary summary;
    std::string error;
    EXPECT_TRUE(tambrix::render::renderClock(
        processor, o,
        [&out, &o](const float* f, int n)
        {
            out.insert(out.end(), f, f + static_cast<std::ptrdiff_t>(n) * o.channels);
            return true;
        },
        summary, error))
        << error;
    return out;
}

TEST(BadInput, EveryBadInputIsAnsweredAndLeavesNothingLive)
{
    const std::string script = readFile(BAD_INPUTS_SCRIPT);
    ASSERT_FALSE(script.empty());
    int lines = 0;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);)
        if (line.find_first_not_of(" \t") != std::string::npos && line[line.find_first_not_of(" \t")] != '#')
            ++lines;
    int code = -1;
    const auto a = runScript(script, &code);
    ASSERT_EQ(static_cast<int>(a.size()), lines); // nothing crashed, every line answered
    EXPECT_EQ(code, 1);                           // the host-side refusals ("no GUI is open")
    EXPECT_EQ(a.back().at("live").get<int64_t>(), 0);
    for (const Json& answer : a)
    {
        if (answer.at("command") == "param set" && answer.contains("id") && answer.at("id") == "nothere")
        {
            EXPECT_EQ(answer.at("result").get<int64_t>(), -20001);
        }
    }
}

// The same bad inputs straight at the instance that renders afterwards: once the
// host has put its values back, the render is the clean one, bit for bit.
TEST(BadInput, RenderAfterwardsIsBitIdenticalToACleanOne)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    aaxhost::play::PlayOptions options;
    options.render.seconds = 2.0;
    options.render.block = 300;
    options.render.start = 0.1;
    std::vector<float> afterBadInput;
    {
        auto instance = aaxhost::play::makePlayInstance(*session, options, &error);
        ASSERT_NE(instance, nullptr) << error;
        aaxhost::IEffectParameters& e = instance->effect();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        for (const double v : {nan, inf, -inf, -3.0, 1e300, 2.0})
        {
            instance->update("0", v);
            instance->update("MasterBypassID", v);
            instance->update("nothere", v);
            e.SetParameterNormalizedValue("0", v);
            instance->deliverRequests();
            aaxhost::HostString text;
            e.GetParameterStringFromValue("0", v, &text, 0);
            e.GetParameterStringFromValue("nothere", v, &text, 32);
        }
        double parsed = 0.0;
        e.GetParameterValueFromString("0", &parsed, aaxhost::HostString("not a number"));
        // Malformed and foreign chunks.
        for (const std::vector<uint8_t>& payload :
             {std::vector<uint8_t>{}, std::vector<uint8_t>{1}, std::vector<uint8_t>{1, 1, 1, 1, 'd', 0xFF},
              std::vector<uint8_t>(64, 0xFF)})
            for (const char* name : {"elck", "juce", "xxxx"})
            {
                const uint32_t id = *tambrix::text::fourCharCode(name);
                aaxhost::ChunkRecord record(id, payload, 0);
                if (name != std::string("juce") || !payload.empty()) // a state byte of 0xFF is a legal index
                    e.SetChunk(id, record.get());
                uint8_t equal = 0;
                e.CompareActiveChunk(record.get(), &equal);
            }
        // A few stopped blocks under the bad values.
        for (int i = 0; i < 3; ++i)
            instance->runBlock({}, 0, 300);
        // The host puts its values back.
        instance->update("MasterBypassID", 0.0);
        instance->update("0", static_cast<double>(6.0f / 30.0f));
        // A fresh start of the clock: the stopped blocks above left it unsynchronised.
        tambrix::render::RenderSummary summary;
        ASSERT_TRUE(aaxhost::play::playThroughInstance(
            *instance, options,
            [&afterBadInput](const float* f, int n)
            {
                afterBadInput.insert(afterBadInput.end(), f, f + 2 * n);
                return true;
            },
            summary, error))
            << error;
    }
    EXPECT_EQ(session->close(), 0);
    const std::vector<float> clean = renderDirect(options.render);
    ASSERT_EQ(clean.size(), afterBadInput.size());
    EXPECT_EQ(std::memcmp(clean.data(), afterBadInput.data(), clean.size() * sizeof(float)), 0);
}

} // namespace

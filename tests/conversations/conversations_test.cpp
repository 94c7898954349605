// Random host conversations with one instance through the bundle (host_conversation.h),
// one after another against one loaded bundle. After each: every line answered as
// expected, the controls chunk read back restores to the same bytes, nothing alive
// after the release (no plug-in object, no host object held by the plug-in), and a
// fresh instance renders a fixed timeline exactly as a fresh instance did before any
// conversation.
//
// TAMBRIX_CONVERSATIONS (default 300) sets how many conversations run, and
// TAMBRIX_CONVERSATION_SEED (default 1) the seed of the first; the others follow it.
// A failing conversation is printed as a script with its seed: save it as FILE and
// replay it with `build/bin/aaxhost script build/tambrix.aaxplugin FILE`, or run
// just that seed here with TAMBRIX_CONVERSATION_SEED=S TAMBRIX_CONVERSATIONS=1.
// The script of the conversation being played is also kept in
// build/tests/conversations/last_conversation.script.
#include "host_conversation.h"

#include "BundlePlay.h"

#include "aaxhost/HostObject.h"
#include "aaxhost/PluginSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace
{

using Json = nlohmann::json;
using tambrix::test::HostConversation;

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// A crash or a sanitizer report ends the process: the conversation that was being
// played (or checked) is written to standard error first, up to its last line sent,
// where a handler can run. The conversation is also written, line by line as it is
// played, to TAMBRIX_CONVERSATION_LOG, which keeps the last one after any end (a
// report of UndefinedBehaviorSanitizer's runtime of its own, a timeout).
const HostConversation* playing = nullptr;

void writeAll(const char* text, std::size_t size)
{
    for (std::size_t done = 0; done < size;)
    {
        const ssize_t n = write(STDERR_FILENO, text + done, size - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

void writeConversation()
{
    const HostConversation* talk = playing;
    playing = nullptr;
    if (talk == nullptr)
        return;
    static const char header[] =
        "\nThe process ended during this host conversation or the checks after it:\n";
    writeAll(header, sizeof header - 1);
    writeAll(talk->script().data(), talk->script().size());
}

void onSignal(int)
{
    writeConversation(); // then the signal's default action ends the process
}

void installCrashReport()
{
    if (__sanitizer_set_death_callback != nullptr)
    {
        __sanitizer_set_death_callback(writeConversation); // the sanitizers keep their own signal handlers
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(signal, &action, nullptr);
}

// A fixed timeline with stops, plays, jumps and value changes (24 pulses), through a
// fresh instance.
std::vector<float> renderFixedTimeline(aaxhost::PluginSession& session, int64_t* pulses = nullptr)
{
    using Kind = tambrix::render::TimelineEvent::Kind;
    aaxhost::play::PlayOptions options;
    options.render.seconds = 0.75;
    options.render.block = 300;
    options.render.timeline = {{0, Kind::stop},
                               {0, Kind::value, 0.0, 0.0333333},
                               {2400, Kind::play, 120.0, 0.0},
                               {9000, Kind::value, 0.0, 0.5},
                               {12000, Kind::stop},
                               {14000, Kind::play, 200.0, 8.4},
                               {20000, Kind::play, 90.0, -0.25}};
    std::vector<float> samples;
    std::string error;
    auto instance = aaxhost::play::makePlayInstance(session, options, &error);
    tambrix::render::RenderSummary summary;
    if (instance == nullptr || !aaxhost::play::playThroughInstance(
                                   *instance, options,
                                   [&samples](const float* frames, int n)
                                   {
                                       samples.insert(samples.end(), frames, frames + 2 * n);
                                       return true;
                                   },
                                   summary, error))
        ADD_FAILURE() << "the fixed render failed: " << error;
    if (pulses != nullptr)
        *pulses = summary.pulses;
    return samples;
}

// A member of an answer, or null.
Json member(const Json& answer, const char* key)
{
    return answer.is_object() && answer.contains(key) ? answer.at(key) : Json();
}

// What is wrong with the answers to `talk`, or nothing.
std::string fault(const HostConversation& talk, const std::vector<Json>& answers)
{
    const auto& lines = talk.lines();
    if (answers.size() != lines.size())
        return std::to_string(lines.size()) + " action lines got " + std::to_string(answers.size()) +
               " answers";
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        const Json& a = answers[i];
        const std::string where = "line " + std::to_string(lines[i].number) + " (" + lines[i].text + ") ";
        if (!a.is_object())
            return where + "was not answered with a JSON object";
        if (member(a, "line") != lines[i].number)
            return where + "was answered as another line: " + a.dump();
        if (member(a, "ok") != lines[i].valid)
            return where + "should be answered with \"ok\":" + (lines[i].valid ? "true" : "false") + ": " +
                   a.dump();
    }
    const Json& got = answers[static_cast<std::size_t>(talk.roundTripGet())];
    const Json& set = answers[static_cast<std::size_t>(talk.roundTripSet())];
    const Json& again = answers[static_cast<std::size_t>(talk.roundTripGetAgain())];
    if (member(got, "result") != 0 || !member(got, "hex").is_string())
        return "the controls chunk could not be read: " + got.dump();
    if (member(set, "result") != 0)
        return "the controls chunk read back was refused: " + set.dump();
    if (member(again, "hex") != member(got, "hex") || member(again, "version") != member(got, "version"))
        return "the controls chunk read back, set and read again changed: " + got.dump() + " then " +
               again.dump();
    const Json& released = answers[static_cast<std::size_t>(talk.release())];
    if (member(released, "live") != 0)
        return "plug-in objects are alive after the release: " + released.dump();
    if (member(answers.back(), "live") != 0)
        return "plug-in objects are alive at the end: " + answers.back().dump();
    return {};
}

// The names of the host objects alive now that were not alive in `before`.
std::string newHostObjects(std::vector<std::string> before)
{
    std::string names;
    for (const std::string& name : aaxhost::HostObject::liveNames())
    {
        const auto known = std::find(before.begin(), before.end(), name);
        if (known != before.end())
            before.erase(known);
        else
            names += " " + name;
    }
    return names;
}

TEST(Conversations, RandomHostConversationsAreAnsweredAndLeaveACleanInstanceBehind)
{
    const std::uint64_t count = fromEnvironment("TAMBRIX_CONVERSATIONS", 300);
    const std::uint64_t first = fromEnvironment("TAMBRIX_CONVERSATION_SEED", 1);
    // The conversations draw every action of the script's table.
    EXPECT_EQ(HostConversation::actionsWithoutGenerator(), std::vector<std::string>{});
    installCrashReport();
    const int64_t hostObjectsBefore = aaxhost::HostObject::liveCount();
    {
        std::string error;
        auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
        ASSERT_NE(session, nullptr) << error;
        int64_t pulses = 0;
        const std::vector<float> clean = renderFixedTimeline(*session, &pulses);
        ASSERT_GT(pulses, 0);
        // What the session itself holds, once one instance has come and gone.
        const int64_t hostObjects = aaxhost::HostObject::liveCount();
        const std::vector<std::string> sessionObjects = aaxhost::HostObject::liveNames();
        std::cout << "Each conversation is written to " << TAMBRIX_CONVERSATION_LOG << " as it is played."
                  << std::endl;
        for (std::uint64_t seed = first; seed < first + count; ++seed)
        {
            HostConversation talk(seed);
            playing = &talk;
            std::ofstream log(TAMBRIX_CONVERSATION_LOG, std::ios::trunc);
            const std::vector<Json> answers = tambrix::test::playConversation(*session, talk, &log);
            std::string wrong = fault(talk, answers);
            if (wrong.empty() && aaxhost::HostObject::liveCount() != hostObjects)
                wrong = "the plug-in holds " +
                        std::to_string(aaxhost::HostObject::liveCount() - hostObjects) +
                        " host objects after the release:" + newHostObjects(sessionObjects);
            if (wrong.empty() && renderFixedTimeline(*session) != clean)
                wrong =
                    "a fresh instance renders the fixed timeline differently than before any conversation";
            playing = nullptr;
            ASSERT_TRUE(wrong.empty()) << "host conversation with seed " << seed << ": " << wrong
                                       << "\nIts script (save as FILE, replay with build/bin/aaxhost script "
                                          "build/tambrix.aaxplugin FILE, or run this seed alone with "
                                          "TAMBRIX_CONVERSATION_SEED="
                                       << seed << " TAMBRIX_CONVERSATIONS=1):\n"
                                       << talk.script();
        }
        EXPECT_EQ(session->close(), 0);
    }
    EXPECT_EQ(aaxhost::HostObject::liveCount(), hostObjectsBefore) << newHostObjects({});
}

} // namespace

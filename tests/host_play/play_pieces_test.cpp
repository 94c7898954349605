// The host's transport (against the render core's) and the algorithm instance,
// checked against a component described by hand and a process procedure of the
// test's own.
#include "aaxhost/AlgorithmInstance.h"
#include "aaxhost/CallRecorder.h"
#include "aaxhost/Transport.h"

#include "tambrix/render/TransportSimulation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace
{

TEST(Transport, ReportsTheBlockPositionAndMovesOnAtItsTempo)
{
    auto recorder = std::make_shared<aaxhost::CallRecorder>();
    auto transport = aaxhost::makeHost<aaxhost::Transport>(recorder, 48000.0);
    // Quarter note 2 at sample 96000, 120 bpm.
    transport->setPosition({true, 120.0, 2.0, 96000}, 96000);

    int64_t ticks = 0, sample = 0;
    EXPECT_EQ(transport->GetCurrentTickPosition(&ticks), 0);
    EXPECT_EQ(ticks, 1920000);
    EXPECT_EQ(transport->GetCurrentNativeSampleLocation(&sample), 0);
    EXPECT_EQ(sample, 96000);
    // 120 bpm at 48 kHz: 2 quarter notes a second, 40 ticks a sample.
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, 96100), 0);
    EXPECT_EQ(ticks, 1924000);
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, 95900), 0);
    EXPECT_EQ(ticks, 1916000);

    // Far-apart sample locations: the ticks saturate instead of overflowing.
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, std::numeric_limits<int64_t>::min()), 0);
    EXPECT_EQ(ticks, std::numeric_limits<int64_t>::min());
    transport->setPosition({true, 120.0, 2.0, std::numeric_limits<int64_t>::min() + 10}, 0);
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, std::numeric_limits<int64_t>::max()), 0);
    EXPECT_EQ(ticks, std::numeric_limits<int64_t>::max());

    // Stopped: the position stays where it is.
    transport->setPosition({false, 120.0, 2.0, 96000}, 96000);
    bool playing = true;
    EXPECT_EQ(transport->IsTransportPlaying(&playing), 0);
    EXPECT_FALSE(playing);
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, 200000), 0);
    EXPECT_EQ(ticks, 1920000);

    // Stopping by hand stays where the transport got to; playing again goes on from there.
    transport->setPosition({true, 120.0, 0.0, 0}, 0);
    transport->advance(48000);
    transport->setPlaying(false);
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, 0), 0);
    EXPECT_EQ(ticks, 1920000);
    transport->setPlaying(true);
    EXPECT_EQ(transport->GetCustomTickPosition(&ticks, 48000 + 24000), 0);
    EXPECT_EQ(ticks, 2880000);

    // No meter of the host's own: no bar position; null outputs refused.
    int32_t bars = -7, beats = -7;
    int64_t display = -7;
    EXPECT_EQ(transport->GetBarBeatPosition(&bars, &beats, &display, 0), aaxhost::kAaxErrorUnimplemented);
    EXPECT_EQ(bars, -7);
    EXPECT_EQ(transport->GetCurrentTempo(nullptr), aaxhost::hostresult::NullArgument);
}

// The render core's simulated transport and the host's transport report the same
// whole ticks at every block start, for any anchor, exact halves of a tick included.
TEST(Transport, CountsTicksAsTheRenderCoreDoesAtEveryBlockStart)
{
    std::mt19937_64 random(5);
    const auto uniform = [&random](double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    struct Case
    {
        double rate, bpm, ppq;
        int block;
    };
    std::vector<Case> cases{{48000, 97.3, 0.0, 14955}, // 485040.5 ticks, written as 97.3 bpm
                            {32000, 1.0, 0.0, 1},      // half a tick a sample
                            {48000, 97.5, 0.3, 441}};  // 32.5 ticks a sample
    for (int i = 0; i < 200; ++i)
        cases.push_back({uniform(1000, 768000), uniform(1e-3, 10000), uniform(-1e4, 1e4),
                         static_cast<int>(uniform(1, 5000))});
    for (const Case& c : cases)
    {
        tambrix::render::TransportSimulation simulation(c.rate, c.bpm, c.ppq);
        auto transport = aaxhost::makeHost<aaxhost::Transport>(nullptr, c.rate);
        std::vector<double> values;
        for (int64_t start = 0; start < 64 * int64_t{c.block}; start += c.block)
        {
            const tambrix::render::TransportPosition position = simulation.beginBlock(start, values);
            transport->setPosition(position.anchor, position.sample);
            int64_t ticks = 0;
            ASSERT_EQ(transport->GetCurrentTickPosition(&ticks), 0);
            ASSERT_EQ(ticks, position.hostTicks) << c.rate << " " << c.bpm << " " << c.ppq << " at " << start;
            ASSERT_EQ(transport->GetCustomTickPosition(&ticks, start + c.block), 0);
            ASSERT_EQ(ticks, tambrix::render::hostTicksAt(position.anchor, c.rate, start + c.block));
        }
    }
}

// A reader on another thread never sees half of an update: the anchor and the
// location it reads belong together, so the position at the location is always a
// whole quarter note, as every update sets it.
TEST(Transport, ReadsOneWholeUpdateWhileTheHostWrites)
{
    auto transport = aaxhost::makeHost<aaxhost::Transport>(nullptr, 48000.0);
    std::atomic<bool> done{false}, reading{false};
    std::thread host(
        [&]
        {
            while (!reading) // the reader is under way before the first update
                std::this_thread::yield();
            for (int64_t k = 0; k < 200000; ++k)
                transport->setPosition(
                    {true, 97.3 + static_cast<double>(k % 7), static_cast<double>(k), 512 * k}, 512 * k);
            done = true;
        });
    int64_t reads = 0, torn = 0;
    while (!done)
    {
        int64_t ticks = 0;
        transport->GetCurrentTickPosition(&ticks);
        torn += ticks % tambrix::render::hostTicksPerQuarterNote != 0 ? 1 : 0;
        ++reads;
        reading = true;
    }
    host.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(torn, 0) << "of " << reads;
}

// The test's process procedure: writes into each output channel its index + the
// port's float and the buffer length, so the test sees every field reach it, and
// counts the messages the MIDI input node holds during the block.
struct Seen
{
    int calls = 0;
    int32_t length = -1;
    uint32_t midi = 0;
};
Seen seen;

void testProcess(void* const* begin, const void* end)
{
    for (auto it = begin; it != end; ++it)
    {
        void* const* context = static_cast<void* const*>(*it);
        float* const* outputs = static_cast<float* const*>(context[1]);
        const int32_t length = *static_cast<const int32_t*>(context[2]);
        float port = 0.0f;
        std::memcpy(&port, context[3], 4);
        for (int ch = 0; ch < 2; ++ch)
            for (int32_t i = 0; i < length; ++i)
                outputs[ch][i] = static_cast<float>(ch) + port;
        ++seen.calls;
        seen.length = length;
        seen.midi = static_cast<aaxhost::IMidiNode*>(context[5])->GetNodeBuffer()->bufferSize;
    }
}

aaxhost::HostRef<aaxhost::HostComponentDescriptor> component(bool withProc = true)
{
    auto recorder = std::make_shared<aaxhost::CallRecorder>();
    auto c = aaxhost::makeHost<aaxhost::HostComponentDescriptor>(recorder);
    c->AddAudioIn(0);
    c->AddAudioOut(1);
    c->AddAudioBufferLength(2);
    c->AddDataInPort(3, 4, 1);
    c->AddMIDINode(5, 0, "in", 0xFFFF); // index 4 left unused
    c->AddPrivateData(6, 8, 0);
    if (withProc)
    {
        auto properties = aaxhost::makeHost<aaxhost::HostPropertyMap>(recorder);
        c->AddProcessProc_Native(&testProcess, properties->v3Interface(), nullptr, nullptr, nullptr);
    }
    return c;
}

TEST(AlgorithmInstance, LaysOutTheContextFromTheFields)
{
    std::string error;
    aaxhost::AlgorithmInstance::Layout layout;
    layout.inputChannels = 2;
    layout.outputChannels = 2;
    layout.maxBlock = 64;
    auto a = aaxhost::AlgorithmInstance::create(*component(), layout, &error);
    ASSERT_NE(a, nullptr) << error;
    ASSERT_EQ(a->fieldCount(), 7u);
    void* const* context = static_cast<void* const*>(a->context());
    EXPECT_EQ(context[4], nullptr);
    EXPECT_NE(context[6], nullptr);
    EXPECT_EQ(context[5], static_cast<aaxhost::IMidiNode*>(a->midiNode(5)));
    EXPECT_EQ(a->midiNode(5)->GetNodeBuffer()->bufferSize, 0u);

    const float half = 0.5f;
    EXPECT_EQ(a->deliver(3, &half, 4), aaxhost::AlgorithmInstance::Delivery::delivered);
    seen = {};
    ASSERT_TRUE(a->process(10));
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.length, 10);
    EXPECT_EQ(a->output(0)[9], 0.5f);
    EXPECT_EQ(a->output(1)[0], 1.5f);
    EXPECT_EQ(a->output(1)[10], 0.0f); // beyond the block: untouched, cleared

    const uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(a->deliver(3, eight, 8), aaxhost::AlgorithmInstance::Delivery::truncated);
    EXPECT_EQ(a->portData(3), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(a->deliver(1, eight, 4), aaxhost::AlgorithmInstance::Delivery::notAPort);
    const uint8_t two[2] = {9, 9};
    EXPECT_EQ(a->deliver(3, two, 2), aaxhost::AlgorithmInstance::Delivery::delivered);
    EXPECT_EQ(a->portData(3), (std::vector<uint8_t>{9, 9, 0, 0}));

    // Queued messages are the next processed block's, during and after it, and only its.
    aaxhost::MidiPacket note;
    note.length = 3;
    ASSERT_TRUE(a->midiNode(5)->queue(note));
    note.data[0] = 0x80;
    ASSERT_TRUE(a->midiNode(5)->queue(note));
    EXPECT_EQ(a->midiNode(5)->GetNodeBuffer()->bufferSize, 0u);
    ASSERT_TRUE(a->process(10));
    ASSERT_EQ(seen.midi, 2u);
    EXPECT_EQ(a->midiNode(5)->GetNodeBuffer()->buffer[1].data[0], 0x80);
    ASSERT_TRUE(a->process(10));
    EXPECT_EQ(seen.midi, 0u);
    EXPECT_EQ(a->midiNode(5)->GetNodeBuffer()->bufferSize, 0u);
    aaxhost::MidiNode one(aaxhost::kMidiNodeLocalInput, 1);
    EXPECT_TRUE(one.queue(note));
    EXPECT_FALSE(one.queue(note));

    EXPECT_FALSE(a->process(65));
    EXPECT_FALSE(a->process(-1));
    EXPECT_TRUE(a->process(0));
}

TEST(AlgorithmInstance, RefusesWhatItCannotRun)
{
    std::string error;
    aaxhost::AlgorithmInstance::Layout layout;
    EXPECT_EQ(aaxhost::AlgorithmInstance::create(*component(false), layout, &error), nullptr);
    EXPECT_NE(error.find("process procedure"), std::string::npos) << error;

    auto sideChain = component();
    sideChain->AddSideChainIn(9);
    EXPECT_EQ(aaxhost::AlgorithmInstance::create(*sideChain, layout, &error), nullptr);
    EXPECT_NE(error.find("AddSideChainIn"), std::string::npos) << error;

    auto twice = component();
    twice->AddPrivateData(3, 4, 0);
    EXPECT_EQ(aaxhost::AlgorithmInstance::create(*twice, layout, &error), nullptr);
    EXPECT_NE(error.find("twice"), std::string::npos) << error;

    auto huge = component();
    huge->AddPrivateData(2000, 4, 0);
    EXPECT_EQ(aaxhost::AlgorithmInstance::create(*huge, layout, &error), nullptr);

    layout.maxBlock = 0;
    EXPECT_EQ(aaxhost::AlgorithmInstance::create(*component(), layout, &error), nullptr);
}

} // namespace

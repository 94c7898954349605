// Cost of one playing 1024-sample stereo block through the whole AAX path (the
// host's audio cycle: requests, GenerateCoefficients, transport, the bundle's
// process procedure, JUCE's wrapper, processBlock), beside processBlock alone and
// beside a plain clear of the buffer. BM_AaxPathRatios reports the ratios; the
// cost of GenerateCoefficients with nothing dirty is measured on its own.
#include "BundlePlay.h"
#include "MetronaAudioProcessor.h"
#include "manual_play_head.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace
{

constexpr int kBlock = 1024;
constexpr int kChannels = 2;
constexpr double kRate = 48000.0;
constexpr double kQuarterNotesPerBlock = kBlock * 120.0 / (60.0 * kRate);

// One effect instance of the bundle, playing at 120 bpm.
struct AaxPath
{
    std::unique_ptr<aaxhost::PluginSession> session;
    std::unique_ptr<aaxhost::EffectInstance> instance;
    const tambrix::render::TransportAnchor anchor{true, 120.0, 0.0, 0};
    int64_t sample = 0;

    AaxPath()
    {
        std::string error;
        session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
        if (!session)
            throw std::runtime_error(error);
        aaxhost::EffectInstance::Setup setup;
        setup.channels = kChannels;
        setup.sampleRate = kRate;
        setup.maxBlock = kBlock;
        instance = aaxhost::EffectInstance::create(*session, setup, &error);
        if (!instance)
            throw std::runtime_error(error);
    }

    ~AaxPath()
    {
        instance.reset();
        session->close();
    }

    void block()
    {
        instance->runBlock(anchor, sample, kBlock);
        sample += kBlock;
    }
};

struct Direct
{
    MetronaAudioProcessor processor;
    tambrix::test::ManualPlayHead head;
    juce::AudioBuffer<float> buffer{kChannels, kBlock};
    juce::MidiBuffer midi;

    Direct()
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add(juce::AudioChannelSet::stereo());
        layout.outputBuses.add(juce::AudioChannelSet::stereo());
        processor.setBusesLayout(layout);
        processor.setRateAndBufferSizeDetails(kRate, kBlock);
        processor.prepareToPlay(kRate, kBlock);
        processor.setPlayHead(&head);
    }

    void block()
    {
        processor.processBlock(buffer, midi);
        head.ppq = *head.ppq + kQuarterNotesPerBlock;
    }

    void clear()
    {
        for (int ch = 0; ch < kChannels; ++ch)
            std::memset(buffer.getWritePointer(ch), 0, sizeof(float) * kBlock);
        benchmark::ClobberMemory();
    }
};

void BM_AaxPathBlock(benchmark::State& state)
{
    AaxPath path;
    for (auto _ : state)
        path.block();
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_AaxPathBlock);

void BM_ProcessBlockAlone(benchmark::State& state)
{
    Direct direct;
    for (auto _ : state)
        direct.block();
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_ProcessBlockAlone);

void BM_BufferClear(benchmark::State& state)
{
    Direct direct;
    for (auto _ : state)
        direct.clear();
}
BENCHMARK(BM_BufferClear);

void BM_GenerateCoefficientsNothingDirty(benchmark::State& state)
{
    AaxPath path;
    path.instance->generateCoefficients(); // the first call posts the bypass packet
    path.instance->takePacketLog();
    aaxhost::IEffectParameters& effect = path.instance->effect();
    for (auto _ : state)
        benchmark::DoNotOptimize(effect.GenerateCoefficients());
}
BENCHMARK(BM_GenerateCoefficientsNothingDirty);

// Times `op` over `rounds` runs; nanoseconds per run.
template <class Op>
double nanosPerRun(Op&& op, int rounds)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        op();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::nano>(elapsed).count() / rounds;
}

// The three costs measured side by side in one run, reported as ratios.
void BM_AaxPathRatios(benchmark::State& state)
{
    AaxPath path;
    Direct direct;
    constexpr int rounds = 2000;
    double aax = 0.0, alone = 0.0, clear = 0.0;
    for (auto _ : state)
    {
        aax = nanosPerRun([&path] { path.block(); }, rounds);
        alone = nanosPerRun([&direct] { direct.block(); }, rounds);
        clear = nanosPerRun([&direct] { direct.clear(); }, rounds);
    }
    state.counters["aax_over_processBlock"] = aax / alone;
    state.counters["aax_over_clear"] = aax / clear;
    state.counters["processBlock_over_clear"] = alone / clear;
}
BENCHMARK(BM_AaxPathRatios)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

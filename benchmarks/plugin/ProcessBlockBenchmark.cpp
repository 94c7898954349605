// Cost of rendering a playing block of 1024 samples on 2 channels, beside a plain
// clear of the same buffer; BM_ProcessBlockOverClear reports the ratio of the two.

#include "MetronaAudioProcessor.h"
#include "manual_play_head.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace
{

constexpr int blockSize = 1024;
constexpr int channels = 2;
constexpr double rate = 48000.0;

struct Fixture
{
    std::unique_ptr<MetronaAudioProcessor> processor = std::make_unique<MetronaAudioProcessor>();
    tambrix::test::ManualPlayHead head;
    juce::AudioBuffer<float> buffer{channels, blockSize};
    juce::MidiBuffer midi;

    Fixture()
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add(juce::AudioChannelSet::stereo());
        layout.outputBuses.add(juce::AudioChannelSet::stereo());
        processor->setBusesLayout(layout);
        processor->setRateAndBufferSizeDetails(rate, blockSize);
        processor->prepareToPlay(rate, blockSize);
        processor->setPlayHead(&head);
    }

    void process()
    {
        processor->processBlock(buffer, midi);
        head.ppq = *head.ppq + blockSize * 120.0 / (60.0 * rate);
    }

    void clear()
    {
        for (int ch = 0; ch < channels; ++ch)
            juce::FloatVectorOperations::clear(buffer.getWritePointer(ch), blockSize);
    }
};

void BM_ProcessBlock(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
    {
        f.process();
        benchmark::DoNotOptimize(f.buffer.getReadPointer(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}
BENCHMARK(BM_ProcessBlock);

void BM_ClearBuffer(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
    {
        f.clear();
        benchmark::DoNotOptimize(f.buffer.getReadPointer(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}
BENCHMARK(BM_ClearBuffer);

// Times batches of both operations in turn and reports processBlock / clear.
void BM_ProcessBlockOverClear(benchmark::State& state)
{
    using clock = std::chrono::steady_clock;
    constexpr int batch = 64;
    Fixture f;
    clock::duration processTime{}, clearTime{};
    for (auto _ : state)
    {
        const auto t0 = clock::now();
        for (int i = 0; i < batch; ++i)
        {
            f.process();
            benchmark::ClobberMemory();
        }
        const auto t1 = clock::now();
        for (int i = 0; i < batch; ++i)
        {
            f.clear();
            benchmark::ClobberMemory();
        }
        const auto t2 = clock::now();
        processTime += t1 - t0;
        clearTime += t2 - t1;
    }
    const double clearNs = std::chrono::duration<double, std::nano>(clearTime).count();
    const double processNs = std::chrono::duration<double, std::nano>(processTime).count();
    state.counters["ratio"] = clearNs > 0.0 ? processNs / clearNs : 0.0;
    state.counters["process_ns"] = processNs / (static_cast<double>(state.iterations()) * batch);
    state.counters["clear_ns"] = clearNs / (static_cast<double>(state.iterations()) * batch);
}
BENCHMARK(BM_ProcessBlockOverClear);

} // namespace

BENCHMARK_MAIN();

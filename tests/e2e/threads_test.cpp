// The threads of a running plug-in together, for ThreadSanitizer (build with
// -DTAMBRIX_SANITIZE=thread; see test.sh) and as a stress test otherwise:
//  - through the bundle: the audio cycle (requests, coefficients, process
//    procedure), host updates of both parameters, chunk saves and restores of the
//    framework's state, and the GUI opened and closed on the main thread;
//  - on the processor and its editor: processBlock, host parameter changes,
//    state saves and restores, and the editor's timer on the message thread.
#include "BundlePlay.h"
#include "MetronaAudioProcessor.h"
#include "MetronaEditor.h"
#include "manual_play_head.h"

#include "aaxhost/ChunkRecord.h"
#include "aaxhost/GuiDriver.h"
#include "tambrix/text/FourChar.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{

constexpr uint32_t kJuceChunk = *tambrix::text::fourCharCode("juce");
constexpr uint32_t kControlsChunk = *tambrix::text::fourCharCode("elck");

TEST(Threads, AudioUpdatesChunksAndGuiThroughTheBundle)
{
    std::string error;
    auto session = aaxhost::PluginSession::open(TAMBRIX_BUNDLE, &error);
    ASSERT_NE(session, nullptr) << error;
    {
        aaxhost::EffectInstance::Setup setup;
        auto instance = aaxhost::EffectInstance::create(*session, setup, &error);
        ASSERT_NE(instance, nullptr) << error;
        aaxhost::IEffectParameters& effect = instance->effect();
        std::atomic<bool> done{false};

        std::thread audio(
            [&]
            {
                const tambrix::render::TransportAnchor playing{true, 120.0, 0.0, 0};
                for (int block = 0; block < 400; ++block)
                    instance->runBlock(playing, block * 512, 512);
                done = true;
            });
        std::thread updates(
            [&]
            {
                for (int i = 0; !done; ++i)
                {
                    instance->driver().update("0", (i % 30) / 30.0);
                    instance->driver().update("MasterBypassID", (i % 7) == 0 ? 1.0 : 0.0);
                    std::this_thread::yield();
                }
            });
        std::thread chunks(
            [&]
            {
                while (!done)
                {
                    for (const uint32_t id : {kJuceChunk, kControlsChunk})
                    {
                        uint32_t size = 0;
                        if (effect.GetChunkSize(id, &size) != 0 || size > 4096)
                            continue;
                        aaxhost::ChunkRecord record(id, std::vector<uint8_t>(size), 0);
                        if (effect.GetChunk(id, record.get()) == 0 && id == kJuceChunk)
                            effect.SetChunk(id, record.get());
                    }
                    std::this_thread::yield();
                }
            });

        // The main thread opens and closes the editor meanwhile.
        std::string guiError;
        const std::unique_ptr<aaxhost::GuiDriver> gui = instance->openGui(&guiError);
        ASSERT_NE(gui, nullptr) << guiError;
        while (!done)
        {
            gui->setViewContainer(gui->newViewContainer(aaxhost::kViewTypeNSView, nullptr));
            gui->removeViewContainer();
            std::this_thread::yield();
        }
        audio.join();
        updates.join();
        chunks.join();
        instance->deliverRequests();
    }
    EXPECT_EQ(session->close(), 0);
}

TEST(Threads, ProcessorAndEditorTimer)
{
    juce::ScopedJuceInitialiser_GUI juce; // this thread is the message thread
    MetronaAudioProcessor processor;
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(juce::AudioChannelSet::stereo());
    layout.outputBuses.add(juce::AudioChannelSet::stereo());
    ASSERT_TRUE(processor.setBusesLayout(layout));
    processor.setRateAndBufferSizeDetails(48000.0, 512);
    processor.prepareToPlay(48000.0, 512);

    tambrix::test::ManualPlayHead head;
    processor.setPlayHead(&head);
    std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditor());
    ASSERT_NE(editor, nullptr);
    auto* timer = dynamic_cast<juce::Timer*>(editor.get());
    ASSERT_NE(timer, nullptr);
    timer->stopTimer(); // driven by hand below, on this thread

    std::atomic<bool> done{false};
    std::thread audio(
        [&]
        {
            juce::AudioBuffer<float> buffer(2, 512);
            juce::MidiBuffer midi;
            for (int block = 0; block < 400; ++block)
            {
                const juce::ScopedLock lock(processor.getCallbackLock());
                processor.processBlock(buffer, midi);
                head.ppq = *head.ppq + 512 * 120.0 / (60.0 * 48000.0);
            }
            done = true;
        });
    std::thread host(
        [&]
        {
            JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
            for (int i = 0; !done; ++i)
                processor.setParameter(0, static_cast<float>(i % 31) / 30.0f);
            JUCE_END_IGNORE_WARNINGS_GCC_LIKE
        });
    std::thread state(
        [&]
        {
            juce::MemoryBlock block;
            while (!done)
            {
                processor.getStateInformation(block);
                processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
            }
        });
    while (!done)
        timer->timerCallback();
    audio.join();
    host.join();
    state.join();
    timer->timerCallback();
    editor.reset();
    processor.setPlayHead(nullptr);
}

} // namespace

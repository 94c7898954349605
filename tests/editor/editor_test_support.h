#pragma once

#include "MetronaAudioProcessor.h"
#include "MetronaEditor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace juce
{
// One step of JUCE's message loop on Linux, the step MessageManager::runDispatchLoopUntil repeats
// (that wrapper is compiled out with JUCE_MODAL_LOOPS_PERMITTED=0): dispatches a pending message or
// timer callback and returns false when nothing was pending.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace tambrix::test
{
// Runs the message loop until done() holds or timeoutMs have passed; returns done().
inline bool runUntil(const std::function<bool()>& done, juce::uint32 timeoutMs = 5000)
{
    const auto end = juce::Time::getMillisecondCounter() + timeoutMs;
    while (!done())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(1);
    }
    return true;
}

// Runs the message loop for a while (longer than a timer period when something must NOT happen).
inline void runFor(juce::uint32 milliseconds)
{
    runUntil([] { return false; }, milliseconds);
}

// Stands in for the host: records what the editor sends through setParameterNotifyingHost.
struct HostRecorder : juce::AudioProcessorListener
{
    std::vector<float> values;
    int otherParameterCalls = 0;

    void audioProcessorParameterChanged(juce::AudioProcessor*, int parameterIndex, float newValue) override
    {
        if (parameterIndex == 0)
            values.push_back(newValue);
        else
            ++otherParameterCalls;
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
};

template <typename ComponentType>
ComponentType* findChild(juce::Component& parent, const juce::String& name)
{
    for (auto* child : parent.getChildren())
        if (child->getName() == name)
            if (auto* typed = dynamic_cast<ComponentType*>(child))
                return typed;
    return nullptr;
}

// A processor with the host's recorder attached, and its editor once opened.
class EditorFixture
{
public:
    EditorFixture() { processor.addListener(&host); }
    ~EditorFixture()
    {
        editor.reset();
        processor.removeListener(&host);
    }

    // Opens the editor as the framework's wrapper does, through createEditorIfNeeded.
    MetronaEditor& open()
    {
        processor.parameterChanged = false;
        auto* made = processor.createEditorIfNeeded();
        editor.reset(dynamic_cast<MetronaEditor*>(made));
        if (editor == nullptr)
            delete made;
        return *editor;
    }

    juce::ComboBox& box() { return *findChild<juce::ComboBox>(*editor, "Time Signature"); }

    // The index 0..255 through the state bytes, as a host restoring a session sets it.
    void restoreIndex(unsigned char index)
    {
        const unsigned char state[2] = {index, 0};
        processor.setStateInformation(state, 2);
    }

    std::uint32_t index() const { return processor.timeSignatureIndex.load(); }

    MetronaAudioProcessor processor;
    HostRecorder host;
    std::unique_ptr<MetronaEditor> editor;
};

inline float valueOfId(int id)
{
    return static_cast<float>(id) / 30.0f;
}
} // namespace tambrix::test

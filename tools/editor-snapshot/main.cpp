// Paints the plug-in's editor, as it opens on a processor with its default settings, into a PNG.
//
//     tambrix-editor-snapshot [--out editor.png]
#include "MetronaAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace juce
{
// One step of JUCE's own message loop on Linux (what MessageManager::runDispatchLoopUntil runs, which
// the build leaves out with JUCE_MODAL_LOOPS_PERMITTED=0): dispatches one pending message or timer
// callback; returns false when nothing was pending.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
void runMessageLoopFor(juce::uint32 milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + milliseconds;
    do
    {
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(1);
    } while (juce::Time::getMillisecondCounter() < end);
}
} // namespace

int main(int argc, char** argv)
{
    const char* outPath = "editor.png";
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
        {
            outPath = argv[++i];
        }
        else
        {
            std::fprintf(stderr, "usage: %s [--out editor.png]\n", argv[0]);
            return 2;
        }
    }

    juce::ScopedJuceInitialiser_GUI gui;
    juce::Image snapshot;
    {
        MetronaAudioProcessor processor;
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditorIfNeeded());
        if (editor == nullptr)
        {
            std::fprintf(stderr, "the processor made no editor\n");
            return 1;
        }
        // Let the editor's opening change notice run, as it would in a host.
        runMessageLoopFor(50);
        snapshot = editor->createComponentSnapshot(editor->getLocalBounds(), true, 1.0f);
    }

    const juce::File target = juce::File::getCurrentWorkingDirectory().getChildFile(outPath);
    target.deleteFile();
    juce::FileOutputStream out(target);
    juce::PNGImageFormat png;
    if (!out.openedOk() || !png.writeImageToStream(snapshot, out))
    {
        std::fprintf(stderr, "cannot write %s\n", outPath);
        return 1;
    }
    std::printf("wrote %s (%dx%d)\n", target.getFullPathName().toRawUTF8(), snapshot.getWidth(),
                snapshot.getHeight());
    return 0;
}

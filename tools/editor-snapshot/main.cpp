// Paints the plug-in's editor, as it opens on a processor with its default settings, into a PNG.
//
//     tambrix-editor-snapshot [--out editor.png|-]
#include "MetronaAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "tambrix/io/Output.h"
#include "tambrix/text/Words.h"

#include <iostream>
#include <memory>
#include <string>

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

int paint(const std::string& outPath)
{
    tambrix::io::OutputFile output;
    if (!output.open(outPath))
    {
        std::cerr << "tambrix-editor-snapshot: " << output.error() << "\n";
        return tambrix::io::exitUsage;
    }

    juce::ScopedJuceInitialiser_GUI gui;
    juce::Image snapshot;
    {
        MetronaAudioProcessor processor;
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditorIfNeeded());
        if (editor == nullptr)
        {
            std::cerr << "tambrix-editor-snapshot: the processor made no editor\n";
            return tambrix::io::exitFailure;
        }
        // Let the editor's opening change notice run, as it would in a host.
        runMessageLoopFor(50);
        snapshot = editor->createComponentSnapshot(editor->getLocalBounds(), true, 1.0f);
    }

    juce::MemoryOutputStream png;
    if (!juce::PNGImageFormat().writeImageToStream(snapshot, png))
    {
        std::cerr << "tambrix-editor-snapshot: the image could not be encoded as PNG\n";
        return tambrix::io::exitFailure;
    }
    if (!output.write(png.getData(), png.getDataSize()) || !output.commit())
    {
        std::cerr << "tambrix-editor-snapshot: " << output.error() << "\n";
        return tambrix::io::exitFailure;
    }
    (output.isStandardOutput() ? std::cerr : std::cout)
        << "wrote " << (output.isStandardOutput() ? "standard output" : tambrix::text::printablePath(outPath))
        << " (" << snapshot.getWidth() << "x" << snapshot.getHeight() << ")\n";
    return tambrix::io::exitSuccess;
}

int run(int argc, char** argv)
{
    const char* const usage =
        "usage: tambrix-editor-snapshot [--out FILE]\n"
        "Paints the plug-in's editor into a PNG image: FILE, default editor.png, or - for "
        "standard output.\n";
    std::string outPath = "editor.png";
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
        {
            std::cout << usage;
            return tambrix::io::exitSuccess;
        }
        if (arg == "--out" && i + 1 < argc)
        {
            outPath = argv[++i];
            continue;
        }
        std::cerr << "tambrix-editor-snapshot: "
                  << (arg == "--out" ? "option --out needs a value"
                                     : "unknown argument '" + tambrix::text::printable(arg) + "'")
                  << "\n"
                  << usage;
        return tambrix::io::exitUsage;
    }
    return paint(outPath);
}

} // namespace

int main(int argc, char** argv)
{
    return tambrix::io::runTool("tambrix-editor-snapshot", argc, argv, run);
}

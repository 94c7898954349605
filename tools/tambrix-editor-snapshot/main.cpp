// Paints the plug-in's editor, as it opens on a processor with its default settings, into a PNG.
//
//     tambrix-editor-snapshot [--out editor.png|-]
#include "MetronaAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "tambrix/io/Output.h"
#include "tambrix/text/Words.h"

#include <algorithm>
#include <iostream>
#include <new>
#include <memory>
#include <string>
#include <vector>

namespace juce
{
// One step of JUCE's own message loop on Linux (what MessageManager::runDispatchLoopUntil runs, which
// the build leaves out with JUCE_MODAL_LOOPS_PERMITTED=0): dispatches one pending message or timer
// callback; returns false when nothing was pending.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
const char* const kTool = "tambrix-editor-snapshot";

void runMessageLoopFor(juce::uint32 milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + milliseconds;
    do
    {
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(1);
    } while (juce::Time::getMillisecondCounter() < end);
}

// Whether the typeface the editor writes its text in can be read: without its
// font files (none installed, or too few file descriptors left to open them) the
// picture would have no text.
bool textCanBeDrawn()
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText(juce::Font(15.0f, juce::Font::plain), "Time Signature", 0.0f, 0.0f);
    juce::Path outline;
    glyphs.createPath(outline);
    return !outline.isEmpty();
}

int paint(const std::string& outPath)
{
    tambrix::io::OutputFile output;
    if (!output.check(outPath))
    {
        std::cerr << kTool << ": " << output.error() << "\n";
        return tambrix::io::exitUsage;
    }
    tambrix::io::requireRoomForTheEditor();
    juce::ScopedJuceInitialiser_GUI gui;
    juce::Image snapshot;
    {
        MetronaAudioProcessor processor;
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditorIfNeeded());
        if (editor == nullptr)
        {
            std::cerr << kTool << ": the processor made no editor\n";
            return tambrix::io::exitFailure;
        }
        // Let the editor's opening change notice run, as it would in a host.
        runMessageLoopFor(50);
        snapshot = editor->createComponentSnapshot(editor->getLocalBounds(), true, 1.0f);
    }
    if (!textCanBeDrawn())
    {
        std::cerr << kTool << ": the editor's text cannot be drawn: no font could be read\n";
        return tambrix::io::exitFailure;
    }

    juce::MemoryOutputStream png;
    if (!juce::PNGImageFormat().writeImageToStream(snapshot, png))
    {
        std::cerr << kTool << ": the image could not be encoded as PNG\n";
        return tambrix::io::exitFailure;
    }
    // Checked already: what fails now fails while running.
    tambrix::io::endIfMemoryRanOut();
    if (!output.open(outPath) || !output.write(png.getData(), png.getDataSize()) || !output.commit())
    {
        std::cerr << kTool << ": " << output.error() << "\n";
        return tambrix::io::exitFailure;
    }
    (output.isStandardOutput() ? std::cerr : std::cout)
        << "wrote " << (outPath == "-" ? "standard output" : tambrix::text::printablePath(outPath)) << " ("
        << snapshot.getWidth() << "x" << snapshot.getHeight() << ")\n";
    return tambrix::io::exitSuccess;
}

int run(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string outPath = "editor.png";
    std::string refusal;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (tambrix::io::isHelp(args[i]))
        {
            std::cout << "usage: " << kTool << " [--out FILE]\n"
                      << "Paints the plug-in's editor into a PNG image: FILE, default editor.png, or - for "
                         "standard output. Says what it wrote on standard output (on standard error when "
                         "the image goes to standard output).\n";
            return tambrix::io::exitSuccess;
        }
        // The first refusal is the one reported, unless the usage is asked for anywhere;
        // --out takes its value all the same.
        std::string problem;
        if (args[i].rfind("--out=", 0) == 0)
            outPath = args[i].substr(6);
        else if (args[i] == "--out" && i + 1 < args.size())
            outPath = args[++i];
        else if (args[i] == "--out")
            problem = "option --out needs a value";
        else
            problem = "unknown argument '" + tambrix::text::printable(args[i]) + "'";
        if (problem.empty() && outPath.empty())
            problem = "--out needs a file name";
        if (refusal.empty())
            refusal = problem;
    }
    if (!refusal.empty())
        return tambrix::io::usageError(std::cerr, kTool, refusal);
    return paint(outPath);
}

} // namespace

int main(int argc, char** argv)
{
    return tambrix::io::runTool(kTool, argc, argv, run);
}

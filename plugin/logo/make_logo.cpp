// Draws the editor's logo and writes it as a baseline JFIF JPEG (150 by 150 pixels, three
// components, chroma subsampled 2 by 2: the defaults of JUCE's JPEG writer over the system libjpeg).
//
//     tambrix-logo-gen <output.jpg>
//
// The picture: a metronome on the left and a clock pulse train (an accented downbeat, then three
// beats) on the right, light on dark blue. The editor's grey band covers rows 96 and below, so
// everything that should show lies above that.
#include <juce_graphics/juce_graphics.h>

#include <cstdio>

namespace
{
const juce::Colour background{0xff1b2a41};
const juce::Colour body{0xfff2a541};
const juce::Colour pulses{0xfff4f1e8};

juce::Image drawLogo()
{
    juce::Image image(juce::Image::RGB, 150, 150, true);
    juce::Graphics g(image);
    g.fillAll(background);

    // Metronome: a trapezoid body with its pendulum swung to the right.
    juce::Path metronome;
    metronome.startNewSubPath(14.0f, 86.0f);
    metronome.lineTo(62.0f, 86.0f);
    metronome.lineTo(44.0f, 14.0f);
    metronome.lineTo(32.0f, 14.0f);
    metronome.closeSubPath();
    g.setColour(body);
    g.fillPath(metronome);

    g.setColour(background);
    g.drawLine(38.0f, 78.0f, 52.0f, 26.0f, 3.0f);
    g.fillRect(juce::Rectangle<float>(42.0f, 40.0f, 10.0f, 7.0f));
    g.fillEllipse(33.0f, 73.0f, 10.0f, 10.0f);

    // Pulse train on a base line: the first pulse (the downbeat) stands taller.
    juce::Path train;
    const float base = 70.0f;
    train.startNewSubPath(68.0f, base);
    const float pulseX[] = {74.0f, 92.0f, 110.0f, 128.0f};
    for (int i = 0; i < 4; ++i)
    {
        const float top = i == 0 ? 22.0f : 40.0f;
        train.lineTo(pulseX[i], base);
        train.lineTo(pulseX[i], top);
        train.lineTo(pulseX[i] + 6.0f, top);
        train.lineTo(pulseX[i] + 6.0f, base);
    }
    train.lineTo(140.0f, base);
    g.setColour(pulses);
    g.strokePath(train,
                 juce::PathStrokeType(3.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::square));
    return image;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <output.jpg>\n", argv[0]);
        return 2;
    }

    const juce::File target = juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]);
    target.deleteFile();
    juce::FileOutputStream out(target);
    if (!out.openedOk())
    {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }

    juce::JPEGImageFormat jpeg;
    jpeg.setQuality(0.85f);
    if (!jpeg.writeImageToStream(drawLogo(), out))
    {
        std::fprintf(stderr, "JPEG encoding failed\n");
        return 1;
    }
    return 0;
}

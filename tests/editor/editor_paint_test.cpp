// The editor painted into an image, and the logo it embeds.
#include "editor_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace tambrix::test;

namespace
{
bool near(juce::Colour actual, juce::Colour expected, int tolerance)
{
    return std::abs(actual.getRed() - expected.getRed()) <= tolerance &&
           std::abs(actual.getGreen() - expected.getGreen()) <= tolerance &&
           std::abs(actual.getBlue() - expected.getBlue()) <= tolerance;
}

TEST(MetronaEditorPaintTest, SnapshotShowsBackgroundBandAndLogo)
{
    EditorFixture f;
    auto& editor = f.open();
    const auto image = editor.createComponentSnapshot(editor.getLocalBounds(), true, 1.0f);
    ASSERT_EQ(image.getWidth(), 150);
    ASSERT_EQ(image.getHeight(), 174);

    // White where nothing is drawn: below the band, left of the link and right of the version text.
    for (const auto& p : {juce::Point<int>(3, 155), juce::Point<int>(3, 172), juce::Point<int>(148, 155)})
        EXPECT_EQ(image.getPixelAt(p.x, p.y).getARGB(), 0xffffffffu) << p.toString();

    // The light grey band (rows 96..153) where no control lies on it.
    for (const auto& p : {juce::Point<int>(5, 97), juce::Point<int>(5, 153), juce::Point<int>(130, 130),
                          juce::Point<int>(0, 120), juce::Point<int>(149, 146)})
        EXPECT_EQ(image.getPixelAt(p.x, p.y).getARGB(), 0xffd3d3d3u) << p.toString();

    // The logo, drawn 1:1 into the top 150 by 150: its dark blue ground and the metronome's body.
    EXPECT_TRUE(near(image.getPixelAt(3, 3), juce::Colour(0xff1b2a41), 12));
    EXPECT_TRUE(near(image.getPixelAt(146, 92), juce::Colour(0xff1b2a41), 12));
    EXPECT_TRUE(near(image.getPixelAt(24, 80), juce::Colour(0xfff2a541), 20));

    // Below the band: the link's text in a plain font of height 10, left in its bounds less a pixel
    // each side and centred vertically, and "v1.0.7" at height 10 in (114, 140, 150, 50).
    auto* link = findChild<juce::HyperlinkButton>(editor, "Jelv Ondrabau");
    ASSERT_NE(link, nullptr);
    juce::Image expected(juce::Image::ARGB, 150, 174, true);
    {
        juce::Graphics g(expected);
        g.fillAll(juce::Colours::white);
        g.setColour(link->findColour(juce::HyperlinkButton::textColourId));
        g.setFont(juce::Font(10.0f, juce::Font::plain));
        g.drawText("Jelv Ondrabau", juce::Rectangle<int>(11, 155, 103, 20),
                   juce::Justification::left | juce::Justification::verticallyCentred, true);
        g.setColour(juce::Colours::black);
        g.setFont(10.0f);
        g.drawText("v1.0.7", juce::Rectangle<float>(114.0f, 140.0f, 150.0f, 50.0f), juce::Justification::left,
                   true);
    }
    for (int y = 154; y < 174; ++y)
        for (int x = 0; x < 150; ++x)
            ASSERT_EQ(image.getPixelAt(x, y).getARGB(), expected.getPixelAt(x, y).getARGB())
                << x << ", " << y;
}

// Reads the JPEG's markers up to the first scan.
struct JpegLayout
{
    bool startsWithSoi = false, endsWithEoi = false, jfif = false, baseline = false, progressive = false;
    int width = 0, height = 0, components = 0, precision = 0;
    int sampling[3] = {};
};

JpegLayout readJpegLayout(const unsigned char* data, int size)
{
    JpegLayout layout;
    layout.startsWithSoi = size >= 4 && data[0] == 0xff && data[1] == 0xd8;
    layout.endsWithEoi = size >= 4 && data[size - 2] == 0xff && data[size - 1] == 0xd9;
    int at = 2;
    while (layout.startsWithSoi && at + 4 <= size && data[at] == 0xff)
    {
        const int marker = data[at + 1];
        const int length = (data[at + 2] << 8) | data[at + 3];
        const unsigned char* body = data + at + 4;
        if (at + 2 + length > size)
            break;
        if (marker == 0xe0 && length >= 7)
            layout.jfif = std::memcmp(body, "JFIF\0", 5) == 0;
        if (marker == 0xc0 || marker == 0xc2)
        {
            layout.baseline = marker == 0xc0;
            layout.progressive = marker == 0xc2;
            layout.precision = body[0];
            layout.height = (body[1] << 8) | body[2];
            layout.width = (body[3] << 8) | body[4];
            layout.components = body[5];
            for (int c = 0; c < 3 && c < layout.components && 6 + 3 * c + 1 < length - 2; ++c)
                layout.sampling[c] = body[6 + 3 * c + 1];
        }
        if (marker == 0xda)
            break;
        at += 2 + length;
    }
    return layout;
}

TEST(MetronaEditorPaintTest, LogoIsABaselineJfifOf150By150WithSubsampledChroma)
{
    const auto layout =
        readJpegLayout(resource_MetronaEditor_plugin_logo_jpg, resource_MetronaEditor_plugin_logo_jpgSize);
    EXPECT_TRUE(layout.startsWithSoi);
    EXPECT_TRUE(layout.endsWithEoi); // the length covers the whole file
    EXPECT_TRUE(layout.jfif);
    EXPECT_TRUE(layout.baseline);
    EXPECT_FALSE(layout.progressive);
    EXPECT_EQ(layout.precision, 8);
    EXPECT_EQ(layout.width, 150);
    EXPECT_EQ(layout.height, 150);
    EXPECT_EQ(layout.components, 3);
    EXPECT_EQ(layout.sampling[0], 0x22); // luma 2 by 2, both chroma components 1 by 1
    EXPECT_EQ(layout.sampling[1], 0x11);
    EXPECT_EQ(layout.sampling[2], 0x11);

    const auto decoded = juce::ImageCache::getFromMemory(resource_MetronaEditor_plugin_logo_jpg,
                                                         resource_MetronaEditor_plugin_logo_jpgSize);
    ASSERT_TRUE(decoded.isValid());
    EXPECT_EQ(decoded.getWidth(), 150);
    EXPECT_EQ(decoded.getHeight(), 150);
}
} // namespace

// The editor on a real processor: what the box shows, what it sends to the host and when.
#include "editor_test_support.h"

#include <gtest/gtest.h>

#include <thread>

using namespace tambrix::test;

namespace
{
const char* const expectedItemTexts[30] = {
    " 3/8", " 4/8", " 5/8", " 6/8", " 7/8", " 8/8", " 9/8", "10/8", "11/8", "12/8",
    "13/8", "14/8", "15/8", "16/8", "17/8", "18/8", "19/8", "20/8", "21/8", "22/8",
    "23/8", "24/8", "25/8", "26/8", "27/8", "28/8", "29/8", "30/8", "31/8", "32/8",
};

TEST(MetronaEditorTest, ControlsAndLayout)
{
    EditorFixture f;
    auto& editor = f.open();

    EXPECT_EQ(editor.getWidth(), 150);
    EXPECT_EQ(editor.getHeight(), 174);
    EXPECT_FALSE(editor.isResizable());
    ASSERT_EQ(editor.getNumChildComponents(), 3);
    // The refresh polls every 200 ms; the message-loop tests below wait far longer than that,
    // so they alone would not notice a slower period.
    EXPECT_TRUE(editor.isTimerRunning());
    EXPECT_EQ(editor.getTimerInterval(), 200);

    auto& box = f.box();
    EXPECT_EQ(box.getBounds(), juce::Rectangle<int>(39, 120, 75, 24));
    EXPECT_FALSE(box.isTextEditable());
    EXPECT_EQ(box.getJustificationType(), juce::Justification(juce::Justification::centredLeft));
    EXPECT_EQ(box.getTextWhenNoChoicesAvailable(), "(no choices)");
    EXPECT_EQ(box.getTextWhenNothingSelected(), "");
    ASSERT_EQ(box.getNumItems(), 30);
    for (int i = 0; i < 30; ++i)
    {
        EXPECT_EQ(box.getItemId(i), i + 1);
        EXPECT_EQ(box.getItemText(i), expectedItemTexts[i]) << "item " << i;
    }

    auto* label = findChild<juce::Label>(editor, "tSig Label");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getBounds(), juce::Rectangle<int>(23, 96, 150, 24));
    EXPECT_EQ(label->getText(), "Time Signature");
    EXPECT_FLOAT_EQ(label->getFont().getHeight(), 15.0f);
    EXPECT_FALSE(label->getFont().isBold());
    EXPECT_FALSE(label->isEditableOnSingleClick());
    EXPECT_FALSE(label->isEditableOnDoubleClick());
    EXPECT_EQ(label->findColour(juce::TextEditor::textColourId), juce::Colour(0xffff0000));
    EXPECT_EQ(label->findColour(juce::TextEditor::backgroundColourId), juce::Colour(0x00000000));

    auto* link = findChild<juce::HyperlinkButton>(editor, "Jelv Ondrabau");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->getBounds(), juce::Rectangle<int>(10, 155, 105, 20));
    EXPECT_EQ(link->getButtonText(), "Jelv Ondrabau");
    EXPECT_TRUE(link->getURL().isWellFormed());
    EXPECT_EQ(link->getJustificationType(), juce::Justification(juce::Justification::bottomLeft));
    EXPECT_TRUE(link->getTooltip().isEmpty());

    // While the editor is open its look-and-feel is the process-wide default; afterwards the
    // framework's own default takes over again.
    EXPECT_EQ(typeid(juce::LookAndFeel::getDefaultLookAndFeel()), typeid(juce::LookAndFeel_V3));
    EXPECT_EQ(&box.getLookAndFeel(), &juce::LookAndFeel::getDefaultLookAndFeel());
    f.editor.reset();
    EXPECT_NE(typeid(juce::LookAndFeel::getDefaultLookAndFeel()), typeid(juce::LookAndFeel_V3));
}

TEST(MetronaEditorTest, OpeningShowsTheIndexAndSendsItOnce)
{
    EditorFixture f;
    f.open();
    EXPECT_EQ(f.box().getSelectedId(), 6);
    EXPECT_EQ(f.box().getText(), " 8/8");
    EXPECT_TRUE(f.host.values.empty()); // the change notice comes later, from the message loop

    ASSERT_TRUE(runUntil([&] { return !f.host.values.empty(); }));
    runFor(450); // two timer periods: nothing more is sent
    ASSERT_EQ(f.host.values.size(), 1u);
    EXPECT_EQ(f.host.values[0], 0.2f);
    EXPECT_EQ(f.host.otherParameterCalls, 0);
    EXPECT_EQ(f.index(), 6u);
    EXPECT_EQ(f.box().getSelectedId(), 6);
}

TEST(MetronaEditorTest, OpeningAtIndexZeroFallsBackToEightEighths)
{
    EditorFixture f;
    f.processor.setParameter(0, 0.0f);
    ASSERT_EQ(f.index(), 0u);
    f.open();
    EXPECT_EQ(f.box().getSelectedId(), 6);
    EXPECT_EQ(f.box().getText(), " 8/8");

    ASSERT_TRUE(runUntil([&] { return !f.host.values.empty(); }));
    runFor(450);
    ASSERT_EQ(f.host.values.size(), 1u);
    EXPECT_EQ(f.host.values[0], 0.2f);
    EXPECT_EQ(f.index(), 6u);
}

TEST(MetronaEditorTest, OpeningAboveTheItemsShowsNothingThenSettlesOnThreeEighths)
{
    EditorFixture f;
    f.restoreIndex(40);
    f.open();
    EXPECT_EQ(f.box().getSelectedId(), 0);
    EXPECT_EQ(f.box().getText(), "");

    // The empty box sends 0 (index 0); the next tick falls back to " 3/8" and sends 1/30.
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() >= 2; }));
    runFor(450);
    ASSERT_EQ(f.host.values.size(), 2u);
    EXPECT_EQ(f.host.values[0], 0.0f);
    EXPECT_EQ(f.host.values[1], valueOfId(1));
    EXPECT_EQ(f.index(), 1u);
    EXPECT_EQ(f.box().getText(), " 3/8");
}

TEST(MetronaEditorTest, HostChangesReachTheBoxAndComeBackSnapped)
{
    EditorFixture f;
    f.open();
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() == 1; }));
    f.host.values.clear();

    // From a host thread: 0.51 * 30 = 15.3 -> index 15, shown as "17/8", sent back as 0.5.
    std::thread([&] { f.processor.setParameter(0, 0.51f); }).join();
    EXPECT_EQ(f.index(), 15u);
    ASSERT_TRUE(runUntil([&] { return f.box().getSelectedId() == 15 && !f.host.values.empty(); }));
    EXPECT_EQ(f.box().getText(), "17/8");
    runFor(450);
    ASSERT_EQ(f.host.values.size(), 1u);
    EXPECT_EQ(f.host.values[0], 0.5f);
    EXPECT_EQ(f.index(), 15u);

    // Below 1/60 the index is 0, which the box shows as " 3/8" and sends back as 1/30.
    f.host.values.clear();
    f.processor.setParameter(0, 0.01f);
    EXPECT_EQ(f.index(), 0u);
    ASSERT_TRUE(runUntil([&] { return !f.host.values.empty(); }));
    runFor(450);
    EXPECT_EQ(f.box().getText(), " 3/8");
    ASSERT_EQ(f.host.values.size(), 1u);
    EXPECT_EQ(f.host.values[0], valueOfId(1));
    EXPECT_EQ(f.index(), 1u);
}

TEST(MetronaEditorTest, NegativeHostValueSelectsNoItemWithoutOverflow)
{
    EditorFixture f;
    f.open();
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() == 1; }));
    f.host.values.clear();

    // -0.1 * 30 = -3, which the processor keeps as 2^32 - 3; 30 * (that / 30) is far past any int.
    f.processor.setParameter(0, -0.1f);
    EXPECT_EQ(f.index(), 4294967293u);
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() >= 2; }));
    runFor(450);
    ASSERT_EQ(f.host.values.size(), 2u);
    EXPECT_EQ(f.host.values[0], 0.0f); // the box showed no item
    EXPECT_EQ(f.host.values[1], valueOfId(1));
    EXPECT_EQ(f.index(), 1u);
    EXPECT_EQ(f.box().getText(), " 3/8");
}

TEST(MetronaEditorTest, UserChoicesReachTheProcessor)
{
    EditorFixture f;
    f.open();
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() == 1; }));
    f.host.values.clear();

    // Picking the item already shown sends nothing.
    f.box().setSelectedId(6, juce::sendNotificationAsync);
    runFor(250);
    EXPECT_TRUE(f.host.values.empty());

    // "32/8" sends 1.0 and stores index 30.
    f.box().setSelectedId(30, juce::sendNotificationAsync);
    ASSERT_TRUE(runUntil([&] { return !f.host.values.empty(); }));
    EXPECT_EQ(f.host.values[0], 1.0f);
    EXPECT_EQ(f.index(), 30u);
}

TEST(MetronaEditorTest, EveryIdSurvivesTheRoundTrip)
{
    EditorFixture f;
    auto& editor = f.open();
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() == 1; }));

    for (int id = 1; id <= 30; ++id)
    {
        if (id == 6)
            continue; // already shown: choosing it again sends nothing
        f.host.values.clear();
        f.box().setSelectedId(id, juce::sendNotificationAsync);
        ASSERT_TRUE(runUntil([&] { return !f.host.values.empty(); })) << "id " << id;
        EXPECT_EQ(f.host.values[0], valueOfId(id));
        EXPECT_EQ(f.index(), static_cast<std::uint32_t>(id));

        // The processor raised its flag; the refresh reads the value back and keeps the same item.
        editor.timerCallback();
        EXPECT_FALSE(f.processor.parameterChanged.load());
        runUntil([] { return false; }, 5);
        EXPECT_EQ(f.box().getSelectedId(), id);
        EXPECT_EQ(f.host.values.size(), 1u) << "id " << id;
    }
}

TEST(MetronaEditorTest, ClosingWithANoticePendingSendsNothing)
{
    EditorFixture f;
    f.open();
    f.editor.reset();
    runFor(50);
    EXPECT_TRUE(f.host.values.empty());

    // A second editor on the same processor opens as the first did.
    f.open();
    EXPECT_EQ(f.box().getText(), " 8/8");
    ASSERT_TRUE(runUntil([&] { return f.host.values.size() == 1; }));
    EXPECT_EQ(f.host.values[0], 0.2f);
}
} // namespace

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // This thread becomes JUCE's message thread; no display is needed.
    juce::ScopedJuceInitialiser_GUI juceGui;
    return RUN_ALL_TESTS();
}

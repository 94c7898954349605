#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class MetronaAudioProcessor;

// The editor's logo, a 150 by 150 JPEG, and its length in bytes (generated from
// plugin/logo/plugin_logo.jpg at build time).
extern const unsigned char resource_MetronaEditor_plugin_logo_jpg[];
extern const int resource_MetronaEditor_plugin_logo_jpgSize;

// The plug-in's window: a fixed 150 by 174 panel with the logo, the "Time Signature" label and
// combo box (items " 3/8" .. "32/8", ids 1 .. 30 = the processor's time-signature index), a link
// to the maker and the version text. Host changes arrive through the processor's parameterChanged
// flag, polled every 200 ms; a choice in the box goes out through setParameterNotifyingHost.
// Everything here runs on the message thread.
class MetronaEditor : public juce::AudioProcessorEditor, public juce::Timer, public juce::ComboBox::Listener
{
public:
    explicit MetronaEditor(MetronaAudioProcessor& owner);
    ~MetronaEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void timerCallback() override;
    void comboBoxChanged(juce::ComboBox* box) override;

private:
    MetronaAudioProcessor& metronaProcessor() const noexcept;
    float parameterValue() const;

    std::unique_ptr<juce::ComboBox> timeSignatureBox;
    std::unique_ptr<juce::Label> timeSignatureLabel;
    juce::Image logoImage;
    std::unique_ptr<juce::HyperlinkButton> makerLink;
    juce::LookAndFeel_V3 editorLookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MetronaEditor)
};

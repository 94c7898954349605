#include "MetronaEditor.h"

#include "MetronaAudioProcessor.h"

#include <cmath>

namespace
{
// The maker's address behind the link (a placeholder until the maker publishes one).
const char* const makerAddress = "https://jelv.example.com/";
const char* const makerName = "Jelv Ondrabau";

// Item id k is time-signature index k: a bar of k + 2 eighth notes, shown as four characters.
constexpr int firstNumerator = 3;
constexpr int lastNumerator = 32;

// Selected when the parameter value rounds to id 0: " 8/8" when the editor opens, " 3/8" later.
constexpr int openingFallbackId = 6;
constexpr int refreshFallbackId = 1;

constexpr int refreshIntervalMs = 200;

// An id that no item has: what a value far outside the items' range selects.
constexpr int noItemId = -1;

// The combo-box id for a normalised parameter value with itemCount items: roundf(itemCount * value),
// halves away from zero. A product that does not fit an int (or is not a number) gives noItemId.
int idForValue(int itemCount, float value) noexcept
{
    const float product = std::round(static_cast<float>(itemCount) * value);
    // -2^31 <= product < 2^31, written so that a NaN fails too.
    if (!(product >= -2147483648.0f && product < 2147483648.0f))
        return noItemId;
    return static_cast<int>(product);
}
} // namespace

MetronaEditor::MetronaEditor(MetronaAudioProcessor& owner) : juce::AudioProcessorEditor(owner)
{
    juce::LookAndFeel::setDefaultLookAndFeel(&editorLookAndFeel);

    timeSignatureBox = std::make_unique<juce::ComboBox>("Time Signature");
    addAndMakeVisible(timeSignatureBox.get());
    timeSignatureBox->setEditableText(false);
    timeSignatureBox->setJustificationType(juce::Justification::centredLeft);
    timeSignatureBox->setTextWhenNoChoicesAvailable(juce::translate("(no choices)"));
    for (int numerator = firstNumerator; numerator <= lastNumerator; ++numerator)
    {
        const auto text = juce::String(numerator).paddedLeft(' ', 2) + "/8";
        timeSignatureBox->addItem(juce::translate(text), numerator - firstNumerator + 1);
    }
    timeSignatureBox->addListener(this);

    timeSignatureLabel = std::make_unique<juce::Label>("tSig Label", juce::translate("Time Signature"));
    addAndMakeVisible(timeSignatureLabel.get());
    timeSignatureLabel->setFont(juce::Font(15.0f, juce::Font::plain));
    timeSignatureLabel->setJustificationType(juce::Justification::centredLeft);
    timeSignatureLabel->setEditable(false, false, false);
    timeSignatureLabel->setColour(juce::TextEditor::textColourId, juce::Colours::red);
    timeSignatureLabel->setColour(juce::TextEditor::backgroundColourId, juce::Colour(0x00000000));

    makerLink = std::make_unique<juce::HyperlinkButton>(makerName, juce::URL(makerAddress));
    addAndMakeVisible(makerLink.get());
    makerLink->setFont(juce::Font(10.0f, juce::Font::plain), false, juce::Justification::bottomLeft);
    makerLink->setTooltip({}); // the framework shows the address as a tooltip otherwise

    logoImage = juce::ImageCache::getFromMemory(resource_MetronaEditor_plugin_logo_jpg,
                                                resource_MetronaEditor_plugin_logo_jpgSize);

    setSize(150, 174);

    startTimer(refreshIntervalMs);

    int id = idForValue(timeSignatureBox->getNumItems(), parameterValue());
    if (id == 0)
        id = openingFallbackId;
    timeSignatureBox->setSelectedId(id, juce::sendNotificationAsync);
}

MetronaEditor::~MetronaEditor()
{
    // The children go first, while the look-and-feel they draw with still exists.
    timeSignatureBox = nullptr;
    timeSignatureLabel = nullptr;
    makerLink = nullptr;
}

void MetronaEditor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::white);

    if (logoImage.isValid())
        g.drawImage(logoImage, 0, 0, 150, 150, 0, 0, logoImage.getWidth(), logoImage.getHeight());

    g.setColour(juce::Colours::lightgrey);
    g.fillRect(0, 96, 150, 58);

    g.setColour(juce::Colours::black);
    g.setFont(10.0f);
    g.drawText("v" + MetronaAudioProcessor::getVersionString(),
               juce::Rectangle<float>(114.0f, 140.0f, 150.0f, 50.0f), juce::Justification::left, true);
}

void MetronaEditor::resized()
{
    timeSignatureBox->setBounds(39, 120, 75, 24);
    timeSignatureLabel->setBounds(23, 96, 150, 24);
    makerLink->setBounds(10, 155, 105, 20);
}

void MetronaEditor::timerCallback()
{
    // Take the flag before reading the value: a change landing meanwhile raises it again.
    if (!metronaProcessor().parameterChanged.exchange(false))
        return;

    int id = idForValue(timeSignatureBox->getNumItems(), parameterValue());
    if (id == 0)
        id = refreshFallbackId;
    timeSignatureBox->setSelectedId(id, juce::sendNotificationAsync);
}

void MetronaEditor::comboBoxChanged(juce::ComboBox* box)
{
    if (box != timeSignatureBox.get())
        return;

    const float value = static_cast<float>(timeSignatureBox->getSelectedId()) /
                        static_cast<float>(timeSignatureBox->getNumItems());

    // The processor keeps the framework's index-based parameter interface.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    processor.setParameterNotifyingHost(0, value);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

MetronaAudioProcessor& MetronaEditor::metronaProcessor() const noexcept
{
    // The editor is only ever made by MetronaAudioProcessor::createEditor for that processor.
    return static_cast<MetronaAudioProcessor&>(processor);
}

float MetronaEditor::parameterValue() const
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    return processor.getParameter(0);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

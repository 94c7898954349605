#pragma once

#include "aaxhost/Description.h"
#include "aaxhost/EffectParameters.h"
#include "aaxhost/MidiNode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace aaxhost
{

// One instance of an effect's audio algorithm, laid out from the component the
// host chose: the algorithm's context holds, at each described field index, the
// address of what the field stands for:
//   AddAudioIn / AddAudioOut   an array of channel pointers (float**)
//   AddAudioBufferLength       the block's length (int32_t*)
//   AddSampleRate              the sample rate (float*)
//   AddDataInPort              the port's buffer (packets are copied into it)
//   AddMIDINode                a MidiNode (IMidiNode*)
//   AddPrivateData             a block the effect initialises in ResetFieldData
//   AddTemporaryData           a scratch block
//   AddMeters                  the address of the meter taps (float* const*)
// Any other field kind (side chain, auxiliary outputs, clock, DMA, reserved
// fields) makes create() fail with a message naming it. Field indices that no
// field uses stay null.
//
// All storage is made by create(); process() allocates nothing.
class AlgorithmInstance
{
public:
    struct Layout
    {
        int32_t inputChannels = 0;
        int32_t outputChannels = 0;
        int32_t maxBlock = 1024;
        float sampleRate = 48000.0f;
    };

    // The component's native process procedure and fields; null with *error when
    // the component cannot be run by this host.
    static std::unique_ptr<AlgorithmInstance> create(const HostComponentDescriptor& component,
                                                     const Layout& layout, std::string* error);
    ~AlgorithmInstance();
    AlgorithmInstance(const AlgorithmInstance&) = delete;
    AlgorithmInstance& operator=(const AlgorithmInstance&) = delete;

    // ResetFieldData for every private-data field, in field order; the first
    // failure is returned (the remaining fields are still reset).
    Result resetPrivateData(IEffectParameters& effect);

    enum class Delivery
    {
        delivered,
        notAPort,  // the port is no data-in port of the context
        truncated, // more bytes than the port holds: the first ones were delivered
    };
    // Copies a posted packet into its data-in port (the rest of the port is zeroed).
    Delivery deliver(int32_t port, const void* data, std::size_t size) noexcept;
    // The current contents of a data-in port (empty when there is none).
    std::vector<uint8_t> portData(int32_t port) const;

    // Runs the process procedure once on `frames` samples (0..maxBlock): inputs
    // are silence, outputs are cleared first. False when frames is out of range.
    bool process(int32_t frames) noexcept;

    const Layout& layout() const noexcept { return layout_; }
    const float* output(int32_t channel) const noexcept;
    float* input(int32_t channel) noexcept;
    // The context (an array of field pointers) as the process procedure sees it.
    void* context() const noexcept { return context_; }
    std::size_t fieldCount() const noexcept { return slots_.size(); }
    MidiNode* midiNode(int32_t field) const noexcept;
    // The first MIDI node of a type (kMidiNodeLocalInput, ...); null when there is none.
    MidiNode* midiNodeOfType(int32_t nodeType) const noexcept;

private:
    AlgorithmInstance() = default;

    struct Block
    {
        int32_t field = 0;
        std::size_t size = 0;
        std::vector<std::max_align_t> storage;
        void* data() noexcept { return storage.data(); }
    };

    Layout layout_;
    NativeProcessProc proc_ = nullptr;
    std::vector<void*> slots_;
    void* context_ = nullptr;
    void* const* instances_ = nullptr;
    std::vector<std::vector<float>> inputData_, outputData_;
    std::vector<float*> inputPointers_, outputPointers_;
    int32_t bufferLength_ = 0;
    float sampleRate_ = 0.0f;
    std::vector<Block> ports_, privateData_, temporaryData_;
    std::vector<std::pair<int32_t, std::unique_ptr<MidiNode>>> midiNodes_;
    std::vector<float> meterTaps_;
    float* meterTapPointer_ = nullptr;
    void* instanceList_[1] = {nullptr};
};

} // namespace aaxhost

#include "aaxhost/AlgorithmInstance.h"

#include "aaxhost/Failure.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace aaxhost
{
namespace
{

constexpr int64_t kMaxFieldIndex = 1023;
constexpr int64_t kMaxBlockBytes = int64_t{1} << 26;

template <class T>
bool argAs(const Entry& entry, std::size_t i, T& out)
{
    if (i >= entry.args.size())
        return false;
    if (const auto* v = std::get_if<T>(&entry.args[i]))
    {
        out = *v;
        return true;
    }
    return false;
}

std::vector<std::max_align_t> zeroedStorage(std::size_t bytes)
{
    const std::size_t units =
        std::max<std::size_t>(1, (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
    std::vector<std::max_align_t> storage(units);
    std::memset(static_cast<void*>(storage.data()), 0, units * sizeof(std::max_align_t));
    return storage;
}

} // namespace

AlgorithmInstance::~AlgorithmInstance() = default;

std::unique_ptr<AlgorithmInstance> AlgorithmInstance::create(const HostComponentDescriptor& component,
                                                             const Layout& layout, std::string* error)
{
    if (layout.inputChannels < 0 || layout.outputChannels < 0 || layout.inputChannels > 1024 ||
        layout.outputChannels > 1024)
        return Failure(error, "channel counts out of range");
    if (layout.maxBlock < 1 || layout.maxBlock > (1 << 20))
        return Failure(error, "block size out of range");

    std::unique_ptr<AlgorithmInstance> instance(new AlgorithmInstance());
    AlgorithmInstance& a = *instance;
    a.layout_ = layout;
    a.sampleRate_ = layout.sampleRate;

    for (const ProcessProcRecord& proc : component.processProcs())
        if (proc.kind == ProcessProcRecord::Kind::Native && proc.processProc != nullptr)
        {
            a.proc_ = proc.processProc;
            break;
        }
    if (a.proc_ == nullptr)
        return Failure(error, "the component has no native process procedure");

    const auto makeChannels =
        [&a](int32_t count, std::vector<std::vector<float>>& data, std::vector<float*>& pointers)
    {
        data.assign(static_cast<std::size_t>(count),
                    std::vector<float>(static_cast<std::size_t>(a.layout_.maxBlock), 0.0f));
        pointers.clear();
        for (auto& channel : data)
            pointers.push_back(channel.data());
        pointers.push_back(nullptr); // never a zero-length array
    };
    makeChannels(layout.inputChannels, a.inputData_, a.inputPointers_);
    makeChannels(layout.outputChannels, a.outputData_, a.outputPointers_);

    // First pass: indices and kinds; storage whose address goes into the context
    // must not move afterwards, so every container is filled before addresses are taken.
    std::set<int64_t> used;
    int64_t highest = -1;
    const std::vector<Entry> fields = component.fields();
    for (const Entry& entry : fields)
    {
        int64_t index = -1;
        if (!argAs(entry, 0, index) || index < 0 || index > kMaxFieldIndex)
            return Failure(error, entry.operation + ": field index out of range");
        if (!used.insert(index).second)
            return Failure(error,
                           entry.operation + ": field " + std::to_string(index) + " is described twice");
        highest = std::max(highest, index);

        const std::string& op = entry.operation;
        if (op == "AddDataInPort" || op == "AddPrivateData" || op == "AddTemporaryData")
        {
            int64_t size = -1;
            uint64_t usize = 0;
            if (argAs(entry, 1, usize))
                size = static_cast<int64_t>(usize);
            else if (!argAs(entry, 1, size))
                size = -1;
            if (size < 0 || size > kMaxBlockBytes)
                return Failure(error, op + ": field " + std::to_string(index) + " has a size out of range");
            Block block;
            block.field = static_cast<int32_t>(index);
            block.size = static_cast<std::size_t>(size);
            block.storage = zeroedStorage(block.size);
            (op == "AddDataInPort"    ? a.ports_
             : op == "AddPrivateData" ? a.privateData_
                                      : a.temporaryData_)
                .push_back(std::move(block));
        }
        else if (op == "AddMIDINode")
        {
            int64_t type = 0;
            argAs(entry, 1, type);
            a.midiNodes_.emplace_back(static_cast<int32_t>(index),
                                      std::make_unique<MidiNode>(static_cast<int32_t>(type)));
        }
        else if (op == "AddMeters")
        {
            uint64_t count = 0;
            argAs(entry, 2, count);
            if (count > 4096)
                return Failure(error, "AddMeters: too many meters");
            a.meterTaps_.assign(static_cast<std::size_t>(count) + 1, 0.0f);
        }
        else if (op != "AddAudioIn" && op != "AddAudioOut" && op != "AddAudioBufferLength" &&
                 op != "AddSampleRate")
        {
            return Failure(error, "the component uses " + op + " (field " + std::to_string(index) +
                                      "), which this host does not run");
        }
    }

    a.slots_.assign(static_cast<std::size_t>(highest + 1), nullptr);
    for (const Entry& entry : fields)
    {
        int64_t index = 0;
        argAs(entry, 0, index);
        void*& slot = a.slots_[static_cast<std::size_t>(index)];
        const std::string& op = entry.operation;
        if (op == "AddAudioIn")
            slot = a.inputPointers_.data();
        else if (op == "AddAudioOut")
            slot = a.outputPointers_.data();
        else if (op == "AddAudioBufferLength")
            slot = &a.bufferLength_;
        else if (op == "AddSampleRate")
            slot = &a.sampleRate_;
        else if (op == "AddMeters")
        {
            a.meterTapPointer_ = a.meterTaps_.data();
            slot = &a.meterTapPointer_;
        }
    }
    for (auto* blocks : {&a.ports_, &a.privateData_, &a.temporaryData_})
        for (Block& block : *blocks)
            a.slots_[static_cast<std::size_t>(block.field)] = block.data();
    for (auto& [field, node] : a.midiNodes_)
        a.slots_[static_cast<std::size_t>(field)] = static_cast<IMidiNode*>(node.get());

    a.context_ = a.slots_.empty() ? nullptr : a.slots_.data();
    a.instanceList_[0] = a.context_;
    a.instances_ = a.instanceList_;
    return instance;
}

Result AlgorithmInstance::resetPrivateData(IEffectParameters& effect)
{
    std::vector<Block*> ordered;
    for (Block& block : privateData_)
        ordered.push_back(&block);
    std::sort(ordered.begin(), ordered.end(),
              [](const Block* x, const Block* y) { return x->field < y->field; });
    Result first = kResultOk;
    for (Block* block : ordered)
    {
        const Result r =
            effect.ResetFieldData(block->field, block->data(), static_cast<uint32_t>(block->size));
        if (r != kResultOk && first == kResultOk)
            first = r;
    }
    return first;
}

AlgorithmInstance::Delivery AlgorithmInstance::deliver(int32_t port, const void* data,
                                                       std::size_t size) noexcept
{
    for (Block& block : ports_)
    {
        if (block.field != port)
            continue;
        auto* bytes = static_cast<uint8_t*>(block.data());
        const std::size_t n = std::min(size, block.size);
        if (n > 0 && data != nullptr)
            std::memcpy(bytes, data, n);
        if (block.size > n)
            std::memset(bytes + n, 0, block.size - n);
        return size > block.size ? Delivery::truncated : Delivery::delivered;
    }
    return Delivery::notAPort;
}

std::vector<uint8_t> AlgorithmInstance::portData(int32_t port) const
{
    for (const Block& block : ports_)
        if (block.field == port)
        {
            const auto* bytes = reinterpret_cast<const uint8_t*>(block.storage.data());
            return std::vector<uint8_t>(bytes, bytes + block.size);
        }
    return {};
}

bool AlgorithmInstance::process(int32_t frames) noexcept
{
    if (frames < 0 || frames > layout_.maxBlock || proc_ == nullptr || context_ == nullptr)
        return false;
    for (auto& channel : inputData_)
        std::fill(channel.begin(), channel.begin() + frames, 0.0f);
    for (auto& channel : outputData_)
        std::fill(channel.begin(), channel.begin() + frames, 0.0f);
    for (auto& entry : midiNodes_)
        entry.second->beginBlock();
    bufferLength_ = frames;
    proc_(instances_, instances_ + 1);
    return true;
}

const float* AlgorithmInstance::output(int32_t channel) const noexcept
{
    if (channel < 0 || channel >= layout_.outputChannels)
        return nullptr;
    return outputData_[static_cast<std::size_t>(channel)].data();
}

float* AlgorithmInstance::input(int32_t channel) noexcept
{
    if (channel < 0 || channel >= layout_.inputChannels)
        return nullptr;
    return inputData_[static_cast<std::size_t>(channel)].data();
}

MidiNode* AlgorithmInstance::midiNode(int32_t field) const noexcept
{
    for (const auto& [index, node] : midiNodes_)
        if (index == field)
            return node.get();
    return nullptr;
}

MidiNode* AlgorithmInstance::midiNodeOfType(int32_t nodeType) const noexcept
{
    for (const auto& entry : midiNodes_)
        if (entry.second->nodeType() == nodeType)
            return entry.second.get();
    return nullptr;
}

} // namespace aaxhost

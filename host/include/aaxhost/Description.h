#pragma once

// The host's side of a plug-in's description: the objects the plug-in builds
// its description in (collection, effect descriptors, component descriptors,
// property maps), the description host with its feature infos, and the host
// definition. Each records the plug-in's calls, keeps what it is given alive
// by its own references, and can be read back as the host's view of the
// plug-in.

#include "aaxhost/ComponentFactory.h"
#include "aaxhost/DescriptionInterfaces.h"
#include "aaxhost/HostObject.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace aaxhost
{

class Host;

// Library result codes the description objects answer with.
constexpr Result kAaxErrorUnknownId = -20041;
constexpr Result kAaxErrorArgumentBufferOverflow = -20046;

// Property numbers the host reads itself.
namespace property
{
constexpr int32_t ManufacturerId = 11;
constexpr int32_t ProductId = 12;
constexpr int32_t PlugInIdNative = 13;
constexpr int32_t PlugInIdAudioSuite = 14;
constexpr int32_t PlugInIdTI = 15;
constexpr int32_t NativeProcessProc = 36;
constexpr int32_t NativeInstanceInitProc = 37;
constexpr int32_t NativeBackgroundProc = 38;
constexpr int32_t TIDllFileName = 39;
constexpr int32_t TIProcessProc = 40;
constexpr int32_t TIInstanceInitProc = 41;
constexpr int32_t TIBackgroundProc = 42;
constexpr int32_t InputStemFormat = 51;
constexpr int32_t OutputStemFormat = 52;
constexpr int32_t AudioBufferLength = 54;
} // namespace property

// Support levels a feature info answers.
constexpr int32_t kSupportLevelUnsupported = 1;
constexpr int32_t kSupportLevelSupported = 2;
constexpr int32_t kSupportLevelByProperty = 4;

// A description object's recorded entry: the operation and its copied arguments.
struct Entry
{
    std::string operation;
    std::vector<Value> args;
};

// An interface as a base of its own: an object that offers an older version
// beside a newer one derived from it hands out a pointer of its own for each.
template <class Interface>
class VersionFace : public Interface
{
protected:
    ~VersionFace() = default;
};

// A property map (AAXCompID_AAXPropertyMap), versions 1 to 3. Each version is
// its own interface pointer, so the pointer the plug-in hands back shows
// which version it chose; the host recognises all three as this map.
class HostPropertyMap final : public HostObjectOf<AAX_IACFPropertyMap_V3, VersionFace<AAX_IACFPropertyMap_V2>,
                                                  VersionFace<AAX_IACFPropertyMap>>
{
public:
    explicit HostPropertyMap(std::shared_ptr<CallRecorder> recorder, std::string name = "PropertyMap")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    // The map behind an interface pointer the plug-in passed (any version), or null.
    static HostPropertyMap* fromUnknown(IACFUnknown* unknown) noexcept;

    // The version pointers as handed out.
    IACFUnknown* v1Interface() noexcept;
    IACFUnknown* v2Interface() noexcept;
    IACFUnknown* v3Interface() noexcept;

    // Host-side reading and writing (not recorded).
    std::optional<PropertyValue> value(int32_t id) const;
    std::map<int32_t, PropertyValue> values() const;
    void set(int32_t id, PropertyValue value);
    void remove(int32_t id);

    Boolean GetProperty(int32_t id, PropertyValue* value) override;
    Result AddProperty(int32_t id, PropertyValue value) override;
    Result RemoveProperty(int32_t id) override;
    Result AddPropertyWithIDArray(int32_t id, const void* records, uint32_t count) override;
    Boolean GetPropertyWithIDArray(int32_t id, const void** records, uint32_t* count) override;
    Result UnusedPosition8() override { return reply("UnusedPosition8", kAaxErrorUnimplemented); }

protected:
    ~HostPropertyMap() override = default;
    void* findInterface(const Uid& iid) noexcept override;

private:
    struct IdArray
    {
        const void* records = nullptr;
        uint32_t count = 0;
    };
    mutable std::mutex mapMutex_;
    std::map<int32_t, PropertyValue> values_;
    std::map<int32_t, IdArray> idArrays_;
};

// One process procedure the host accepted.
struct ProcessProcRecord
{
    enum class Kind
    {
        Native,
        TI
    };
    Kind kind = Kind::Native;
    uint32_t id = 0;
    NativeProcessProc processProc = nullptr;
    NativeInstanceInitProc instanceInitProc = nullptr;
    NativeBackgroundProc backgroundProc = nullptr;
    std::string dllFileName, processProcSymbol, instanceInitSymbol, backgroundSymbol;
    HostRef<HostPropertyMap> properties;
};

// A component descriptor (AAXCompID_AAXComponentDescriptor), versions 1 to 3
// in one interface chain.
class HostComponentDescriptor final : public HostObjectOf<AAX_IACFComponentDescriptor_V3>
{
public:
    explicit HostComponentDescriptor(std::shared_ptr<CallRecorder> recorder)
        : HostObjectOf("ComponentDescriptor", std::move(recorder))
    {
    }

    static HostComponentDescriptor* fromUnknown(IACFUnknown* unknown) noexcept;

    // The fields in the order described (Clear empties them).
    std::vector<Entry> fields() const { return lockedCopy(descriptorMutex_, fields_); }
    std::vector<ProcessProcRecord> processProcs() const { return lockedCopy(descriptorMutex_, procs_); }

    Result Clear() override;
    Result AddReservedField(int32_t fieldIndex, uint32_t fieldType) override
    {
        return field("AddReservedField", {int64_t{fieldIndex}, uint64_t{fieldType}});
    }
    Result AddAudioIn(int32_t fieldIndex) override { return field("AddAudioIn", {int64_t{fieldIndex}}); }
    Result AddAudioOut(int32_t fieldIndex) override { return field("AddAudioOut", {int64_t{fieldIndex}}); }
    Result AddAudioBufferLength(int32_t fieldIndex) override
    {
        return field("AddAudioBufferLength", {int64_t{fieldIndex}});
    }
    Result AddSampleRate(int32_t fieldIndex) override
    {
        return field("AddSampleRate", {int64_t{fieldIndex}});
    }
    Result AddClock(int32_t fieldIndex) override { return field("AddClock", {int64_t{fieldIndex}}); }
    Result AddSideChainIn(int32_t fieldIndex) override
    {
        return field("AddSideChainIn", {int64_t{fieldIndex}});
    }
    Result AddDataInPort(int32_t fieldIndex, uint32_t packetSize, int32_t type) override
    {
        return field("AddDataInPort", {int64_t{fieldIndex}, uint64_t{packetSize}, int64_t{type}});
    }
    Result AddAuxOutputStem(int32_t fieldIndex, int32_t stemFormat, const char* name) override
    {
        return field("AddAuxOutputStem", {int64_t{fieldIndex}, int64_t{stemFormat}, textValue(name)});
    }
    Result AddPrivateData(int32_t fieldIndex, int32_t sizeInBytes, uint32_t options) override
    {
        return field("AddPrivateData", {int64_t{fieldIndex}, int64_t{sizeInBytes}, uint64_t{options}});
    }
    Result AddDmaInstance(int32_t fieldIndex, int32_t mode) override
    {
        return field("AddDmaInstance", {int64_t{fieldIndex}, int64_t{mode}});
    }
    Result AddMIDINode(int32_t fieldIndex, int32_t nodeType, const char* name, uint32_t channelMask) override
    {
        return field("AddMIDINode",
                     {int64_t{fieldIndex}, int64_t{nodeType}, textValue(name), uint64_t{channelMask}});
    }
    Result AddProcessProc_Native(NativeProcessProc processProc, IACFUnknown* properties,
                                 NativeInstanceInitProc instanceInitProc, NativeBackgroundProc backgroundProc,
                                 uint32_t* procId) override;
    Result AddProcessProc_TI(const char* dllFileName, const char* processProcSymbol, IACFUnknown* properties,
                             const char* instanceInitSymbol, const char* backgroundSymbol,
                             uint32_t* procId) override;
    Result AddMeters(int32_t fieldIndex, const uint32_t* meterIds, uint32_t meterCount) override;
    Result AddTemporaryData(int32_t fieldIndex, uint32_t sizeInBytes) override
    {
        return field("AddTemporaryData", {int64_t{fieldIndex}, uint64_t{sizeInBytes}});
    }
    Result AddProcessProc(IACFUnknown* properties, uint32_t* procIds, int32_t procIdsSize) override;

protected:
    ~HostComponentDescriptor() override = default;
    void* findInterface(const Uid& iid) noexcept override;

private:
    Result field(const char* operation, std::vector<Value> args);
    // Gives `proc` the next identifier (also to *procId when not null) and keeps it.
    Result keepProc(ProcessProcRecord proc, uint32_t* procId);
    Result registerNative(NativeProcessProc processProc, HostPropertyMap* map, NativeInstanceInitProc init,
                          NativeBackgroundProc background, uint32_t* procId);
    Result registerTI(const char* dll, const char* process, HostPropertyMap* map, const char* init,
                      const char* background, uint32_t* procId);

    mutable std::mutex descriptorMutex_;
    std::vector<Entry> fields_;
    std::vector<ProcessProcRecord> procs_;
    uint32_t nextProcId_ = 1;
};

struct ProcPtrRecord
{
    void* procPtr = nullptr;
    uint32_t procId = 0;
};

struct MeterRecord
{
    uint32_t meterId = 0;
    std::string name;
    HostRef<HostPropertyMap> properties;
};

// An effect descriptor (AAXCompID_AAXEffectDescriptor), versions 1 and 2.
class HostEffectDescriptor final : public HostObjectOf<AAX_IACFEffectDescriptor_V2>
{
public:
    explicit HostEffectDescriptor(std::shared_ptr<CallRecorder> recorder)
        : HostObjectOf("EffectDescriptor", std::move(recorder))
    {
    }

    static HostEffectDescriptor* fromUnknown(IACFUnknown* unknown) noexcept;

    std::vector<std::string> names() const { return lockedCopy(effectMutex_, names_); }
    std::vector<uint32_t> categories() const { return lockedCopy(effectMutex_, categories_); }
    std::vector<ProcPtrRecord> procPtrs() const { return lockedCopy(effectMutex_, procPtrs_); }
    std::vector<HostRef<HostComponentDescriptor>> components() const
    {
        return lockedCopy(effectMutex_, components_);
    }
    HostRef<HostPropertyMap> properties() const { return lockedCopy(effectMutex_, properties_); }
    std::vector<MeterRecord> meters() const { return lockedCopy(effectMutex_, meters_); }
    // Further entries (bypass parameters, resources, MIDI nodes), in order.
    std::vector<Entry> others() const { return lockedCopy(effectMutex_, others_); }

    Result AddComponent(IACFUnknown* componentDescriptor) override;
    Result AddName(const char* name) override;
    Result AddCategory(uint32_t category) override;
    Result AddCategoryBypassParameter(uint32_t category, const char* parameterId) override;
    Result AddProcPtr(void* procPtr, uint32_t procId) override;
    Result SetProperties(IACFUnknown* properties) override;
    Result AddResourceInfo(int32_t resourceType, const char* info) override;
    Result AddMeterDescription(uint32_t meterId, const char* name, IACFUnknown* properties) override;
    Result AddControlMIDINode(uint32_t nodeId, int32_t nodeType, const char* name,
                              uint32_t channelMask) override;

protected:
    ~HostEffectDescriptor() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXEffectDescriptorV1 || iid == IID_IAAXEffectDescriptorV2
                   ? as<AAX_IACFEffectDescriptor_V2>()
                   : nullptr;
    }

private:
    // Records an operation kept among the others, with its arguments; `text` must not be null.
    Result other(const char* operation, std::vector<Value> args, const char* text);

    mutable std::mutex effectMutex_;
    std::vector<std::string> names_;
    std::vector<uint32_t> categories_;
    std::vector<ProcPtrRecord> procPtrs_;
    std::vector<HostRef<HostComponentDescriptor>> components_;
    HostRef<HostPropertyMap> properties_;
    std::vector<MeterRecord> meters_;
    std::vector<Entry> others_;
};

struct EffectRecord
{
    std::string effectId;
    HostRef<HostEffectDescriptor> descriptor;
};

// The collection (AAXCompID_AAXCollection). It is also the plug-in definition
// that registration hands back: it answers IID_IACFPluginDefinition (switch
// off with refuse(IID_IACFPluginDefinition)).
class HostCollection final : public HostObjectOf<AAX_IACFCollection, IACFPluginDefinition>
{
public:
    explicit HostCollection(std::shared_ptr<CallRecorder> recorder)
        : HostObjectOf("Collection", std::move(recorder))
    {
    }

    static HostCollection* fromUnknown(IACFUnknown* unknown) noexcept;

    std::vector<EffectRecord> effects() const { return lockedCopy(collectionMutex_, effects_); }
    std::optional<std::string> manufacturerName() const
    {
        return lockedCopy(collectionMutex_, manufacturer_);
    }
    std::vector<std::string> packageNames() const { return lockedCopy(collectionMutex_, packages_); }
    std::optional<uint32_t> packageVersion() const { return lockedCopy(collectionMutex_, version_); }
    HostRef<HostPropertyMap> properties() const { return lockedCopy(collectionMutex_, properties_); }

    Result UnusedPosition3() override { return reply("UnusedPosition3", kAaxErrorUnimplemented); }
    Result UnusedPosition4() override { return reply("UnusedPosition4", kAaxErrorUnimplemented); }
    Result UnusedPosition5() override { return reply("UnusedPosition5", kAaxErrorUnimplemented); }
    Result UnusedPosition6() override { return reply("UnusedPosition6", kAaxErrorUnimplemented); }
    Result AddEffect(const char* effectId, IACFUnknown* effectDescriptor) override;
    Result SetManufacturerName(const char* name) override;
    Result AddPackageName(const char* name) override;
    Result SetPackageVersion(uint32_t version) override;
    Result SetProperties(IACFUnknown* properties) override;

protected:
    ~HostCollection() override = default;
    void* findInterface(const Uid& iid) noexcept override;

private:
    mutable std::mutex collectionMutex_;
    std::vector<EffectRecord> effects_;
    std::optional<std::string> manufacturer_;
    std::vector<std::string> packages_;
    std::optional<uint32_t> version_;
    HostRef<HostPropertyMap> properties_;
};

// A feature's info (IID_IAAXFeatureInfoV1): a support level and, per stem
// format (or other value), a property map of levels.
class HostFeatureInfo final : public HostObjectOf<AAX_IACFFeatureInfo>
{
public:
    HostFeatureInfo(std::shared_ptr<CallRecorder> recorder, int32_t supportLevel = kSupportLevelByProperty);

    void setSupportLevel(int32_t level);
    // The level property `id` of the feature's map (for the stem-format
    // feature: the stem format) answers.
    void setPropertyLevel(int32_t id, int32_t level);
    // Whether AcquireProperties hands out the map (default) or succeeds with none.
    void setHasProperties(bool on);
    HostPropertyMap& properties() noexcept { return *properties_; }

    Result SupportLevel(int32_t& level) override;
    Result AcquireProperties(IACFUnknown** properties) override;

protected:
    ~HostFeatureInfo() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXFeatureInfoV1 ? as<AAX_IACFFeatureInfo>() : nullptr;
    }

private:
    std::atomic<int32_t> level_;
    std::atomic<bool> hasProperties_{true};
    HostRef<HostPropertyMap> properties_;
};

// The description host (IID_IAAXDescriptionHostV1): answers the features it knows.
class HostDescriptionHost final : public HostObjectOf<AAX_IACFDescriptionHost>
{
public:
    explicit HostDescriptionHost(std::shared_ptr<CallRecorder> recorder)
        : HostObjectOf("DescriptionHost", std::move(recorder))
    {
    }

    void setFeature(const Uid& featureId, HostRef<HostFeatureInfo> info);
    // The stem-format feature, created on first use.
    HostFeatureInfo& stemFormatFeature();
    // When set, AcquireFeatureProperties succeeds without handing out an object.
    void setAnswerWithoutObject(bool on);

    // kAaxErrorUnknownId for a feature it does not know.
    Result AcquireFeatureProperties(const Uid& featureId, IACFUnknown** featureInfo) override;

protected:
    ~HostDescriptionHost() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXDescriptionHostV1 ? as<AAX_IACFDescriptionHost>() : nullptr;
    }

private:
    mutable std::mutex featuresMutex_;
    std::vector<std::pair<Uid, HostRef<HostFeatureInfo>>> features_;
    bool withoutObject_ = false;
};

// The host definition (IID_IACFDefinition) the host unknown answers.
class HostDefinition final : public HostObjectOf<IACFDefinition>
{
public:
    explicit HostDefinition(std::shared_ptr<CallRecorder> recorder)
        : HostObjectOf("Definition", std::move(recorder))
    {
    }

protected:
    ~HostDefinition() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IACFDefinition ? as<IACFDefinition>() : nullptr;
    }
};

// Settings shared by every description object the factory makes.
struct DescriptionSetup
{
    // Interface versions the new objects do not answer (e.g.
    // IID_IAAXEffectDescriptorV2). A missing first version is made with
    // factory().failComponent(...) instead.
    std::vector<Uid> refusedVersions;
};

// Registers the collection, effect descriptor, component descriptor and
// property map components with the host's factory. Returns the settings
// the creators read (change them before the plug-in creates objects).
std::shared_ptr<DescriptionSetup> installDescriptionComponents(Host& host);

// Makes the host unknown answer IID_IAAXDescriptionHostV1 with a new
// description host and IID_IACFDefinition with a new host definition.
HostRef<HostDescriptionHost> installDescriptionHost(Host& host);

} // namespace aaxhost

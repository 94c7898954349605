#include "description_test_support.h"

#include "AAX_Errors.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace
{

using aaxhost::HostComponentDescriptor;
using aaxhost::HostPropertyMap;
using aaxhost::ProcessProcRecord;
using aaxhost::Value;
using tambrix::test::hostMapOf;

void processA(void* const*, const void*) {}
int32_t initA(const void*, AAX_EComponentInstanceInitAction)
{
    return 0;
}
int32_t backgroundA()
{
    return 0;
}

const void* address(const void* p)
{
    return p;
}
template <class Fn>
const void* procAddress(Fn fn)
{
    return reinterpret_cast<const void*>(fn);
}

constexpr int32_t kNullArgument = -20044; // the host's answer to a null procedure
constexpr uint32_t kUntouched = 0xA5A5A5A5u;
const char* const kTraceNative = "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for "
                                 "AAX_eProperty_NativeProcessProc";
const char* const kTraceDll =
    "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName";
const char* const kTraceTI =
    "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc";

class ComponentDescriptorTest : public tambrix::test::DescriptionTest
{
protected:
    void SetUp() override
    {
        DescriptionTest::SetUp();
        descriptor = std::make_unique<AAX_VComponentDescriptor>(hostUnknown());
    }
    void TearDown() override
    {
        descriptor.reset();
        DescriptionTest::TearDown();
    }

    // A descriptor whose host lacks version 3, so procedures are registered one by one.
    void withoutVersion3()
    {
        setup->refusedVersions = {aaxhost::IID_IAAXComponentDescriptorV3};
        descriptor = std::make_unique<AAX_VComponentDescriptor>(hostUnknown());
    }

    HostComponentDescriptor* hostDescriptor()
    {
        return HostComponentDescriptor::fromUnknown(tambrix::test::asHost(descriptor->GetIUnknown()));
    }

    // A map of the descriptor's own with the native registration properties.
    AAX_IPropertyMap* nativeMap(bool withBufferLength)
    {
        AAX_IPropertyMap* map = descriptor->NewPropertyMap();
        map->AddProperty(AAX_eProperty_PlugInID_Native, 0x6A656C76);
        map->AddPointerProperty(AAX_eProperty_NativeProcessProc, procAddress(&processA));
        map->AddPointerProperty(AAX_eProperty_NativeInstanceInitProc, procAddress(&initA));
        map->AddPointerProperty(AAX_eProperty_NativeBackgroundProc, procAddress(&backgroundA));
        if (withBufferLength)
            map->AddProperty(AAX_eProperty_AudioBufferLength, 10);
        return map;
    }

    std::vector<std::string> traces() const
    {
        std::vector<std::string> texts;
        for (const auto& trace : host->services().traces())
        {
            EXPECT_EQ(trace.priority, 0x08000000);
            texts.push_back(trace.message);
        }
        return texts;
    }

    std::unique_ptr<AAX_VComponentDescriptor> descriptor;
};

// Each operation of the library's table reaches the host operation of the
// same name, whose position in the host's table differs from the library's.
TEST_F(ComponentDescriptorTest, OperationsReachTheHostPositions)
{
    AAX_IPropertyMap* map = descriptor->NewPropertyMap();
    const void* mapUnknown = map->GetIUnknown();
    uint32_t ids[3] = {};
    const AAX_CTypeID meters[2] = {0x4D657472, 0x4D657473};
    AAX_CSelector procID = 0;

    struct Case
    {
        const char* operation;
        std::function<AAX_Result()> call;
        std::vector<Value> args;
    };
    const std::vector<Case> cases = {
        {"Clear", [&] { return descriptor->Clear(); }, {}},
        {"AddAudioIn", [&] { return descriptor->AddAudioIn(0); }, {int64_t{0}}},
        {"AddAudioOut", [&] { return descriptor->AddAudioOut(1); }, {int64_t{1}}},
        {"AddAudioBufferLength", [&] { return descriptor->AddAudioBufferLength(2); }, {int64_t{2}}},
        {"AddSampleRate", [&] { return descriptor->AddSampleRate(3); }, {int64_t{3}}},
        {"AddClock", [&] { return descriptor->AddClock(4); }, {int64_t{4}}},
        {"AddSideChainIn", [&] { return descriptor->AddSideChainIn(9); }, {int64_t{9}}},
        {"AddDataInPort",
         [&] { return descriptor->AddDataInPort(3, 4, AAX_eDataInPortType_Incremental); },
         {int64_t{3}, uint64_t{4}, int64_t{2}}},
        {"AddAuxOutputStem",
         [&] { return descriptor->AddAuxOutputStem(0, 0x00010002, "aux"); },
         {int64_t{0}, int64_t{0x00010002}, std::string("aux")}},
        {"AddPrivateData",
         [&] { return descriptor->AddPrivateData(6, -4, 7); },
         {int64_t{6}, int64_t{-4}, uint64_t{7}}},
        {"AddTemporaryData", [&] { return descriptor->AddTemporaryData(5, 16); }, {int64_t{5}, uint64_t{16}}},
        {"AddDmaInstance",
         [&] { return descriptor->AddDmaInstance(7, AAX_IDma::eMode_Gather); },
         {int64_t{7}, int64_t{2}}},
        {"AddMeters",
         [&] { return descriptor->AddMeters(8, meters, 2); },
         {int64_t{8}, address(meters), uint64_t{2}, uint64_t{0x4D657472}, uint64_t{0x4D657473}}},
        {"AddMIDINode",
         [&] { return descriptor->AddMIDINode(4, AAX_eMIDINodeType_LocalOutput, "tambrix Out", 0xFFFF); },
         {int64_t{4}, int64_t{1}, std::string("tambrix Out"), uint64_t{0xFFFF}}},
        {"AddReservedField",
         [&] { return descriptor->AddReservedField(11, 0xBEEF); },
         {int64_t{11}, uint64_t{0xBEEF}}},
        {"AddProcessProc_Native",
         [&] { return descriptor->AddProcessProc_Native(&processA, map, &initA, &backgroundA, &procID); },
         {procAddress(&processA), mapUnknown, procAddress(&initA), procAddress(&backgroundA),
          address(&procID)}},
        {"AddProcessProc_TI",
         [&] { return descriptor->AddProcessProc_TI("dll", "proc", map, "init", "bg", &procID); },
         {std::string("dll"), std::string("proc"), mapUnknown, std::string("init"), std::string("bg"),
          address(&procID)}},
        {"AddProcessProc",
         [&] { return descriptor->AddProcessProc(map, ids, 3); },
         {mapUnknown, address(ids), int64_t{3}}},
    };

    for (const Case& c : cases)
    {
        host->recorder().clear();
        c.call();
        const auto calls = host->recorder().calls();
        ASSERT_EQ(calls.size(), 1u) << c.operation << "\n" << host->recorder().dump();
        EXPECT_EQ(calls[0].object, "ComponentDescriptor");
        EXPECT_EQ(calls[0].operation, c.operation);
        EXPECT_EQ(calls[0].args, c.args) << c.operation << ": " << calls[0].toString();
    }

    // Results come back from the host unchanged.
    hostDescriptor()->setResult("AddSideChainIn", -20025);
    EXPECT_EQ(descriptor->AddSideChainIn(9), -20025);
    // The typed form used by the framework forwards with no further procedures.
    host->recorder().clear();
    EXPECT_EQ(descriptor->AddProcessProc_Native(&processA, map), AAX_SUCCESS);
    EXPECT_EQ(
        host->recorder().calls()[0].args,
        (std::vector<Value>{procAddress(&processA), mapUnknown, procAddress<AAX_CInstanceInitProc>(nullptr),
                            procAddress<AAX_CBackgroundProc>(nullptr), address(nullptr)}));
}

TEST_F(ComponentDescriptorTest, MissingVersions)
{
    AAX_VComponentDescriptor orphan(nullptr);
    const AAX_CTypeID meter = 1;
    uint32_t ids[2] = {kUntouched, kUntouched};
    EXPECT_EQ(orphan.GetIUnknown(), nullptr);
    EXPECT_EQ(orphan.Clear(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddAudioIn(0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddDataInPort(3, 4), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddMeters(8, &meter, 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddReservedField(1, 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddProcessProc_Native(&processA, nullptr, nullptr, nullptr, nullptr),
              AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddProcessProc_TI("d", "p", nullptr, nullptr, nullptr, nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(orphan.AddTemporaryData(1, 1), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(orphan.NewPropertyMap(), nullptr);
    EXPECT_EQ(orphan.AddProcessProc(nullptr, ids, 2), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(ids[0], kUntouched);

    // Version 1 only: the later operations answer without calling the host.
    setup->refusedVersions = {aaxhost::IID_IAAXComponentDescriptorV2, aaxhost::IID_IAAXComponentDescriptorV3};
    AAX_VComponentDescriptor first(hostUnknown());
    host->recorder().clear();
    EXPECT_EQ(first.AddTemporaryData(1, 1), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(first.AddAudioIn(0), AAX_SUCCESS);
    EXPECT_EQ(host->recorder().size(), 1u);

    // Version 2 present, 3 missing: the manual registration, which needs a map.
    withoutVersion3();
    EXPECT_EQ(descriptor->AddTemporaryData(1, 1), AAX_SUCCESS);
    EXPECT_EQ(descriptor->AddProcessProc(nullptr, ids, 2), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(count("ComponentDescriptor", "AddProcessProc"), 0u);
}

TEST_F(ComponentDescriptorTest, DuplicateCopiesIntegersAndWholePointers)
{
    AAX_IPropertyMap* source = descriptor->NewPropertyMap();
    HostPropertyMap* sourceHost = hostMapOf(source);
    const auto* wide = reinterpret_cast<const void*>(uintptr_t{0x00007FFF00001234u});
    const auto* high = reinterpret_cast<const void*>(uintptr_t{0x80000000u});
    sourceHost->set(9, 1);   // below the copied range
    sourceHost->set(10, 4);  // first copied id
    sourceHost->set(13, -7); // negative integer
    sourceHost->set(36, reinterpret_cast<intptr_t>(wide));
    sourceHost->set(37, reinterpret_cast<intptr_t>(high));
    sourceHost->set(51, 0x00010002);
    sourceHost->set(401, 3); // last copied id
    sourceHost->set(402, 2); // above it

    AAX_IPropertyMap* copy = descriptor->DuplicatePropertyMap(source);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, source);
    const std::map<int32_t, intptr_t> expected = {{10, 4},
                                                  {13, -7},
                                                  {36, static_cast<intptr_t>(0x00007FFF00001234)},
                                                  {37, static_cast<intptr_t>(0x80000000u)},
                                                  {51, 0x00010002},
                                                  {401, 3}};
    EXPECT_EQ(hostMapOf(copy)->values(), expected);
    // The stem-format check applies to the copy: an unknown format is left out.
    sourceHost->set(52, static_cast<int32_t>(0x000D000Au));
    EXPECT_FALSE(hostMapOf(descriptor->DuplicatePropertyMap(source))->value(52).has_value());
}

TEST_F(ComponentDescriptorTest, DuplicateWithoutSourceOrNewMapGivesNull)
{
    const uint64_t created = host->factory().createdCount();
    EXPECT_EQ(descriptor->DuplicatePropertyMap(nullptr), nullptr);
    EXPECT_EQ(host->factory().createdCount(), created) << "no map made for a null source";

    AAX_IPropertyMap* source = descriptor->NewPropertyMap();
    source->AddProperty(AAX_eProperty_ManufacturerID, 1);
    host->factory().failComponent(aaxhost::AAXCompID_AAXPropertyMap);
    host->recorder().clear();
    EXPECT_EQ(descriptor->DuplicatePropertyMap(source), nullptr);
    EXPECT_EQ(count("PropertyMap", "GetProperty"), 0u) << "the source is not read";
}

TEST_F(ComponentDescriptorTest, NativeRegistrationWithTheGivenMap)
{
    withoutVersion3();
    AAX_IPropertyMap* map = nativeMap(false);
    uint32_t ids[3] = {kUntouched, kUntouched, kUntouched};
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, 2), AAX_SUCCESS);

    const auto procs = hostDescriptor()->processProcs();
    ASSERT_EQ(procs.size(), 1u);
    EXPECT_EQ(procs[0].kind, ProcessProcRecord::Kind::Native);
    EXPECT_EQ(procAddress(procs[0].processProc), procAddress(&processA));
    EXPECT_EQ(procAddress(procs[0].instanceInitProc), procAddress(&initA));
    EXPECT_EQ(procAddress(procs[0].backgroundProc), procAddress(&backgroundA));
    EXPECT_EQ(procs[0].properties.get(), hostMapOf(map));
    EXPECT_EQ(ids[0], procs[0].id);
    EXPECT_EQ(ids[1], 0u);
    EXPECT_EQ(ids[2], kUntouched);
    EXPECT_TRUE(traces().empty());
    EXPECT_EQ(count("ComponentDescriptor", "AddProcessProc"), 0u);
}

TEST_F(ComponentDescriptorTest, NativeRegistrationDropsTheBufferLengthFromACopy)
{
    withoutVersion3();
    AAX_IPropertyMap* map = nativeMap(true);
    uint32_t ids[2] = {kUntouched, kUntouched};
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, 2), AAX_SUCCESS);

    const auto procs = hostDescriptor()->processProcs();
    ASSERT_EQ(procs.size(), 1u);
    HostPropertyMap* registered = procs[0].properties.get();
    ASSERT_NE(registered, hostMapOf(map));
    EXPECT_FALSE(registered->value(AAX_eProperty_AudioBufferLength).has_value());
    EXPECT_EQ(registered->value(AAX_eProperty_PlugInID_Native), 0x6A656C76);
    EXPECT_EQ(registered->value(AAX_eProperty_NativeProcessProc), reinterpret_cast<intptr_t>(&processA));
    EXPECT_EQ(hostMapOf(map)->value(AAX_eProperty_AudioBufferLength), 10);
    EXPECT_TRUE(host->services().assertions().empty());

    // The copy goes with the component descriptor; the host keeps its own reference.
    const aaxhost::HostRef<HostPropertyMap> kept(registered);
    descriptor.reset();
    EXPECT_EQ(kept->refCount(), 2u) << "the host component's and this test's";
}

TEST_F(ComponentDescriptorTest, BufferLengthCopyThatCannotBeMadeKeepsTheGivenMap)
{
    withoutVersion3();
    AAX_IPropertyMap* map = nativeMap(true);
    host->factory().failComponent(aaxhost::AAXCompID_AAXPropertyMap);
    EXPECT_EQ(descriptor->AddProcessProc(map, nullptr, 0), AAX_SUCCESS);
    ASSERT_EQ(hostDescriptor()->processProcs().size(), 1u);
    EXPECT_EQ(hostDescriptor()->processProcs()[0].properties.get(), hostMapOf(map));
    EXPECT_TRUE(host->services().assertions().empty());
}

TEST_F(ComponentDescriptorTest, BufferLengthCopyFailuresAreReported)
{
    withoutVersion3();
    AAX_IPropertyMap* map = nativeMap(true);

    // Copies whose additions fail lack property 54: reported, the given map registered.
    host->factory().registerComponent(aaxhost::AAXCompID_AAXPropertyMap,
                                      [](const aaxhost::CreateRequest& request)
                                      {
                                          auto made = aaxhost::makeHost<HostPropertyMap>(request.recorder);
                                          made->setResult("AddProperty", -20001);
                                          return aaxhost::HostRef<aaxhost::HostObject>(made);
                                      });
    EXPECT_EQ(descriptor->AddProcessProc(map, nullptr, 0), AAX_SUCCESS);
    auto assertions = host->services().assertions();
    ASSERT_EQ(assertions.size(), 1u);
    EXPECT_EQ(assertions[0].condition, "0 != gotPropertySuccess");
    EXPECT_EQ(assertions[0].flags, 1);
    EXPECT_NE(assertions[0].file.find("AAX_VComponentDescriptor.cpp"), std::string::npos);
    EXPECT_GT(assertions[0].line, 0);
    EXPECT_EQ(hostDescriptor()->processProcs().back().properties.get(), hostMapOf(map));

    // Copies that refuse the removal: reported, and the copy is registered all the same.
    host->services().clear();
    host->factory().registerComponent(aaxhost::AAXCompID_AAXPropertyMap,
                                      [](const aaxhost::CreateRequest& request)
                                      {
                                          auto made = aaxhost::makeHost<HostPropertyMap>(request.recorder);
                                          made->setResult("RemoveProperty", -20001);
                                          return aaxhost::HostRef<aaxhost::HostObject>(made);
                                      });
    EXPECT_EQ(descriptor->AddProcessProc(map, nullptr, 0), AAX_SUCCESS);
    assertions = host->services().assertions();
    ASSERT_EQ(assertions.size(), 1u);
    EXPECT_EQ(assertions[0].condition, "AAX_SUCCESS == removeNativeAudioBufferLengthResult");
    EXPECT_EQ(assertions[0].flags, 1);
    HostPropertyMap* registered = hostDescriptor()->processProcs().back().properties.get();
    EXPECT_NE(registered, hostMapOf(map));
    EXPECT_EQ(registered->value(AAX_eProperty_AudioBufferLength), 10);
}

TEST_F(ComponentDescriptorTest, MissingProceduresAreTracedAndTheHostRefusesThem)
{
    withoutVersion3();
    uint32_t ids[4] = {kUntouched, kUntouched, kUntouched, kUntouched};

    AAX_IPropertyMap* native = descriptor->NewPropertyMap();
    native->AddProperty(AAX_eProperty_PlugInID_AudioSuite, 1);
    native->AddProperty(AAX_eProperty_PlugInID_TI, 1); // not attempted after the native failure
    EXPECT_EQ(descriptor->AddProcessProc(native, ids, 4), kNullArgument);
    EXPECT_EQ(traces(), std::vector<std::string>{kTraceNative});
    const auto nativeCalls = host->recorder().calls("ComponentDescriptor", "AddProcessProc_Native");
    ASSERT_EQ(nativeCalls.size(), 1u);
    EXPECT_EQ(nativeCalls[0].arg<const void*>(0), nullptr);
    EXPECT_EQ(count("ComponentDescriptor", "AddProcessProc_TI"), 0u);
    EXPECT_EQ(ids[0], kUntouched);

    host->services().clear();
    AAX_IPropertyMap* ti = descriptor->NewPropertyMap();
    ti->AddProperty(AAX_eProperty_PlugInID_TI, 1);
    EXPECT_EQ(descriptor->AddProcessProc(ti, ids, 4), kNullArgument);
    EXPECT_EQ(traces(), (std::vector<std::string>{kTraceDll, kTraceTI}));
    const auto tiCalls = host->recorder().calls("ComponentDescriptor", "AddProcessProc_TI");
    ASSERT_EQ(tiCalls.size(), 1u);
    EXPECT_EQ(tiCalls[0].args[0], Value(nullptr));
    EXPECT_EQ(tiCalls[0].args[1], Value(nullptr));
    EXPECT_EQ(tiCalls[0].args[2], Value(static_cast<const void*>(ti->GetIUnknown())));
    EXPECT_EQ(ids[0], kUntouched);
}

TEST_F(ComponentDescriptorTest, NativeThenTIAndTheOutputCapacity)
{
    withoutVersion3();
    AAX_IPropertyMap* map = nativeMap(false);
    static const char dll[] = "tambrix.dll";
    static const char proc[] = "ProcessTI";
    static const char init[] = "InitTI";
    map->AddProperty(AAX_eProperty_PlugInID_TI, 1);
    map->AddPointerProperty(AAX_eProperty_TIDLLFileName, dll);
    map->AddPointerProperty(AAX_eProperty_TIProcessProc, proc);
    map->AddPointerProperty(AAX_eProperty_TIInstanceInitProc, init);

    std::array<uint32_t, 4> ids;
    ids.fill(kUntouched);
    EXPECT_EQ(descriptor->AddProcessProc(map, ids.data(), 3), AAX_SUCCESS);
    auto procs = hostDescriptor()->processProcs();
    ASSERT_EQ(procs.size(), 2u);
    EXPECT_EQ(procs[1].kind, ProcessProcRecord::Kind::TI);
    EXPECT_EQ(procs[1].dllFileName, "tambrix.dll");
    EXPECT_EQ(procs[1].processProcSymbol, "ProcessTI");
    EXPECT_EQ(procs[1].instanceInitSymbol, "InitTI");
    EXPECT_EQ(procs[1].backgroundSymbol, "");
    EXPECT_EQ(procs[1].properties.get(), hostMapOf(map)) << "TI registers the given map";
    EXPECT_EQ(ids, (std::array<uint32_t, 4>{procs[0].id, procs[1].id, 0, kUntouched}));
    EXPECT_NE(procs[0].id, procs[1].id);

    // Two identifiers and the terminating 0 do not fit into 2.
    ids.fill(kUntouched);
    EXPECT_EQ(descriptor->AddProcessProc(map, ids.data(), 2), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ(ids[0], kUntouched);
    EXPECT_EQ(ids[1], kUntouched);
    EXPECT_TRUE(traces().empty());
}

TEST_F(ComponentDescriptorTest, FailedNativeRegistrationSkipsTIAndOutput)
{
    withoutVersion3();
    AAX_IPropertyMap* map = nativeMap(false);
    map->AddProperty(AAX_eProperty_PlugInID_TI, 1);
    hostDescriptor()->setResult("AddProcessProc_Native", -20012);
    uint32_t ids[3] = {kUntouched, kUntouched, kUntouched};
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, 3), -20012);
    EXPECT_EQ(count("ComponentDescriptor", "AddProcessProc_TI"), 0u);
    EXPECT_EQ(ids[0], kUntouched);
}

TEST_F(ComponentDescriptorTest, NothingToRegisterStillNeedsRoomForTheTerminator)
{
    withoutVersion3();
    AAX_IPropertyMap* map = descriptor->NewPropertyMap();
    map->AddProperty(AAX_eProperty_ManufacturerID, 1);
    uint32_t ids[2] = {kUntouched, kUntouched};
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, 1), AAX_SUCCESS);
    EXPECT_EQ(ids[0], 0u);
    EXPECT_EQ(ids[1], kUntouched);
    ids[0] = kUntouched;
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, 0), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, -1), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ(ids[0], kUntouched);
    EXPECT_EQ(descriptor->AddProcessProc(map, nullptr, 0), AAX_SUCCESS);
    EXPECT_TRUE(hostDescriptor()->processProcs().empty());
}

TEST_F(ComponentDescriptorTest, WithVersion3TheHostRegisters)
{
    AAX_IPropertyMap* map = nativeMap(true);
    uint32_t ids[2] = {kUntouched, kUntouched};
    EXPECT_EQ(descriptor->AddProcessProc(map, ids, 2), AAX_SUCCESS);
    const auto calls = host->recorder().calls("ComponentDescriptor", "AddProcessProc");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0], Value(static_cast<const void*>(hostMapOf(map)->v3Interface())));
    EXPECT_EQ(count("ComponentDescriptor", "AddProcessProc_Native"), 0u);
    ASSERT_EQ(hostDescriptor()->processProcs().size(), 1u);
    EXPECT_EQ(ids[0], hostDescriptor()->processProcs()[0].id);
    EXPECT_EQ(ids[1], 0u);
    hostDescriptor()->setResult("AddProcessProc", -20034);
    EXPECT_EQ(descriptor->AddProcessProc(nullptr, ids, 2), -20034) << "a null map is the host's to judge";
}

TEST_F(ComponentDescriptorTest, DestructionReleasesEverything)
{
    const int64_t live = aaxhost::HostObject::liveCount();
    const uint32_t unknownRefs = host->unknown().refCount();
    {
        auto other = std::make_unique<AAX_VComponentDescriptor>(hostUnknown());
        other->NewPropertyMap();
        other->DuplicatePropertyMap(other->NewPropertyMap());
        EXPECT_EQ(host->unknown().refCount(), unknownRefs + 1);
        EXPECT_EQ(aaxhost::HostObject::liveCount(), live + 4);
    }
    EXPECT_EQ(host->unknown().refCount(), unknownRefs);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), live);
}

} // namespace

// The library's own interfaces keep their operations in their published order, each
// at a fixed position in its table: code built apart from the library reaches them by
// position.
#include "AAX_IAutomationDelegate.h"
#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IController.h"
#include "AAX_IDescriptionHost.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IFeatureInfo.h"
#include "AAX_IHostServices.h"
#include "AAX_IPageTable.h"
#include "AAX_IParameter.h"
#include "AAX_IPropertyMap.h"
#include "AAX_IString.h"
#include "AAX_ITaperDelegate.h"
#include "AAX_ITransport.h"
#include "AAX_IViewContainer.h"
#include "CACFUnknown.h"

#include "virtual_slot.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace
{
using tambrix::test::VirtualSlot;

using TaperDelegate = AAX_ITaperDelegate<float>;
using DisplayDelegate = AAX_IDisplayDelegate<float>;

template <class Interface, class Signature>
using Member = Signature Interface::*;

struct Operation
{
    const char* name;
    std::size_t position;
};

// The operations of one interface in their published order. Every table starts with
// the destructor's two entries, so the first operation sits at position 2.
struct Table
{
    const char* interface;
    std::vector<Operation> operations;
};

constexpr std::size_t kFirstOperation = 2;

// clang-format off
#define OP(Interface, Name) Operation{#Name, VirtualSlot(&Interface::Name)}
#define OVERLOAD(Interface, Name, ...) \
    Operation{#Name " " #__VA_ARGS__, VirtualSlot<Member<Interface, __VA_ARGS__>>(&Interface::Name)}
// clang-format on

std::vector<Table> Tables()
{
    return {
        {"AAX_ICollection",
         {OP(AAX_ICollection, NewDescriptor), OP(AAX_ICollection, AddEffect),
          OP(AAX_ICollection, SetManufacturerName), OP(AAX_ICollection, AddPackageName),
          OP(AAX_ICollection, SetPackageVersion), OP(AAX_ICollection, NewPropertyMap),
          OP(AAX_ICollection, SetProperties),
          OVERLOAD(AAX_ICollection, DescriptionHost, AAX_IDescriptionHost * ()),
          OVERLOAD(AAX_ICollection, DescriptionHost, const AAX_IDescriptionHost*() const),
          OP(AAX_ICollection, HostDefinition)}},
        {"AAX_IEffectDescriptor",
         {OP(AAX_IEffectDescriptor, NewComponentDescriptor), OP(AAX_IEffectDescriptor, AddComponent),
          OP(AAX_IEffectDescriptor, AddName), OP(AAX_IEffectDescriptor, AddCategory),
          OP(AAX_IEffectDescriptor, AddCategoryBypassParameter), OP(AAX_IEffectDescriptor, AddProcPtr),
          OP(AAX_IEffectDescriptor, NewPropertyMap), OP(AAX_IEffectDescriptor, SetProperties),
          OP(AAX_IEffectDescriptor, AddResourceInfo), OP(AAX_IEffectDescriptor, AddMeterDescription),
          OP(AAX_IEffectDescriptor, AddControlMIDINode)}},
        {"AAX_IComponentDescriptor",
         {OP(AAX_IComponentDescriptor, Clear),
          OP(AAX_IComponentDescriptor, AddAudioIn),
          OP(AAX_IComponentDescriptor, AddAudioOut),
          OP(AAX_IComponentDescriptor, AddAudioBufferLength),
          OP(AAX_IComponentDescriptor, AddSampleRate),
          OP(AAX_IComponentDescriptor, AddClock),
          OP(AAX_IComponentDescriptor, AddSideChainIn),
          OP(AAX_IComponentDescriptor, AddDataInPort),
          OP(AAX_IComponentDescriptor, AddAuxOutputStem),
          OP(AAX_IComponentDescriptor, AddPrivateData),
          OP(AAX_IComponentDescriptor, AddTemporaryData),
          OP(AAX_IComponentDescriptor, AddDmaInstance),
          OP(AAX_IComponentDescriptor, AddMeters),
          OP(AAX_IComponentDescriptor, AddMIDINode),
          OP(AAX_IComponentDescriptor, AddReservedField),
          OP(AAX_IComponentDescriptor, NewPropertyMap),
          OP(AAX_IComponentDescriptor, DuplicatePropertyMap),
          OVERLOAD(AAX_IComponentDescriptor, AddProcessProc_Native,
                   AAX_Result(AAX_CProcessProc, AAX_IPropertyMap*, AAX_CInstanceInitProc, AAX_CBackgroundProc,
                              AAX_CSelector*)),
          OP(AAX_IComponentDescriptor, AddProcessProc_TI),
          OP(AAX_IComponentDescriptor, AddProcessProc)}},
        {"AAX_IPropertyMap",
         {OP(AAX_IPropertyMap, GetProperty), OP(AAX_IPropertyMap, GetPointerProperty),
          OP(AAX_IPropertyMap, AddProperty),
          OVERLOAD(AAX_IPropertyMap, AddPointerProperty, AAX_Result(AAX_EProperty, const void*)),
          OVERLOAD(AAX_IPropertyMap, AddPointerProperty, AAX_Result(AAX_EProperty, const char*)),
          OP(AAX_IPropertyMap, RemoveProperty), OP(AAX_IPropertyMap, AddPropertyWithIDArray),
          OP(AAX_IPropertyMap, GetPropertyWithIDArray), OP(AAX_IPropertyMap, GetIUnknown)}},
        {"AAX_IDescriptionHost", {OP(AAX_IDescriptionHost, AcquireFeatureProperties)}},
        {"AAX_IFeatureInfo",
         {OP(AAX_IFeatureInfo, SupportLevel), OP(AAX_IFeatureInfo, AcquireProperties),
          OP(AAX_IFeatureInfo, ID)}},
        {"AAX_IHostServices",
         {OP(AAX_IHostServices, HandleAssertFailure), OP(AAX_IHostServices, Trace),
          OP(AAX_IHostServices, StackTrace)}},
        {"CACFUnknown",
         {OP(CACFUnknown, InitializeInstance), OP(CACFUnknown, FinalRelease), OP(CACFUnknown, ReclaimMemory),
          OP(CACFUnknown, InternalQueryInterface), OP(CACFUnknown, InternalAddRef),
          OP(CACFUnknown, InternalRelease)}},
        {"AAX_IController",
         {OP(AAX_IController, GetEffectID),
          OP(AAX_IController, GetSampleRate),
          OP(AAX_IController, GetInputStemFormat),
          OP(AAX_IController, GetOutputStemFormat),
          OP(AAX_IController, GetSignalLatency),
          OP(AAX_IController, GetCycleCount),
          OP(AAX_IController, GetTODLocation),
          OP(AAX_IController, SetSignalLatency),
          OP(AAX_IController, SetCycleCount),
          OP(AAX_IController, PostPacket),
          OVERLOAD(AAX_IController, SendNotification, AAX_Result(AAX_CTypeID, const void*, uint32_t)),
          OVERLOAD(AAX_IController, SendNotification, AAX_Result(AAX_CTypeID)),
          OP(AAX_IController, GetCurrentMeterValue),
          OP(AAX_IController, GetMeterPeakValue),
          OP(AAX_IController, ClearMeterPeakValue),
          OP(AAX_IController, GetMeterCount),
          OP(AAX_IController, GetMeterClipped),
          OP(AAX_IController, ClearMeterClipped),
          OP(AAX_IController, GetNextMIDIPacket),
          OP(AAX_IController, GetHybridSignalLatency),
          OP(AAX_IController, GetCurrentAutomationTimestamp),
          OP(AAX_IController, GetHostName),
          OP(AAX_IController, GetPlugInTargetPlatform),
          OP(AAX_IController, GetIsAudioSuite),
          OP(AAX_IController, CreateTableCopyForEffect),
          OP(AAX_IController, CreateTableCopyForLayout),
          OP(AAX_IController, CreateTableCopyForEffectFromFile),
          OP(AAX_IController, CreateTableCopyForLayoutFromFile)}},
        {"AAX_ITransport",
         {OP(AAX_ITransport, GetCurrentTempo), OP(AAX_ITransport, GetCurrentMeter),
          OP(AAX_ITransport, IsTransportPlaying), OP(AAX_ITransport, GetCurrentTickPosition),
          OP(AAX_ITransport, GetCurrentLoopPosition), OP(AAX_ITransport, GetCurrentNativeSampleLocation),
          OP(AAX_ITransport, GetCustomTickPosition), OP(AAX_ITransport, GetBarBeatPosition),
          OP(AAX_ITransport, GetTicksPerQuarter), OP(AAX_ITransport, GetCurrentTicksPerBeat),
          OP(AAX_ITransport, GetTimelineSelectionStartPosition), OP(AAX_ITransport, GetTimeCodeInfo),
          OP(AAX_ITransport, GetFeetFramesInfo), OP(AAX_ITransport, IsMetronomeEnabled)}},
        {"AAX_IAutomationDelegate",
         {OP(AAX_IAutomationDelegate, RegisterParameter), OP(AAX_IAutomationDelegate, UnregisterParameter),
          OP(AAX_IAutomationDelegate, PostSetValueRequest), OP(AAX_IAutomationDelegate, PostCurrentValue),
          OP(AAX_IAutomationDelegate, PostTouchRequest), OP(AAX_IAutomationDelegate, PostReleaseRequest),
          OP(AAX_IAutomationDelegate, GetTouchState)}},
        {"AAX_IViewContainer",
         {OP(AAX_IViewContainer, GetType), OP(AAX_IViewContainer, GetPtr),
          OP(AAX_IViewContainer, GetModifiers), OP(AAX_IViewContainer, SetViewSize),
          OP(AAX_IViewContainer, HandleParameterMouseDown), OP(AAX_IViewContainer, HandleParameterMouseDrag),
          OP(AAX_IViewContainer, HandleParameterMouseUp),
          OP(AAX_IViewContainer, HandleMultipleParametersMouseDown),
          OP(AAX_IViewContainer, HandleMultipleParametersMouseDrag),
          OP(AAX_IViewContainer, HandleMultipleParametersMouseUp)}},
        {"AAX_IPageTable",
         {OP(AAX_IPageTable, Clear), OP(AAX_IPageTable, Empty), OP(AAX_IPageTable, GetNumPages),
          OP(AAX_IPageTable, InsertPage), OP(AAX_IPageTable, RemovePage),
          OP(AAX_IPageTable, GetNumMappedParameterIDs), OP(AAX_IPageTable, ClearMappedParameter),
          OP(AAX_IPageTable, GetMappedParameterID), OP(AAX_IPageTable, MapParameterID),
          OP(AAX_IPageTable, GetNumParametersWithNameVariations),
          OP(AAX_IPageTable, GetNameVariationParameterIDAtIndex),
          OP(AAX_IPageTable, GetNumNameVariationsForParameter),
          OP(AAX_IPageTable, GetParameterNameVariationAtIndex),
          OP(AAX_IPageTable, GetParameterNameVariationOfLength),
          OP(AAX_IPageTable, ClearParameterNameVariations),
          OP(AAX_IPageTable, ClearNameVariationsForParameter),
          OP(AAX_IPageTable, SetParameterNameVariation)}},
        {"AAX_IString",
         {OP(AAX_IString, Length), OP(AAX_IString, MaxLength), OP(AAX_IString, Get), OP(AAX_IString, Set),
          OVERLOAD(AAX_IString, operator=, AAX_IString & (const AAX_IString&)),
          OVERLOAD(AAX_IString, operator=, AAX_IString & (const char*))}},
        {"AAX_IParameterValue",
         {OP(AAX_IParameterValue, Clone), OP(AAX_IParameterValue, Identifier),
          OP(AAX_IParameterValue, GetValueAsBool), OP(AAX_IParameterValue, GetValueAsInt32),
          OP(AAX_IParameterValue, GetValueAsFloat), OP(AAX_IParameterValue, GetValueAsDouble),
          OP(AAX_IParameterValue, GetValueAsString)}},
        {"AAX_IParameter",
         {OP(AAX_IParameter, CloneValue),
          OP(AAX_IParameter, Identifier),
          OP(AAX_IParameter, SetName),
          OP(AAX_IParameter, Name),
          OP(AAX_IParameter, AddShortenedName),
          OP(AAX_IParameter, ShortenedName),
          OP(AAX_IParameter, ClearShortenedNames),
          OP(AAX_IParameter, Automatable),
          OP(AAX_IParameter, SetAutomationDelegate),
          OP(AAX_IParameter, Touch),
          OP(AAX_IParameter, Release),
          OP(AAX_IParameter, SetNormalizedValue),
          OP(AAX_IParameter, GetNormalizedValue),
          OP(AAX_IParameter, SetNormalizedDefaultValue),
          OP(AAX_IParameter, GetNormalizedDefaultValue),
          OP(AAX_IParameter, SetToDefaultValue),
          OP(AAX_IParameter, SetNumberOfSteps),
          OP(AAX_IParameter, GetNumberOfSteps),
          OP(AAX_IParameter, GetStepValue),
          OP(AAX_IParameter, GetNormalizedValueFromStep),
          OP(AAX_IParameter, GetStepValueFromNormalizedValue),
          OP(AAX_IParameter, SetStepValue),
          OVERLOAD(AAX_IParameter, GetValueString, bool(AAX_CString*) const),
          OVERLOAD(AAX_IParameter, GetValueString, bool(int32_t, AAX_CString*) const),
          OP(AAX_IParameter, GetNormalizedValueFromBool),
          OP(AAX_IParameter, GetNormalizedValueFromInt32),
          OP(AAX_IParameter, GetNormalizedValueFromFloat),
          OP(AAX_IParameter, GetNormalizedValueFromDouble),
          OP(AAX_IParameter, GetNormalizedValueFromString),
          OP(AAX_IParameter, GetBoolFromNormalizedValue),
          OP(AAX_IParameter, GetInt32FromNormalizedValue),
          OP(AAX_IParameter, GetFloatFromNormalizedValue),
          OP(AAX_IParameter, GetDoubleFromNormalizedValue),
          OVERLOAD(AAX_IParameter, GetStringFromNormalizedValue, bool(double, AAX_CString&) const),
          OVERLOAD(AAX_IParameter, GetStringFromNormalizedValue, bool(double, int32_t, AAX_CString&) const),
          OP(AAX_IParameter, SetValueFromString),
          OP(AAX_IParameter, GetValueAsBool),
          OP(AAX_IParameter, GetValueAsInt32),
          OP(AAX_IParameter, GetValueAsFloat),
          OP(AAX_IParameter, GetValueAsDouble),
          OP(AAX_IParameter, GetValueAsString),
          OP(AAX_IParameter, SetValueWithBool),
          OP(AAX_IParameter, SetValueWithInt32),
          OP(AAX_IParameter, SetValueWithFloat),
          OP(AAX_IParameter, SetValueWithDouble),
          OP(AAX_IParameter, SetValueWithString),
          OP(AAX_IParameter, SetType),
          OP(AAX_IParameter, GetType),
          OP(AAX_IParameter, SetOrientation),
          OP(AAX_IParameter, GetOrientation),
          OP(AAX_IParameter, SetTaperDelegate),
          OP(AAX_IParameter, SetDisplayDelegate),
          OP(AAX_IParameter, UpdateNormalizedValue)}},
        {"AAX_ITaperDelegate<float>",
         {OP(TaperDelegate, Clone), OP(TaperDelegate, GetMaximumValue), OP(TaperDelegate, GetMinimumValue),
          OP(TaperDelegate, ConstrainRealValue), OP(TaperDelegate, NormalizedToReal),
          OP(TaperDelegate, RealToNormalized)}},
        {"AAX_IDisplayDelegate<float>",
         {OP(DisplayDelegate, Clone),
          OVERLOAD(DisplayDelegate, ValueToString, bool(float, AAX_CString*) const),
          OVERLOAD(DisplayDelegate, ValueToString, bool(float, int32_t, AAX_CString*) const),
          OP(DisplayDelegate, StringToValue)}},
    };
}

#undef OP
#undef OVERLOAD

TEST(InterfaceTables, EveryOperationSitsAtItsPublishedPosition)
{
#if defined(__x86_64__)
    for (const Table& table : Tables())
        for (std::size_t i = 0; i < table.operations.size(); ++i)
            EXPECT_EQ(table.operations[i].position, kFirstOperation + i)
                << table.interface << "::" << table.operations[i].name;
#else
    GTEST_SKIP() << "table positions are read with the x86-64 layout of member pointers";
#endif
}
} // namespace

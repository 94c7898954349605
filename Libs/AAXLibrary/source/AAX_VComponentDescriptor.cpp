#include "AAX_VComponentDescriptor.h"

#include "AAX_Assert.h"
#include "AAX_CHostServices.h"
#include "AAX_DescriptionSupport.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPropertyMap.h"
#include "acfbaseapi.h"

#include <memory>
#include <vector>

using namespace AAX_DescriptionSupport;

namespace
{
// Reads a pointer property; an absent one reads as null.
const void* PointerProperty(const AAX_IPropertyMap& map, AAX_EProperty property, bool* present = nullptr)
{
    const void* value = nullptr;
    const bool found = map.GetPointerProperty(property, &value);
    if (present != nullptr)
        *present = found;
    return found ? value : nullptr;
}

// The lowest and highest property ids a copy of a map visits.
constexpr int32_t kFirstCopiedProperty = 10;
constexpr int32_t kLastCopiedProperty = 401;
} // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* pUnkHost) : mUnkHost(pUnkHost)
{
    if (pUnkHost == nullptr)
        return;
    ACFPtr<IACFComponentFactory> factory;
    if (!QueryInto(pUnkHost, IID_IACFComponentFactory, factory))
        return;
    if (CreateInto(factory.get(), AAXCompID_AAXComponentDescriptor, IID_IAAXComponentDescriptorV1,
                   mIACFComponentDescriptor))
    {
        QueryInto(mIACFComponentDescriptor.get(), IID_IAAXComponentDescriptorV2, mIACFComponentDescriptorV2);
        QueryInto(mIACFComponentDescriptor.get(), IID_IAAXComponentDescriptorV3, mIACFComponentDescriptorV3);
    }
}

// The maps first (copies included); then the members release version 3, 2, 1
// and the host unknown.
AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    DeleteAll(mPropertyMaps);
}

IACFUnknown* AAX_VComponentDescriptor::GetIUnknown() const
{
    return mIACFComponentDescriptor.get();
}

AAX_Result AAX_VComponentDescriptor::Clear()
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->Clear();
}

AAX_Result AAX_VComponentDescriptor::AddAudioIn(AAX_CFieldIndex inFieldIndex)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddAudioIn(inFieldIndex);
}

AAX_Result AAX_VComponentDescriptor::AddAudioOut(AAX_CFieldIndex inFieldIndex)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddAudioOut(inFieldIndex);
}

AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex inFieldIndex)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddAudioBufferLength(inFieldIndex);
}

AAX_Result AAX_VComponentDescriptor::AddSampleRate(AAX_CFieldIndex inFieldIndex)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddSampleRate(inFieldIndex);
}

AAX_Result AAX_VComponentDescriptor::AddClock(AAX_CFieldIndex inFieldIndex)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddClock(inFieldIndex);
}

AAX_Result AAX_VComponentDescriptor::AddSideChainIn(AAX_CFieldIndex inFieldIndex)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddSideChainIn(inFieldIndex);
}

AAX_Result AAX_VComponentDescriptor::AddDataInPort(AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize,
                                                   AAX_EDataInPortType inPortType)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddDataInPort(inFieldIndex, inPacketSize, inPortType);
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex inFieldIndex, int32_t inStemFormat,
                                                      const char inNameUTF8[])
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddAuxOutputStem(inFieldIndex, inStemFormat, inNameUTF8);
}

AAX_Result AAX_VComponentDescriptor::AddPrivateData(AAX_CFieldIndex inFieldIndex, int32_t inDataSize,
                                                    uint32_t inOptions)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddPrivateData(inFieldIndex, inDataSize, inOptions);
}

AAX_Result AAX_VComponentDescriptor::AddTemporaryData(AAX_CFieldIndex inFieldIndex,
                                                      uint32_t inDataElementSize)
{
    if (mIACFComponentDescriptorV2.isNull())
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFComponentDescriptorV2.get()->AddTemporaryData(inFieldIndex, inDataElementSize);
}

AAX_Result AAX_VComponentDescriptor::AddDmaInstance(AAX_CFieldIndex inFieldIndex, AAX_IDma::EMode inDmaMode)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddDmaInstance(inFieldIndex, inDmaMode);
}

AAX_Result AAX_VComponentDescriptor::AddMeters(AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs,
                                               uint32_t inMeterCount)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddMeters(inFieldIndex, inMeterIDs, inMeterCount);
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode(AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType,
                                                 const char inNodeName[], uint32_t inChannelMask)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddMIDINode(inFieldIndex, inNodeType, inNodeName, inChannelMask);
}

AAX_Result AAX_VComponentDescriptor::AddReservedField(AAX_CFieldIndex inFieldIndex, uint32_t inFieldType)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddReservedField(inFieldIndex, inFieldType);
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap() const
{
    return NewOwnedPropertyMap(mUnkHost.get(), mPropertyMaps);
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap(AAX_IPropertyMap* inPropertyMap) const
{
    if (inPropertyMap == nullptr)
        return nullptr;
    AAX_IPropertyMap* const copy = NewPropertyMap();
    // A map without a host object could hold nothing: no copy, the source unread.
    if (copy == nullptr || copy->GetIUnknown() == nullptr)
        return nullptr;

    for (int32_t id = kFirstCopiedProperty; id <= kLastCopiedProperty; ++id)
    {
        const auto property = static_cast<AAX_EProperty>(id);
        AAX_CPropertyValue value = 0;
        const void* pointer = nullptr;
        if (inPropertyMap->GetProperty(property, &value))
        {
            // Integer and pointer properties share one slot; a value that is not
            // the sign-extension of its low 32 bits is a pointer and is copied whole.
            if (inPropertyMap->GetPointerProperty(property, &pointer) &&
                reinterpret_cast<AAX_CPointerPropertyValue>(pointer) !=
                    static_cast<AAX_CPointerPropertyValue>(value))
                copy->AddPointerProperty(property, pointer);
            else
                copy->AddProperty(property, value);
        }
        else if (inPropertyMap->GetPointerProperty(property, &pointer))
        {
            copy->AddPointerProperty(property, pointer);
        }
    }
    return copy;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc inProcessProc,
                                                           AAX_IPropertyMap* inProperties,
                                                           AAX_CInstanceInitProc inInstanceInitProc,
                                                           AAX_CBackgroundProc inBackgroundProc,
                                                           AAX_CSelector* outProcID)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddProcessProc_Native(
        inProcessProc, HostObjectOf(inProperties), inInstanceInitProc, inBackgroundProc, outProcID);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI(
    const char inDLLFileNameUTF8[], const char inProcessProcSymbol[], AAX_IPropertyMap* inProperties,
    const char inInstanceInitProcSymbol[], const char inBackgroundProcSymbol[], AAX_CSelector* outProcID)
{
    if (mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFComponentDescriptor.get()->AddProcessProc_TI(
        inDLLFileNameUTF8, inProcessProcSymbol, HostObjectOf(inProperties), inInstanceInitProcSymbol,
        inBackgroundProcSymbol, outProcID);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc(AAX_IPropertyMap* inProperties, AAX_CSelector* outProcIDs,
                                                    int32_t inProcIDsSize)
{
    if (mIACFComponentDescriptorV3)
        return mIACFComponentDescriptorV3.get()->AddProcessProc(HostObjectOf(inProperties), outProcIDs,
                                                                inProcIDsSize);

    // Without the newest host version the procedures are registered one by one.
    if (inProperties == nullptr || mIACFComponentDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;

    AAX_CPropertyValue unused = 0;
    const bool hasNativeID = inProperties->GetProperty(AAX_eProperty_PlugInID_Native, &unused);
    const bool hasAudioSuiteID = inProperties->GetProperty(AAX_eProperty_PlugInID_AudioSuite, &unused);
    const bool hasTIID = inProperties->GetProperty(AAX_eProperty_PlugInID_TI, &unused);

    std::vector<AAX_CSelector> procIDs;
    AAX_Result result = AAX_SUCCESS;

    if (hasNativeID || hasAudioSuiteID)
    {
        bool present = false;
        const void* const processProc =
            PointerProperty(*inProperties, AAX_eProperty_NativeProcessProc, &present);
        if (!present)
            AAX_CHostServices::Trace(
                AAX_eTracePriorityHost_High,
                "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for "
                "AAX_eProperty_NativeProcessProc");
        const void* const instanceInitProc =
            PointerProperty(*inProperties, AAX_eProperty_NativeInstanceInitProc);
        const void* const backgroundProc = PointerProperty(*inProperties, AAX_eProperty_NativeBackgroundProc);

        // The native registration goes without the audio buffer length.
        AAX_IPropertyMap* registered = inProperties;
        if (inProperties->GetProperty(AAX_eProperty_AudioBufferLength, &unused))
        {
            AAX_IPropertyMap* const copy = DuplicatePropertyMap(inProperties);
            if (copy != nullptr && copy->GetIUnknown() != nullptr)
            {
                AAX_CPropertyValue bufferLength = 0;
                const bool gotPropertySuccess =
                    copy->GetProperty(AAX_eProperty_AudioBufferLength, &bufferLength);
                AAX_ASSERT(0 != gotPropertySuccess);
                if (gotPropertySuccess)
                {
                    const AAX_Result removeNativeAudioBufferLengthResult =
                        copy->RemoveProperty(AAX_eProperty_AudioBufferLength);
                    AAX_ASSERT(AAX_SUCCESS == removeNativeAudioBufferLengthResult);
                    registered = copy;
                }
            }
        }

        AAX_CSelector procID = 0;
        result = AddProcessProc_Native(
            reinterpret_cast<AAX_CProcessProc>(const_cast<void*>(processProc)), registered,
            reinterpret_cast<AAX_CInstanceInitProc>(const_cast<void*>(instanceInitProc)),
            reinterpret_cast<AAX_CBackgroundProc>(const_cast<void*>(backgroundProc)), &procID);
        if (result == AAX_SUCCESS)
            procIDs.push_back(procID);
    }

    if (hasTIID && result == AAX_SUCCESS)
    {
        bool present = false;
        const auto* const dllFileName =
            static_cast<const char*>(PointerProperty(*inProperties, AAX_eProperty_TIDLLFileName, &present));
        if (!present)
            AAX_CHostServices::Trace(
                AAX_eTracePriorityHost_High,
                "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for "
                "AAX_eProperty_TIDLLFileName");
        const auto* const processProcSymbol =
            static_cast<const char*>(PointerProperty(*inProperties, AAX_eProperty_TIProcessProc, &present));
        if (!present)
            AAX_CHostServices::Trace(
                AAX_eTracePriorityHost_High,
                "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for "
                "AAX_eProperty_TIProcessProc");
        const auto* const instanceInitSymbol =
            static_cast<const char*>(PointerProperty(*inProperties, AAX_eProperty_TIInstanceInitProc));
        const auto* const backgroundSymbol =
            static_cast<const char*>(PointerProperty(*inProperties, AAX_eProperty_TIBackgroundProc));

        AAX_CSelector procID = 0;
        result = AddProcessProc_TI(dllFileName, processProcSymbol, inProperties, instanceInitSymbol,
                                   backgroundSymbol, &procID);
        if (result == AAX_SUCCESS)
            procIDs.push_back(procID);
    }

    if (outProcIDs != nullptr && result == AAX_SUCCESS)
    {
        // The identifiers and a terminating 0 must fit the caller's array.
        const std::size_t count = procIDs.size();
        if (count > 0x7FFFFFFEu || static_cast<int64_t>(count) >= static_cast<int64_t>(inProcIDsSize))
            return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;
        for (std::size_t i = 0; i < count; ++i)
            outProcIDs[i] = procIDs[i];
        outProcIDs[count] = 0;
    }
    return result;
}

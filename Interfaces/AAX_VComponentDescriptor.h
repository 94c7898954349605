// Wrapper of the host's component descriptor.
#pragma once

#include "AAX_IComponentDescriptor.h"
#include "AAX_IACFComponentDescriptor.h"
#include "ACFPtr.h"

#include <set>

/// Owns the property maps it hands out (copies included).
class AAX_VComponentDescriptor : public AAX_IComponentDescriptor
{
public:
    explicit AAX_VComponentDescriptor(IACFUnknown* pUnkHost);
    ~AAX_VComponentDescriptor() override;

    AAX_VComponentDescriptor(const AAX_VComponentDescriptor&) = delete;
    AAX_VComponentDescriptor& operator=(const AAX_VComponentDescriptor&) = delete;

    using AAX_IComponentDescriptor::AddProcessProc_Native;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn(AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddAudioOut(AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddSampleRate(AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddClock(AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddSideChainIn(AAX_CFieldIndex inFieldIndex) override;
    AAX_Result AddDataInPort(AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize,
                             AAX_EDataInPortType inPortType = AAX_eDataInPortType_Buffered) override;
    AAX_Result AddAuxOutputStem(AAX_CFieldIndex inFieldIndex, int32_t inStemFormat,
                                const char inNameUTF8[]) override;
    AAX_Result AddPrivateData(AAX_CFieldIndex inFieldIndex, int32_t inDataSize,
                              uint32_t inOptions = 0) override;
    AAX_Result AddTemporaryData(AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) override;
    AAX_Result AddDmaInstance(AAX_CFieldIndex inFieldIndex, AAX_IDma::EMode inDmaMode) override;
    AAX_Result AddMeters(AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs,
                         uint32_t inMeterCount) override;
    AAX_Result AddMIDINode(AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType,
                           const char inNodeName[], uint32_t inChannelMask) override;
    AAX_Result AddReservedField(AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) override;
    AAX_IPropertyMap* NewPropertyMap() const override;
    AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* inPropertyMap) const override;
    AAX_Result AddProcessProc_Native(AAX_CProcessProc inProcessProc, AAX_IPropertyMap* inProperties,
                                     AAX_CInstanceInitProc inInstanceInitProc,
                                     AAX_CBackgroundProc inBackgroundProc, AAX_CSelector* outProcID) override;
    AAX_Result AddProcessProc_TI(const char inDLLFileNameUTF8[], const char inProcessProcSymbol[],
                                 AAX_IPropertyMap* inProperties, const char inInstanceInitProcSymbol[],
                                 const char inBackgroundProcSymbol[], AAX_CSelector* outProcID) override;
    AAX_Result AddProcessProc(AAX_IPropertyMap* inProperties, AAX_CSelector* outProcIDs = nullptr,
                              int32_t inProcIDsSize = 0) override;

    /// The host descriptor (version 1), no reference added.
    IACFUnknown* GetIUnknown() const;

private:
    ACFPtr<IACFUnknown> mUnkHost;
    ACFPtr<AAX_IACFComponentDescriptor> mIACFComponentDescriptor;
    ACFPtr<AAX_IACFComponentDescriptor_V2> mIACFComponentDescriptorV2;
    ACFPtr<AAX_IACFComponentDescriptor_V3> mIACFComponentDescriptorV3;
    mutable std::set<AAX_IPropertyMap*> mPropertyMaps;
};

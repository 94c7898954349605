// Wrapper of the host's effect descriptor.
#pragma once

#include "AAX_IEffectDescriptor.h"
#include "AAX_IACFEffectDescriptor.h"
#include "ACFPtr.h"

#include <set>

/// Owns the component descriptors and property maps it hands out.
class AAX_VEffectDescriptor : public AAX_IEffectDescriptor
{
public:
    explicit AAX_VEffectDescriptor(IACFUnknown* pUnkHost);
    ~AAX_VEffectDescriptor() override;

    AAX_VEffectDescriptor(const AAX_VEffectDescriptor&) = delete;
    AAX_VEffectDescriptor& operator=(const AAX_VEffectDescriptor&) = delete;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent(AAX_IComponentDescriptor* inComponentDescriptor) override;
    AAX_Result AddName(const char* inPlugInName) override;
    AAX_Result AddCategory(uint32_t inCategory) override;
    AAX_Result AddCategoryBypassParameter(uint32_t inCategory, AAX_CParamID inParamID) override;
    AAX_Result AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* inProperties) override;
    AAX_Result AddResourceInfo(AAX_EResourceType inResourceType, const char* inInfo) override;
    AAX_Result AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,
                                   AAX_IPropertyMap* inProperties) override;
    AAX_Result AddControlMIDINode(AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType, const char inNodeName[],
                                  uint32_t inChannelMask) override;

    /// The host descriptor (version 1), no reference added; null when creation failed.
    IACFUnknown* GetIUnknown() const;

private:
    ACFPtr<IACFUnknown> mUnkHost;
    ACFPtr<AAX_IACFEffectDescriptor> mIACFEffectDescriptor;
    ACFPtr<AAX_IACFEffectDescriptor_V2> mIACFEffectDescriptorV2;
    std::set<AAX_IComponentDescriptor*> mComponentDescriptors;
    std::set<AAX_IPropertyMap*> mPropertyMaps;
};

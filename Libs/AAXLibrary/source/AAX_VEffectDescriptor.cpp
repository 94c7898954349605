#include "AAX_VEffectDescriptor.h"

#include "AAX_DescriptionSupport.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "acfbaseapi.h"

#include <memory>

using namespace AAX_DescriptionSupport;

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* pUnkHost) : mUnkHost(pUnkHost)
{
    if (pUnkHost == nullptr)
        return;
    ACFPtr<IACFComponentFactory> factory;
    if (!QueryInto(pUnkHost, IID_IACFComponentFactory, factory))
        return;
    if (CreateInto(factory.get(), AAXCompID_AAXEffectDescriptor, IID_IAAXEffectDescriptorV1,
                   mIACFEffectDescriptor))
        QueryInto(mIACFEffectDescriptor.get(), IID_IAAXEffectDescriptorV2, mIACFEffectDescriptorV2);
}

// Component descriptors, then property maps; then the members release
// version 2, version 1 and the host unknown.
AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    DeleteAll(mComponentDescriptors);
    DeleteAll(mPropertyMaps);
}

IACFUnknown* AAX_VEffectDescriptor::GetIUnknown() const
{
    return mIACFEffectDescriptor.get();
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    auto component = std::make_unique<AAX_VComponentDescriptor>(mUnkHost.get());
    mComponentDescriptors.insert(component.get());
    return component.release();
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_IComponentDescriptor* inComponentDescriptor)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    IACFUnknown* component = nullptr;
    if (inComponentDescriptor != nullptr)
    {
        // Only a descriptor of this library has a host object to pass on.
        const auto* const ours = dynamic_cast<const AAX_VComponentDescriptor*>(inComponentDescriptor);
        if (ours == nullptr)
            return AAX_ERROR_INVALID_ARGUMENT;
        component = ours->GetIUnknown();
    }
    return mIACFEffectDescriptor.get()->AddComponent(component);
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* inPlugInName)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->AddName(inPlugInName);
}

AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t inCategory)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->AddCategory(inCategory);
}

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter(uint32_t inCategory, AAX_CParamID inParamID)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->AddCategoryBypassParameter(inCategory, inParamID);
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->AddProcPtr(inProcPtr, inProcID);
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    return NewOwnedPropertyMap(mUnkHost.get(), mPropertyMaps);
}

AAX_Result AAX_VEffectDescriptor::SetProperties(AAX_IPropertyMap* inProperties)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->SetProperties(HostObjectOf(inProperties));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo(AAX_EResourceType inResourceType, const char* inInfo)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->AddResourceInfo(inResourceType, inInfo);
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,
                                                      AAX_IPropertyMap* inProperties)
{
    if (mIACFEffectDescriptor.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFEffectDescriptor.get()->AddMeterDescription(inMeterID, inMeterName,
                                                            HostObjectOf(inProperties));
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode(AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType,
                                                     const char inNodeName[], uint32_t inChannelMask)
{
    if (mIACFEffectDescriptorV2.isNull())
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFEffectDescriptorV2.get()->AddControlMIDINode(inNodeID, inNodeType, inNodeName, inChannelMask);
}

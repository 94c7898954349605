#include "AAX_VCollection.h"

#include "AAX_DescriptionSupport.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "acfbaseapi.h"

#include <memory>

using namespace AAX_DescriptionSupport;

AAX_VCollection::AAX_VCollection(IACFUnknown* pUnkHost) : mUnkHost(pUnkHost), mDescriptionHost(pUnkHost)
{
    if (pUnkHost == nullptr)
        return;
    ACFPtr<IACFComponentFactory> factory;
    if (!QueryInto(pUnkHost, IID_IACFComponentFactory, factory))
        return;
    CreateInto(factory.get(), AAXCompID_AAXCollection, IID_IAAXCollectionV1, mIACFCollection);
}

// Effect descriptors (each with its components and maps), then property maps;
// then the members release the description host's interfaces, the collection
// and last the host unknown.
AAX_VCollection::~AAX_VCollection()
{
    DeleteAll(mEffectDescriptors);
    DeleteAll(mPropertyMaps);
}

IACFUnknown* AAX_VCollection::GetIUnknown() const
{
    return mIACFCollection.get();
}

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    auto descriptor = std::make_unique<AAX_VEffectDescriptor>(mUnkHost.get());
    mEffectDescriptors.insert(descriptor.get());
    return descriptor.release();
}

AAX_Result AAX_VCollection::AddEffect(const char* inEffectID, AAX_IEffectDescriptor* inEffectDescriptor)
{
    if (inEffectDescriptor == nullptr || mIACFCollection.isNull())
        return AAX_ERROR_NULL_OBJECT;
    // Only a descriptor of this library has a host object to pass on.
    const auto* const ours = dynamic_cast<const AAX_VEffectDescriptor*>(inEffectDescriptor);
    if (ours == nullptr)
        return AAX_ERROR_INVALID_ARGUMENT;
    return mIACFCollection.get()->AddEffect(inEffectID, ours->GetIUnknown());
}

AAX_Result AAX_VCollection::SetManufacturerName(const char* inPackageName)
{
    if (mIACFCollection.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection.get()->SetManufacturerName(inPackageName);
}

AAX_Result AAX_VCollection::AddPackageName(const char* inPackageName)
{
    if (mIACFCollection.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection.get()->AddPackageName(inPackageName);
}

AAX_Result AAX_VCollection::SetPackageVersion(uint32_t inVersion)
{
    if (mIACFCollection.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection.get()->SetPackageVersion(inVersion);
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    return NewOwnedPropertyMap(mUnkHost.get(), mPropertyMaps);
}

AAX_Result AAX_VCollection::SetProperties(AAX_IPropertyMap* inProperties)
{
    if (mIACFCollection.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFCollection.get()->SetProperties(HostObjectOf(inProperties));
}

AAX_IDescriptionHost* AAX_VCollection::DescriptionHost()
{
    return mDescriptionHost.DescriptionHost() != nullptr ? &mDescriptionHost : nullptr;
}

const AAX_IDescriptionHost* AAX_VCollection::DescriptionHost() const
{
    return mDescriptionHost.DescriptionHost() != nullptr ? &mDescriptionHost : nullptr;
}

IACFDefinition* AAX_VCollection::HostDefinition() const
{
    return mDescriptionHost.HostDefinition();
}

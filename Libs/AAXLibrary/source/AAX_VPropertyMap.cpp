#include "AAX_VPropertyMap.h"

#include "AAX_DescriptionSupport.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#include <memory>
#include <new>

using namespace AAX_DescriptionSupport;

namespace
{
// Stem formats that pass without the host's description services: format
// indices 0 to 12 (the high half, read with its sign), "any" and "none".
bool IsKnownStemFormat(AAX_CPropertyValue value)
{
    const auto bits = static_cast<uint32_t>(value);
    const int32_t index = static_cast<int16_t>(static_cast<uint16_t>(bits >> 16));
    return (index >= 0 && index <= 12) || bits == 0xFFFF0000u || bits == 0xFF9C0000u;
}

// Integer values travel sign-extended to the host's pointer-wide slot and come
// back cut to their low 32 bits.
AAX_CPropertyValue Narrow(AAX_CPointerPropertyValue value)
{
    return static_cast<AAX_CPropertyValue>(static_cast<uint32_t>(static_cast<uintptr_t>(value)));
}

// Reads the host's slot of `property` into `value`; false when there is no
// host map or it holds no such property.
bool ReadSlot(const ACFPtr<AAX_IACFPropertyMap>& map, AAX_EProperty property,
              AAX_CPointerPropertyValue& value)
{
    return !map.isNull() && map.get()->GetProperty(property, &value) != 0;
}
} // namespace

AAX_VPropertyMap::AAX_VPropertyMap() = default;

// Members go in reverse order: description host, version 3, 2, 1.
AAX_VPropertyMap::~AAX_VPropertyMap() = default;

AAX_VPropertyMap* AAX_VPropertyMap::Create(IACFUnknown* inComponentFactory)
{
    if (inComponentFactory == nullptr)
        return nullptr;
    ACFPtr<IACFComponentFactory> factory;
    if (!QueryInto(inComponentFactory, IID_IACFComponentFactory, factory))
        return nullptr;
    std::unique_ptr<AAX_VPropertyMap> map(new (std::nothrow) AAX_VPropertyMap());
    if (map == nullptr)
        return nullptr;
    map->InitWithFactory(factory.get(), inComponentFactory);
    return map.release();
}

AAX_VPropertyMap* AAX_VPropertyMap::Acquire(IACFUnknown* inPropertyMapUnknown)
{
    auto* map = new (std::nothrow) AAX_VPropertyMap();
    if (map != nullptr)
        map->InitWithPropertyMap(inPropertyMapUnknown, inPropertyMapUnknown);
    return map;
}

void AAX_VPropertyMap::InitWithFactory(IACFComponentFactory* inFactory, IACFUnknown* inHostUnknown)
{
    if (CreateInto(inFactory, AAXCompID_AAXPropertyMap, IID_IAAXPropertyMapV1, mIACFPropertyMap))
    {
        QueryInto(mIACFPropertyMap.get(), IID_IAAXPropertyMapV2, mIACFPropertyMapV2);
        QueryInto(mIACFPropertyMap.get(), IID_IAAXPropertyMapV3, mIACFPropertyMapV3);
    }
    IACFUnknown* const sources[] = {inHostUnknown, inFactory, mIACFPropertyMapV2.get(),
                                    mIACFPropertyMapV3.get(), mIACFPropertyMap.get()};
    for (IACFUnknown* source : sources)
        if (QueryInto(source, IID_IAAXDescriptionHostV1, mIACFDescriptionHost))
            break;
}

void AAX_VPropertyMap::InitWithPropertyMap(IACFUnknown* inPropertyMapUnknown, IACFUnknown* inHostUnknown)
{
    QueryInto(inPropertyMapUnknown, IID_IAAXPropertyMapV1, mIACFPropertyMap);
    QueryInto(inPropertyMapUnknown, IID_IAAXPropertyMapV2, mIACFPropertyMapV2);
    QueryInto(inPropertyMapUnknown, IID_IAAXPropertyMapV3, mIACFPropertyMapV3);
    if (!QueryInto(inHostUnknown, IID_IAAXDescriptionHostV1, mIACFDescriptionHost))
        QueryInto(inPropertyMapUnknown, IID_IAAXDescriptionHostV1, mIACFDescriptionHost);
}

bool AAX_VPropertyMap::GetProperty(AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const
{
    AAX_CPointerPropertyValue value = 0;
    if (outValue == nullptr || !ReadSlot(mIACFPropertyMap, inProperty, value))
        return false;
    *outValue = Narrow(value);
    return true;
}

bool AAX_VPropertyMap::GetPointerProperty(AAX_EProperty inProperty, const void** outValue) const
{
    AAX_CPointerPropertyValue value = 0;
    if (outValue == nullptr || !ReadSlot(mIACFPropertyMap, inProperty, value))
        return false;
    *outValue = reinterpret_cast<const void*>(value);
    return true;
}

AAX_Result AAX_VPropertyMap::AddProperty(AAX_EProperty inProperty, AAX_CPropertyValue inValue)
{
    if ((inProperty == AAX_eProperty_InputStemFormat || inProperty == AAX_eProperty_OutputStemFormat) &&
        mIACFDescriptionHost.isNull() && !IsKnownStemFormat(inValue))
        return AAX_ERROR_PROPERTY_UNDEFINED;
    if (mIACFPropertyMap.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFPropertyMap.get()->AddProperty(inProperty, static_cast<AAX_CPointerPropertyValue>(inValue));
}

AAX_Result AAX_VPropertyMap::AddPointerProperty(AAX_EProperty inProperty, const void* inValue)
{
    if (mIACFPropertyMap.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFPropertyMap.get()->AddProperty(inProperty,
                                               reinterpret_cast<AAX_CPointerPropertyValue>(inValue));
}

AAX_Result AAX_VPropertyMap::AddPointerProperty(AAX_EProperty inProperty, const char* inValue)
{
    return AddPointerProperty(inProperty, static_cast<const void*>(inValue));
}

AAX_Result AAX_VPropertyMap::RemoveProperty(AAX_EProperty inProperty)
{
    if (mIACFPropertyMap.isNull())
        return AAX_ERROR_NULL_OBJECT;
    return mIACFPropertyMap.get()->RemoveProperty(inProperty);
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray(AAX_EProperty inProperty,
                                                    const AAX_SPlugInIdentifierTriad* inPluginIDs,
                                                    uint32_t inNumPluginIDs)
{
    if (mIACFPropertyMapV2.isNull())
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFPropertyMapV2.get()->AddPropertyWithIDArray(inProperty, inPluginIDs, inNumPluginIDs);
}

bool AAX_VPropertyMap::GetPropertyWithIDArray(AAX_EProperty inProperty,
                                              const AAX_SPlugInIdentifierTriad** outPluginIDs,
                                              uint32_t* outNumPluginIDs) const
{
    if (outPluginIDs == nullptr || outNumPluginIDs == nullptr || mIACFPropertyMapV2.isNull())
        return false;
    return mIACFPropertyMapV2.get()->GetPropertyWithIDArray(inProperty, outPluginIDs, outNumPluginIDs) != 0;
}

IACFUnknown* AAX_VPropertyMap::GetIUnknown()
{
    if (mIACFPropertyMapV3)
        return mIACFPropertyMapV3.get();
    if (mIACFPropertyMapV2)
        return mIACFPropertyMapV2.get();
    return mIACFPropertyMap.get();
}

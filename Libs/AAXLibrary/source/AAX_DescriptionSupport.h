// Helpers shared by the description wrappers (collection, effect and component
// descriptors, property maps). Private to the library.
#pragma once

#include "ACFPtr.h"
#include "AAX_IPropertyMap.h"
#include "AAX_VPropertyMap.h"
#include "acfbaseapi.h"

#include <memory>
#include <set>

namespace AAX_DescriptionSupport
{
// Queries `unknown` for `iid` into `out`. A failed query leaves `out` empty
// and owns nothing, whatever the host left in the out-pointer.
template <class T>
bool QueryInto(IACFUnknown* unknown, const acfIID& iid, ACFPtr<T>& out)
{
    if (unknown == nullptr)
        return false;
    if (unknown->QueryInterface(iid, out.outputVoid()) != ACF_OK)
    {
        out.detach();
        return false;
    }
    return !out.isNull();
}

// Has `factory` create the component `clsid` as `iid` into `out`; a failed
// creation leaves `out` empty and owning nothing.
template <class T>
bool CreateInto(IACFComponentFactory* factory, const acfCLSID& clsid, const acfIID& iid, ACFPtr<T>& out)
{
    if (factory->CreateComponent(clsid, nullptr, iid, out.outputVoid()) != ACF_OK)
    {
        out.detach();
        return false;
    }
    return !out.isNull();
}

// The host object behind a property map, or null for no map.
inline IACFUnknown* HostObjectOf(AAX_IPropertyMap* map)
{
    return map != nullptr ? map->GetIUnknown() : nullptr;
}

// A new property map made through `host`, kept in `owned` until its owner goes.
inline AAX_IPropertyMap* NewOwnedPropertyMap(IACFUnknown* host, std::set<AAX_IPropertyMap*>& owned)
{
    std::unique_ptr<AAX_IPropertyMap> map(AAX_VPropertyMap::Create(host));
    owned.insert(map.get());
    return map.release();
}

// Deletes every object in `owned` and empties it.
template <class T>
void DeleteAll(std::set<T*>& owned)
{
    for (T* object : owned)
        delete object;
    owned.clear();
}
} // namespace AAX_DescriptionSupport

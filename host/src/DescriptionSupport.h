// Helpers shared by the host's description objects and services. Private to
// aaxhost_core.
#pragma once

#include "aaxhost/Description.h"

#include <mutex>
#include <string>
#include <utility>

namespace aaxhost
{

// A text the plug-in passed, or an empty one for null.
inline std::string textOrEmpty(const char* value)
{
    return value != nullptr ? std::string(value) : std::string();
}

// Keeps the property map behind `properties` in `slot` (under `mutex`); the
// map it replaces is released after the lock.
inline Result keepPropertyMap(IACFUnknown* properties, std::mutex& mutex, HostRef<HostPropertyMap>& slot)
{
    HostPropertyMap* map = HostPropertyMap::fromUnknown(properties);
    if (map == nullptr)
        return kResultInvalidPointer;
    HostRef<HostPropertyMap> kept(map);
    std::lock_guard<std::mutex> lock(mutex);
    std::swap(slot, kept);
    return kResultOk;
}

} // namespace aaxhost

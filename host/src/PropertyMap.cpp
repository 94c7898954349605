#include "aaxhost/Description.h"

namespace aaxhost
{

HostPropertyMap* HostPropertyMap::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostPropertyMap*>(HostObject::fromUnknown(unknown));
}

IACFUnknown* HostPropertyMap::v1Interface() noexcept
{
    return static_cast<AAX_IACFPropertyMap*>(static_cast<VersionFace<AAX_IACFPropertyMap>*>(this));
}

IACFUnknown* HostPropertyMap::v2Interface() noexcept
{
    return static_cast<AAX_IACFPropertyMap_V2*>(static_cast<VersionFace<AAX_IACFPropertyMap_V2>*>(this));
}

IACFUnknown* HostPropertyMap::v3Interface() noexcept
{
    return static_cast<AAX_IACFPropertyMap_V3*>(this);
}

void* HostPropertyMap::findInterface(const Uid& iid) noexcept
{
    if (iid == IID_IAAXPropertyMapV1)
        return v1Interface();
    if (iid == IID_IAAXPropertyMapV2)
        return v2Interface();
    if (iid == IID_IAAXPropertyMapV3)
        return v3Interface();
    return nullptr;
}

std::optional<PropertyValue> HostPropertyMap::value(int32_t id) const
{
    std::lock_guard<std::mutex> lock(mapMutex_);
    const auto found = values_.find(id);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

std::map<int32_t, PropertyValue> HostPropertyMap::values() const
{
    std::lock_guard<std::mutex> lock(mapMutex_);
    return values_;
}

void HostPropertyMap::set(int32_t id, PropertyValue value)
{
    std::lock_guard<std::mutex> lock(mapMutex_);
    values_[id] = value;
}

void HostPropertyMap::remove(int32_t id)
{
    std::lock_guard<std::mutex> lock(mapMutex_);
    values_.erase(id);
}

Boolean HostPropertyMap::GetProperty(int32_t id, PropertyValue* value)
{
    record("GetProperty", {int64_t{id}, pointerValue(value)});
    const std::optional<PropertyValue> found = this->value(id);
    if (!found)
        return 0;
    if (value != nullptr)
        *value = *found;
    return 1;
}

Result HostPropertyMap::AddProperty(int32_t id, PropertyValue value)
{
    if (const Result r = enter("AddProperty", {int64_t{id}, int64_t{value}}); r != kResultOk)
        return r;
    set(id, value);
    return kResultOk;
}

Result HostPropertyMap::RemoveProperty(int32_t id)
{
    if (const Result r = enter("RemoveProperty", {int64_t{id}}); r != kResultOk)
        return r;
    remove(id);
    return kResultOk;
}

Result HostPropertyMap::AddPropertyWithIDArray(int32_t id, const void* records, uint32_t count)
{
    const bool missing = records == nullptr && count != 0;
    const Result result = reply("AddPropertyWithIDArray", missing ? kAaxErrorNullArgument : kResultOk,
                                {int64_t{id}, records, uint64_t{count}});
    if (result == kResultOk && !missing)
    {
        std::lock_guard<std::mutex> lock(mapMutex_);
        idArrays_[id] = IdArray{records, count};
    }
    return result;
}

Boolean HostPropertyMap::GetPropertyWithIDArray(int32_t id, const void** records, uint32_t* count)
{
    record("GetPropertyWithIDArray", {int64_t{id}, pointerValue(records), pointerValue(count)});
    std::lock_guard<std::mutex> lock(mapMutex_);
    const auto found = idArrays_.find(id);
    if (found == idArrays_.end())
        return 0;
    if (records != nullptr)
        *records = found->second.records;
    if (count != nullptr)
        *count = found->second.count;
    return 1;
}

} // namespace aaxhost

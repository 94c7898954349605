#include "aaxhost/Description.h"

namespace aaxhost
{

HostPropertyMap::HostPropertyMap(std::shared_ptr<CallRecorder> recorder, std::string name)
    : HostObjectOf(std::move(name), std::move(recorder))
{
}

HostPropertyMap::~HostPropertyMap() = default;

HostPropertyMap* HostPropertyMap::fromUnknown(IACFUnknown* unknown) noexcept
{
    return dynamic_cast<HostPropertyMap*>(HostObject::fromUnknown(unknown));
}

IACFUnknown* HostPropertyMap::v1Interface() noexcept
{
    return static_cast<AAX_IACFPropertyMap*>(static_cast<PropertyMapV1Face*>(this));
}

IACFUnknown* HostPropertyMap::v2Interface() noexcept
{
    return static_cast<AAX_IACFPropertyMap_V2*>(static_cast<PropertyMapV2Face*>(this));
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
    record("GetProperty", {int64_t{id}, static_cast<const void*>(value)});
    const std::optional<PropertyValue> found = this->value(id);
    if (!found)
        return 0;
    if (value != nullptr)
        *value = *found;
    return 1;
}

Result HostPropertyMap::AddProperty(int32_t id, PropertyValue value)
{
    record("AddProperty", {int64_t{id}, int64_t{value}});
    const Result result = answer("AddProperty", kResultOk);
    if (result == kResultOk)
        set(id, value);
    return result;
}

Result HostPropertyMap::RemoveProperty(int32_t id)
{
    record("RemoveProperty", {int64_t{id}});
    const Result result = answer("RemoveProperty", kResultOk);
    if (result == kResultOk)
        remove(id);
    return result;
}

Result HostPropertyMap::AddPropertyWithIDArray(int32_t id, const void* records, uint32_t count)
{
    record("AddPropertyWithIDArray", {int64_t{id}, records, uint64_t{count}});
    if (records == nullptr && count != 0)
        return answer("AddPropertyWithIDArray", kAaxErrorNullArgument);
    const Result result = answer("AddPropertyWithIDArray", kResultOk);
    if (result == kResultOk)
    {
        std::lock_guard<std::mutex> lock(mapMutex_);
        idArrays_[id] = IdArray{records, count};
    }
    return result;
}

Boolean HostPropertyMap::GetPropertyWithIDArray(int32_t id, const void** records, uint32_t* count)
{
    record("GetPropertyWithIDArray",
           {int64_t{id}, static_cast<const void*>(records), static_cast<const void*>(count)});
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

Result HostPropertyMap::UnusedOperation8()
{
    record("UnusedOperation8");
    return answer("UnusedOperation8", kAaxErrorUnimplemented);
}

} // namespace aaxhost

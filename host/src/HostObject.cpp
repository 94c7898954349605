#include "aaxhost/HostObject.h"

#include <algorithm>
#include <unordered_set>

namespace aaxhost
{

namespace
{
// Identifier only host objects answer: the reply is the HostObject itself,
// with no reference. Lets the host recognise its own objects among pointers
// the plug-in passes back.
constexpr Uid kHostObjectProbe{0x6E0B7C21, 0x54A3, 0x4F1D, {0x9B, 0x02, 0x68, 0x6F, 0x73, 0x74, 0x6F, 0x62}};

struct LiveRegistry
{
    std::atomic<int64_t> count{0};
    std::mutex mutex;
    std::unordered_set<const HostObject*> objects;
};

LiveRegistry& liveRegistry()
{
    static LiveRegistry registry;
    return registry;
}
} // namespace

HostObject::HostObject(std::string name, std::shared_ptr<CallRecorder> recorder)
    : name_(std::move(name)), recorder_(std::move(recorder))
{
    LiveRegistry& registry = liveRegistry();
    registry.count.fetch_add(1);
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.objects.insert(this);
}

HostObject::~HostObject()
{
    LiveRegistry& registry = liveRegistry();
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        registry.objects.erase(this);
    }
    registry.count.fetch_sub(1);
}

void HostObject::refuse(const Uid& iid)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(refused_.begin(), refused_.end(), iid) == refused_.end())
        refused_.push_back(iid);
}

void HostObject::allow(const Uid& iid)
{
    std::lock_guard<std::mutex> lock(mutex_);
    refused_.erase(std::remove(refused_.begin(), refused_.end(), iid), refused_.end());
}

void HostObject::allowAll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    refused_.clear();
}

bool HostObject::refuses(const Uid& iid) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(refused_.begin(), refused_.end(), iid) != refused_.end();
}

void HostObject::setResult(const std::string& operation, Result result)
{
    std::lock_guard<std::mutex> lock(mutex_);
    forced_[operation] = result;
}

void HostObject::clearResult(const std::string& operation)
{
    std::lock_guard<std::mutex> lock(mutex_);
    forced_.erase(operation);
}

void HostObject::clearResults()
{
    std::lock_guard<std::mutex> lock(mutex_);
    forced_.clear();
}

uint32_t HostObject::retain() noexcept
{
    return refs_.fetch_add(1) + 1;
}

uint32_t HostObject::releaseRef() noexcept
{
    const uint32_t previous = refs_.fetch_sub(1);
    if (previous == 0)
    {
        // A release without a reference: keep the count at 0 instead of
        // wrapping round, and leave the object alive (the caller's fault).
        refs_.fetch_add(1);
        overReleases_.fetch_add(1);
        return 0;
    }
    if (previous == 1)
        delete this;
    return previous - 1;
}

Result HostObject::query(const Uid& iid, void** out) noexcept
{
    if (out == nullptr)
        return kResultInvalidPointer;
    *out = nullptr;
    if (iid == kHostObjectProbe)
    {
        *out = this;
        return kResultOk;
    }
    if (refuses(iid))
        return kResultNoInterface;
    return answerQuery(iid, out);
}

Result HostObject::answerQuery(const Uid& iid, void** out) noexcept
{
    void* found = iid == IID_IACFUnknown ? primaryInterface() : findInterface(iid);
    if (found == nullptr)
        return kResultNoInterface;
    retain();
    *out = found;
    return kResultOk;
}

HostObject* HostObject::fromUnknown(IACFUnknown* unknown) noexcept
{
    if (unknown == nullptr)
        return nullptr;
    void* found = nullptr;
    if (unknown->QueryInterface(kHostObjectProbe, &found) != kResultOk)
        return nullptr;
    return static_cast<HostObject*>(found);
}

int64_t HostObject::liveCount() noexcept
{
    return liveRegistry().count.load();
}

std::vector<std::string> HostObject::liveNames()
{
    LiveRegistry& registry = liveRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    std::vector<std::string> names;
    names.reserve(registry.objects.size());
    for (const HostObject* object : registry.objects)
        names.push_back(object->name());
    return names;
}

bool HostObject::recordReferenceCalls() const noexcept
{
    return recorder_ != nullptr && recorder_->recordsReferenceCalls();
}

bool HostObject::recording() const noexcept
{
    return recorder_ != nullptr && recorder_->enabled();
}

void HostObject::record(const char* operation, std::vector<Value> args) const
{
    if (!recording())
        return;
    Call call;
    call.object = name_;
    call.address = this;
    call.operation = operation;
    call.args = std::move(args);
    recorder_->record(std::move(call));
}

Result HostObject::answer(const char* operation, Result normal) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (forced_.empty())
        return normal;
    const auto found = forced_.find(std::string_view(operation));
    return found == forced_.end() ? normal : found->second;
}

Result HostObject::reply(const char* operation, Result normal, std::vector<Value> args) const
{
    record(operation, std::move(args));
    return answer(operation, normal);
}

Result HostObject::queryEntry(const Uid& iid, void** out) noexcept
{
    // The probe is the host talking to itself, not a call of the plug-in.
    if (iid != kHostObjectProbe && recordReferenceCalls())
        record("QueryInterface", {iid, static_cast<const void*>(out)});
    return query(iid, out);
}

uint32_t HostObject::addRefEntry() noexcept
{
    if (recordReferenceCalls())
        record("AddRef");
    return retain();
}

uint32_t HostObject::releaseEntry() noexcept
{
    if (recordReferenceCalls())
        record("Release");
    return releaseRef();
}

} // namespace aaxhost

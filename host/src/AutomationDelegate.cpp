#include "aaxhost/AutomationDelegate.h"

#include <cstddef>
#include <iterator>
#include <utility>

namespace aaxhost
{

const char* toString(AutomationEvent::Kind kind)
{
    // In the order of the kinds.
    static constexpr const char* names[] = {"Register", "Unregister", "SetRequest",   "CurrentValue",
                                            "Touch",    "Release",    "GetTouchState"};
    static_assert(std::size(names) == static_cast<std::size_t>(AutomationEvent::Kind::GetTouchState) + 1);
    const auto index = static_cast<std::size_t>(kind);
    return index < std::size(names) ? names[index] : "?";
}

namespace
{
std::string idText(const char* parameterId)
{
    return parameterId != nullptr ? parameterId : std::string();
}
} // namespace

void AutomationDelegate::addEvent(AutomationEvent::Kind kind, const char* parameterId, double value)
{
    if (!recording())
        return;
    AutomationEvent event;
    event.kind = kind;
    event.parameterId = idText(parameterId);
    event.nullId = parameterId == nullptr;
    event.value = value;
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
}

template <class Change>
Result AutomationDelegate::note(const char* operation, AutomationEvent::Kind kind, const char* parameterId,
                                Change change)
{
    record(operation, {textValue(parameterId)});
    addEvent(kind, parameterId);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        change(idText(parameterId));
    }
    return answer(operation, kResultOk);
}

Result AutomationDelegate::RegisterParameter(const char* parameterId)
{
    return note("RegisterParameter", AutomationEvent::Kind::Register, parameterId,
                [this](const std::string& id) { ++registrations_[id]; });
}

Result AutomationDelegate::UnregisterParameter(const char* parameterId)
{
    return note("UnregisterParameter", AutomationEvent::Kind::Unregister, parameterId,
                [this](const std::string& id)
                {
                    --registrations_[id];
                    touched_.erase(id);
                });
}

Result AutomationDelegate::PostSetValueRequest(const char* parameterId, double normalized)
{
    record("PostSetValueRequest", {textValue(parameterId), normalized});
    addEvent(AutomationEvent::Kind::SetRequest, parameterId, normalized);
    const Result result = answer("PostSetValueRequest", kResultOk);
    if (result != kResultOk)
        return result; // rejected: the host does not apply it

    UpdateHandler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        switch (mode_)
        {
        case SetRequestMode::Queued:
            queue_.push_back({idText(parameterId), normalized});
            break;
        case SetRequestMode::Immediate:
            handler = handler_;
            break;
        case SetRequestMode::Ignored:
            break;
        }
    }
    if (handler)
        handler(idText(parameterId), normalized);
    return result;
}

Result AutomationDelegate::PostCurrentValue(const char* parameterId, double normalized)
{
    record("PostCurrentValue", {textValue(parameterId), normalized});
    addEvent(AutomationEvent::Kind::CurrentValue, parameterId, normalized);
    return answer("PostCurrentValue", kResultOk);
}

Result AutomationDelegate::PostTouchRequest(const char* parameterId)
{
    return note("PostTouchRequest", AutomationEvent::Kind::Touch, parameterId,
                [this](const std::string& id) { touched_[id] = true; });
}

Result AutomationDelegate::PostReleaseRequest(const char* parameterId)
{
    return note("PostReleaseRequest", AutomationEvent::Kind::Release, parameterId,
                [this](const std::string& id) { touched_[id] = false; });
}

Result AutomationDelegate::GetTouchState(const char* parameterId, uint8_t* touched)
{
    record("GetTouchState", {textValue(parameterId), static_cast<const void*>(touched)});
    addEvent(AutomationEvent::Kind::GetTouchState, parameterId);
    if (touched == nullptr)
        return answer("GetTouchState", kResultInvalidPointer);
    *touched = isTouched(idText(parameterId)) ? 1 : 0;
    return answer("GetTouchState", kResultOk);
}

void AutomationDelegate::setSetRequestMode(SetRequestMode mode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    mode_ = mode;
}

void AutomationDelegate::setUpdateHandler(UpdateHandler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
}

std::size_t AutomationDelegate::deliverPending()
{
    std::size_t delivered = 0;
    for (;;)
    {
        Request request;
        UpdateHandler handler;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty())
                break;
            request = std::move(queue_.front());
            queue_.erase(queue_.begin());
            handler = handler_;
        }
        if (handler)
            handler(request.parameterId, request.value);
        ++delivered;
    }
    return delivered;
}

std::vector<AutomationEvent> AutomationDelegate::events() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::vector<AutomationEvent> AutomationDelegate::events(AutomationEvent::Kind kind) const
{
    std::vector<AutomationEvent> out;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& event : events_)
        if (event.kind == kind)
            out.push_back(event);
    return out;
}

void AutomationDelegate::clearEvents()
{
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
}

int AutomationDelegate::registrations(const std::string& parameterId) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = registrations_.find(parameterId);
    return it != registrations_.end() ? it->second : 0;
}

bool AutomationDelegate::isTouched(const std::string& parameterId) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = touched_.find(parameterId);
    return it != touched_.end() && it->second;
}

} // namespace aaxhost

#pragma once

#include "aaxhost/HostObject.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace aaxhost
{

// Host side of the automation delegate (IID_IAAXAutomationDelegateV1), reached
// through the controller unknown handed to the effect's Initialize.
class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual Result RegisterParameter(const char* parameterId) = 0;                      // 3
    virtual Result UnregisterParameter(const char* parameterId) = 0;                    // 4
    virtual Result PostSetValueRequest(const char* parameterId, double normalized) = 0; // 5
    virtual Result PostCurrentValue(const char* parameterId, double normalized) = 0;    // 6
    virtual Result PostTouchRequest(const char* parameterId) = 0;                       // 7
    virtual Result PostReleaseRequest(const char* parameterId) = 0;                     // 8
    virtual Result GetTouchState(const char* parameterId, uint8_t* touched) = 0;        // 9

protected:
    ~AAX_IACFAutomationDelegate() = default;
};

// One automation call the plug-in made, with its identifier copied at the call.
struct AutomationEvent
{
    enum class Kind
    {
        Register,
        Unregister,
        SetRequest,
        CurrentValue,
        Touch,
        Release,
        GetTouchState
    };

    Kind kind = Kind::Register;
    std::string parameterId; // empty for a null identifier
    bool nullId = false;
    double value = 0.0; // the normalised value of SetRequest and CurrentValue
};

const char* toString(AutomationEvent::Kind kind);

// The host's automation delegate. It records every call (in the shared call
// recorder and, while that records, in its own event list), keeps which
// parameters are registered and touched, and answers set requests by handing
// them to an update handler, which stands for the host's own update of the
// parameter (typically a call back into the plug-in):
// - Queued (default): requests wait in a queue until deliverPending();
// - Immediate: the handler runs inside PostSetValueRequest (re-entrancy);
// - Ignored: requests are recorded and dropped.
// A set request whose result is forced to a failure (setResult) is rejected:
// recorded, but never queued or delivered. Thread-safe; the handler runs
// without any of the delegate's locks held.
class AutomationDelegate final : public HostObjectOf<AAX_IACFAutomationDelegate>
{
public:
    enum class SetRequestMode
    {
        Queued,
        Immediate,
        Ignored
    };

    using UpdateHandler = std::function<void(const std::string& parameterId, double normalized)>;

    struct Request
    {
        std::string parameterId;
        double value = 0.0;
    };

    explicit AutomationDelegate(std::shared_ptr<CallRecorder> recorder,
                                std::string name = "AutomationDelegate")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    Result RegisterParameter(const char* parameterId) override;
    Result UnregisterParameter(const char* parameterId) override;
    Result PostSetValueRequest(const char* parameterId, double normalized) override;
    Result PostCurrentValue(const char* parameterId, double normalized) override;
    Result PostTouchRequest(const char* parameterId) override;
    Result PostReleaseRequest(const char* parameterId) override;
    Result GetTouchState(const char* parameterId, uint8_t* touched) override;

    void setSetRequestMode(SetRequestMode mode);
    void setUpdateHandler(UpdateHandler handler);
    // Hands every queued request, oldest first, to the update handler (requests
    // queued meanwhile are delivered too); returns how many were delivered.
    std::size_t deliverPending();

    std::vector<AutomationEvent> events() const;
    // Only the events of one kind.
    std::vector<AutomationEvent> events(AutomationEvent::Kind kind) const;
    void clearEvents();

    // Registration count of an identifier (registers minus unregisters).
    int registrations(const std::string& parameterId) const;
    bool isRegistered(const std::string& parameterId) const { return registrations(parameterId) > 0; }
    bool isTouched(const std::string& parameterId) const;

protected:
    ~AutomationDelegate() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXAutomationDelegateV1 ? as<AAX_IACFAutomationDelegate>() : nullptr;
    }

private:
    void addEvent(AutomationEvent::Kind kind, const char* parameterId, double value = 0.0);
    // Records the call and its event, then applies `change` to the parameter's
    // identifier under the lock; answers kResultOk unless a result is forced.
    template <class Change>
    Result note(const char* operation, AutomationEvent::Kind kind, const char* parameterId, Change change);

    mutable std::mutex mutex_;
    std::vector<AutomationEvent> events_;
    std::map<std::string, int> registrations_;
    std::map<std::string, bool> touched_;
    std::vector<Request> queue_;
    SetRequestMode mode_ = SetRequestMode::Queued;
    UpdateHandler handler_;
};

} // namespace aaxhost

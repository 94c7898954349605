#pragma once

#include "aaxhost/HostObject.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace aaxhost
{

// What a creator is asked to make.
struct CreateRequest
{
    Uid componentId;
    Uid interfaceId;
    std::shared_ptr<CallRecorder> recorder; // the factory's recorder, for the new object
};

// Makes a new host object for a component. The factory then asks the object
// for the requested interface; an object that lacks it is released again.
// Returning null makes the creation fail with kResultOutOfMemory.
using Creator = std::function<HostRef<HostObject>(const CreateRequest&)>;

// A rule that makes creations fail. A creation matches when the component
// and the interface equal the rule's (an empty one matches any). The first
// `skip` matching creations pass; after that, `times` creations fail (a
// negative number: all of them) with `result` and a null out-pointer.
struct FailureRule
{
    std::optional<Uid> componentId;
    std::optional<Uid> interfaceId;
    Result result = kResultNoInterface;
    uint32_t skip = 0;
    int32_t times = -1;
};

// The host's component factory (IID_IACFComponentFactory). Components are
// registered per component identifier; the version the plug-in gets is the
// interface identifier it asks for. Creation results, in order of checking:
//   null out-pointer                  -> kResultInvalidPointer
//   non-null outer unknown            -> kResultNoAggregation (out null)
//   a matching failure rule           -> the rule's result (out null)
//   no creator for the component      -> kResultClassNotAvailable (out null)
//   the creator returns null          -> kResultOutOfMemory (out null)
//   the object lacks the interface    -> kResultNoInterface (out null)
//   otherwise                         -> kResultOk, the interface with one reference
class ComponentFactory final : public HostObjectOf<IACFComponentFactory>
{
public:
    explicit ComponentFactory(std::shared_ptr<CallRecorder> recorder, std::string name = "ComponentFactory")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    // Registers (or replaces) the creator of a component.
    void registerComponent(const Uid& componentId, Creator creator);
    bool unregisterComponent(const Uid& componentId);
    bool hasComponent(const Uid& componentId) const;

    // Failure rules, checked in the order added.
    void addFailure(FailureRule rule);
    // Every creation of `componentId` fails.
    void failComponent(const Uid& componentId, Result result = kResultNoInterface);
    // Every creation of `componentId` asking for `interfaceId` fails: the host
    // then "lacks" that version.
    void failInterface(const Uid& componentId, const Uid& interfaceId, Result result = kResultNoInterface);
    // Every creation fails.
    void failAll(Result result = kResultFail);
    void clearFailures();

    // Number of successful creations so far.
    uint64_t createdCount() const;

    // 3. No exception leaves it: running out of memory gives kResultOutOfMemory, a
    // creator that throws anything else kResultUnexpected.
    Result Create(const Uid& componentId, IACFUnknown* outer, const Uid& iid, void** out) noexcept override;

protected:
    ~ComponentFactory() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IACFComponentFactory ? as<IACFComponentFactory>() : nullptr;
    }

private:
    Result create(const Uid& componentId, IACFUnknown* outer, const Uid& iid, void** out);

    mutable std::mutex factoryMutex_;
    std::vector<std::pair<Uid, Creator>> creators_;
    std::vector<FailureRule> failures_;
    uint64_t created_ = 0;
};

} // namespace aaxhost

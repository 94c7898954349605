#pragma once

#include "aaxhost/HostObject.h"

#include <utility>
#include <vector>

namespace aaxhost
{

// A host unknown: the IACFUnknown the host hands over (to start-up and
// registration, as the controller unknown, ...). By itself it answers only
// IID_IACFUnknown; provide() makes it answer further identifiers by handing
// out another host object's interface (the factory, a description host, a
// controller, a transport, ...). Every answer can be switched off with
// refuse() (inherited), without withdrawing the provider.
class HostUnknown final : public HostObjectOf<IACFUnknown>
{
public:
    explicit HostUnknown(std::shared_ptr<CallRecorder> recorder, std::string name = "HostUnknown")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    // Queries for `iid` are passed to `provider` (its own refusals apply);
    // the host unknown keeps one reference to it. Replaces an earlier provider.
    void provide(const Uid& iid, HostRef<HostObject> provider);
    void withdraw(const Uid& iid);
    // The provider of `iid`, or null.
    HostObject* provider(const Uid& iid) const;

protected:
    ~HostUnknown() override = default;
    void* findInterface(const Uid& iid) noexcept override;
    Result answerQuery(const Uid& iid, void** out) noexcept override;

private:
    mutable std::mutex providersMutex_;
    std::vector<std::pair<Uid, HostRef<HostObject>>> providers_;
};

} // namespace aaxhost

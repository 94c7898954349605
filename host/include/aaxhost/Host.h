#pragma once

#include "aaxhost/CallRecorder.h"
#include "aaxhost/ComponentFactory.h"
#include "aaxhost/HostServices.h"
#include "aaxhost/HostUnknown.h"

#include <memory>

namespace aaxhost
{

// The host in one piece, as the plug-in first meets it: a call recorder, a
// component factory that already makes the host services, a services log, and
// the host unknown (answering IID_IACFUnknown and IID_IACFComponentFactory)
// to hand to ACFStartup and ACFRegisterPlugin. Further components are added
// with factory().registerComponent(), further answers of the host unknown
// with unknown().provide().
//
// Objects the plug-in still holds outlive the Host safely: they keep their
// own references to the recorder and the log.
class Host
{
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    CallRecorder& recorder() noexcept { return *recorder_; }
    const std::shared_ptr<CallRecorder>& sharedRecorder() const noexcept { return recorder_; }
    HostServicesLog& services() noexcept { return *services_; }
    const std::shared_ptr<HostServicesLog>& sharedServices() const noexcept { return services_; }
    ComponentFactory& factory() noexcept { return *factory_; }
    HostUnknown& unknown() noexcept { return *unknown_; }
    // The pointer to pass to the entry points.
    IACFUnknown* unknownInterface() noexcept { return unknown_->primaryInterface(); }

private:
    std::shared_ptr<CallRecorder> recorder_;
    std::shared_ptr<HostServicesLog> services_;
    HostRef<ComponentFactory> factory_;
    HostRef<HostUnknown> unknown_;
};

} // namespace aaxhost

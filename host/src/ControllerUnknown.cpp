#include "aaxhost/ControllerUnknown.h"

#include <utility>

namespace aaxhost
{

void installTransport(HostUnknown& unknown, const HostRef<Transport>& transport)
{
    unknown.provide(IID_IAAXTransportV1, HostRef<HostObject>(transport));
    unknown.provide(IID_IAAXTransportV2, HostRef<HostObject>(transport));
}

HostRef<HostUnknown> makeControllerUnknown(Host& host, const HostRef<Controller>& controller,
                                           const HostRef<Transport>& transport, std::string name)
{
    HostRef<HostUnknown> unknown = makeHost<HostUnknown>(host.sharedRecorder(), std::move(name));
    if (controller)
        installController(*unknown, controller);
    if (transport)
        installTransport(*unknown, transport);
    unknown->provide(IID_IACFComponentFactory,
                     HostRef<HostObject>(static_cast<HostObject*>(&host.factory())));
    registerPageTableComponent(host.factory());
    return unknown;
}

} // namespace aaxhost

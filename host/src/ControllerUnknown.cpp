#include "aaxhost/ControllerUnknown.h"

namespace aaxhost
{

void installTransport(HostUnknown& unknown, const HostRef<TransportObject>& transport)
{
    unknown.provide(IID_IAAXTransportV1, HostRef<HostObject>(transport));
    unknown.provide(IID_IAAXTransportV2, HostRef<HostObject>(transport));
}

HostRef<HostUnknown> makeControllerUnknown(Host& host, const HostRef<Controller>& controller,
                                           const HostRef<TransportObject>& transport)
{
    HostRef<HostUnknown> unknown = makeHost<HostUnknown>(host.sharedRecorder(), "ControllerUnknown");
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

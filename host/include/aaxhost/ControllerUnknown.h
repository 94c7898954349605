#pragma once

#include "aaxhost/Controller.h"
#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/Host.h"
#include "aaxhost/HostObject.h"
#include "aaxhost/HostUnknown.h"
#include "aaxhost/Transport.h"

#include <string>

namespace aaxhost
{

// Makes `unknown` answer IID_IAAXTransportV1 and V2 with `transport`.
void installTransport(HostUnknown& unknown, const HostRef<Transport>& transport);

// The unknown a host hands to an effect's (or GUI's) Initialize: it answers
// the controller's five identifiers with `controller`, the transport's two
// with `transport` and IID_IACFComponentFactory with the host's factory,
// which is made able to create page tables. Add further answers (the
// automation delegate, ...) with provide(); switch any off with refuse().
// `name` is the unknown's in the record.
HostRef<HostUnknown> makeControllerUnknown(Host& host, const HostRef<Controller>& controller,
                                           const HostRef<Transport>& transport,
                                           std::string name = "ControllerUnknown");

} // namespace aaxhost

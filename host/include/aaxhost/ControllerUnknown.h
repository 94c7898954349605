#pragma once

#include "aaxhost/Controller.h"
#include "aaxhost/Host.h"
#include "aaxhost/HostUnknown.h"
#include "aaxhost/Transport.h"

namespace aaxhost
{

// The unknown a host hands to an effect's (or GUI's) Initialize: it answers
// the controller's five identifiers with `controller`, the transport's two
// with `transport` and IID_IACFComponentFactory with the host's factory,
// which is made able to create page tables. Add further answers (the
// automation delegate, ...) with provide(); switch any off with refuse().
// While the host processes audio it moves the transport's clock on with
// Transport::advance() after each block.
HostRef<HostUnknown> makeControllerUnknown(Host& host, const HostRef<Controller>& controller,
                                           const HostRef<Transport>& transport);

} // namespace aaxhost

#pragma once

// Shared set-up of the parameter tests: the host stand-in with its services
// (for assertion reports) and a controller unknown offering the host's
// automation delegate, plus the library's wrapper over it.

#include "AAX_VAutomationDelegate.h"

#include "aaxhost/AutomationDelegate.h"
#include "aaxhost/Host.h"

#include <memory>
#include <string>
#include <vector>

namespace tambrix::test
{

// The host's view of one controller: an unknown that offers an automation delegate.
struct HostController
{
    explicit HostController(aaxhost::Host& host, const std::string& name = "ControllerUnknown");

    IACFUnknown* unknown() const;

    aaxhost::HostRef<aaxhost::HostUnknown> controllerUnknown;
    aaxhost::HostRef<aaxhost::AutomationDelegate> delegate;
};

// Starts the library's host services on a fresh host for the lifetime of the
// object, so that assertion reports reach host.services().
class ServicesScope
{
public:
    explicit ServicesScope(aaxhost::Host& host);
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;
};

// Conditions of the assertion reports the host received.
std::vector<std::string> assertionConditions(aaxhost::Host& host);

// Kinds of the automation events, e.g. "Touch SetRequest Release".
std::string eventKinds(const aaxhost::AutomationDelegate& delegate);

} // namespace tambrix::test

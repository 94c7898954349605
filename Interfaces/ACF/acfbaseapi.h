// Host-side interfaces of the component model that the library reaches.
#pragma once

#include "acfunknown.h"

/// The host's component factory (asked for with IID_IACFComponentFactory).
class IACFComponentFactory : public IACFUnknown
{
public:
    /// Position 3: creates the component `clsid` (no outer unknown is ever passed) and
    /// stores its interface `iid`, carrying one reference for the caller, in *ppOut.
    virtual ACFRESULT CreateComponent(const acfCLSID& clsid, IACFUnknown* pUnkOuter, const acfIID& iid,
                                      void** ppOut) = 0;

protected:
    ~IACFComponentFactory() = default;
};

/// A definition object of the host; the library only passes it on.
class IACFDefinition : public IACFUnknown
{
protected:
    ~IACFDefinition() = default;
};

/// The plug-in definition handed to the host by the registration entry point.
class IACFPluginDefinition : public IACFDefinition
{
protected:
    ~IACFPluginDefinition() = default;
};

/// A component definition; this bundle registers none beyond the plug-in itself.
class IACFComponentDefinition : public IACFDefinition
{
protected:
    ~IACFComponentDefinition() = default;
};

// The base interface of every interface that crosses between host and plug-in.
#pragma once

#include "acfbasetypes.h"

/// Base interface: QueryInterface, AddRef and Release at positions 0, 1 and 2 of
/// every interface table. Objects are never deleted through this interface, so it
/// declares no virtual destructor (the host's tables have none).
class IACFUnknown
{
public:
    virtual ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    IACFUnknown() = default;
    IACFUnknown(const IACFUnknown&) = default;
    IACFUnknown& operator=(const IACFUnknown&) = default;
    ~IACFUnknown() = default;
};

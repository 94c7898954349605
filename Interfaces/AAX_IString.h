// The text interface passed across the host interface in both directions.
#pragma once

#include "AAX.h"

/// Text read and written only through this table; the slot order is shared with the host.
class AAX_IString
{
public:
    virtual ~AAX_IString() {}

    virtual uint32_t Length() const = 0;
    virtual uint32_t MaxLength() const = 0;
    virtual const char* Get() const = 0;
    virtual void Set(const char* iString) = 0;
    virtual AAX_IString& operator=(const AAX_IString& iOther) = 0;
    virtual AAX_IString& operator=(const char* iString) = 0;
};

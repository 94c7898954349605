// Conversion between a parameter's real values and text.
#pragma once

#include "AAX.h"

class AAX_CString;

/// Untyped base through which a parameter receives a new display delegate.
class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() {}
};

template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    ~AAX_IDisplayDelegate() override {}

    /// A new display delegate owned by the caller.
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    virtual bool ValueToString(T value, AAX_CString* valueString) const = 0;
    virtual bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const = 0;
    virtual bool StringToValue(const AAX_CString& valueString, T* value) const = 0;
};

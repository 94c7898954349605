// Conversion between a parameter's real values and the normalised values the host sees.
#pragma once

#include "AAX.h"

/// Untyped base through which a parameter receives a new taper.
class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() {}
};

template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    ~AAX_ITaperDelegate() override {}

    /// A new taper owned by the caller.
    virtual AAX_ITaperDelegate* Clone() const = 0;
    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;
    /// The value held inside the range.
    virtual T ConstrainRealValue(T value) const = 0;
    virtual T NormalizedToReal(double normalizedValue) const = 0;
    virtual double RealToNormalized(T realValue) const = 0;
};

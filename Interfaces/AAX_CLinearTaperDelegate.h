// Straight-line taper between a minimum and a maximum.
#pragma once

#include "AAX_ITaperDelegate.h"

/// RealPrecision 0: no rounding of real values.
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    /// minValue is the real value at normalised 0, maxValue the one at 1 (a falling
    /// taper has minValue > maxValue).
    AAX_CLinearTaperDelegate(T minValue = 0, T maxValue = 1) : mMinValue(minValue), mMaxValue(maxValue) {}

    AAX_CLinearTaperDelegate* Clone() const override;
    T GetMaximumValue() const override;
    T GetMinimumValue() const override;
    T ConstrainRealValue(T value) const override;
    T NormalizedToReal(double normalizedValue) const override;
    double RealToNormalized(T realValue) const override;

private:
    T mMinValue;
    T mMaxValue;
};

#include "AAX_CLinearTaperDelegate.inl"

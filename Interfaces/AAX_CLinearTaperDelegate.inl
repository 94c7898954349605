// Member definitions of AAX_CLinearTaperDelegate (included by its header).
#pragma once

#include <cmath>
#include <limits>
#include <type_traits>

namespace AAX_LinearTaperDetail
{
/// A double as a T; for a floating-point T, values beyond T's range become its
/// largest or lowest finite value instead of overflowing the conversion.
template <typename T>
T NarrowSaturated(double value)
{
    if constexpr (std::is_floating_point_v<T>)
    {
        if (value > static_cast<double>(std::numeric_limits<T>::max()))
            return std::numeric_limits<T>::max();
        if (value < static_cast<double>(std::numeric_limits<T>::lowest()))
            return std::numeric_limits<T>::lowest();
    }
    return static_cast<T>(value);
}
} // namespace AAX_LinearTaperDetail

template <typename T, int32_t RealPrecision>
AAX_CLinearTaperDelegate<T, RealPrecision>* AAX_CLinearTaperDelegate<T, RealPrecision>::Clone() const
{
    return new AAX_CLinearTaperDelegate(*this);
}

template <typename T, int32_t RealPrecision>
T AAX_CLinearTaperDelegate<T, RealPrecision>::GetMaximumValue() const
{
    return mMaxValue;
}

template <typename T, int32_t RealPrecision>
T AAX_CLinearTaperDelegate<T, RealPrecision>::GetMinimumValue() const
{
    return mMinValue;
}

template <typename T, int32_t RealPrecision>
T AAX_CLinearTaperDelegate<T, RealPrecision>::ConstrainRealValue(T value) const
{
    if (mMinValue == mMaxValue)
        return mMinValue;
    if constexpr (std::is_floating_point_v<T>)
    {
        // Not a number has no place in the range: it becomes the minimum.
        if (std::isnan(value))
            return mMinValue;
    }
    const T hi = mMinValue > mMaxValue ? mMinValue : mMaxValue;
    const T lo = mMinValue > mMaxValue ? mMaxValue : mMinValue;
    if (value > hi)
        return hi;
    return lo > value ? lo : value;
}

template <typename T, int32_t RealPrecision>
T AAX_CLinearTaperDelegate<T, RealPrecision>::NormalizedToReal(double normalizedValue) const
{
    const double minValue = static_cast<double>(mMinValue);
    const double maxValue = static_cast<double>(mMaxValue);
    const T realValue =
        AAX_LinearTaperDetail::NarrowSaturated<T>((maxValue - minValue) * normalizedValue + minValue);
    return this->ConstrainRealValue(realValue);
}

template <typename T, int32_t RealPrecision>
double AAX_CLinearTaperDelegate<T, RealPrecision>::RealToNormalized(T realValue) const
{
    const T constrained = this->ConstrainRealValue(realValue);
    if (mMaxValue == mMinValue)
        return 0.5;
    const double minValue = static_cast<double>(mMinValue);
    const double maxValue = static_cast<double>(mMaxValue);
    return (static_cast<double>(constrained) - minValue) / (maxValue - minValue);
}

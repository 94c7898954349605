// Member definitions of AAX_CNumberDisplayDelegate (included by its header).
#pragma once

#include "AAX_CString.h"

#include <limits>
#include <type_traits>

namespace AAX_NumberDisplayDetail
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
} // namespace AAX_NumberDisplayDetail

template <typename T, uint32_t Precision, uint32_t SpaceAfter>
AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>*
AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>::Clone() const
{
    return new AAX_CNumberDisplayDelegate(*this);
}

template <typename T, uint32_t Precision, uint32_t SpaceAfter>
bool AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>::ValueToString(T value,
                                                                         AAX_CString* valueString) const
{
    if (valueString == nullptr)
        return false;
    valueString->Clear();
    valueString->AppendNumber(static_cast<double>(value), static_cast<int32_t>(Precision));
    return true;
}

template <typename T, uint32_t Precision, uint32_t SpaceAfter>
bool AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>::ValueToString(T value, int32_t maxNumChars,
                                                                         AAX_CString* valueString) const
{
    if (!ValueToString(value, valueString))
        return false;
    // Cut (never rounded again) to the limit; a cut that ends on the point drops it.
    const uint32_t limit = maxNumChars < 0 ? 0u : static_cast<uint32_t>(maxNumChars);
    if (valueString->Length() > limit)
        valueString->Erase(limit, valueString->Length() - limit);
    if (limit >= 1 && valueString->Length() == limit && (*valueString)[limit - 1] == '.')
        valueString->Erase(limit - 1, 1);
    return true;
}

template <typename T, uint32_t Precision, uint32_t SpaceAfter>
bool AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>::StringToValue(const AAX_CString& valueString,
                                                                         T* value) const
{
    if (value == nullptr)
        return false;
    double number = 0.0;
    const bool ok = valueString.ToDouble(&number);
    *value = ok ? AAX_NumberDisplayDetail::NarrowSaturated<T>(number) : static_cast<T>(0);
    return ok;
}

// Member definitions of AAX_CNumberDisplayDelegate (included by its header).
#pragma once

#include "AAX_CString.h"

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
    valueString->Clear();
    valueString->AppendNumber(static_cast<double>(value), static_cast<int32_t>(Precision));
    return true;
}

template <typename T, uint32_t Precision, uint32_t SpaceAfter>
bool AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>::ValueToString(T value, int32_t maxNumChars,
                                                                         AAX_CString* valueString) const
{
    valueString->Clear();
    valueString->AppendNumber(static_cast<double>(value), static_cast<int32_t>(Precision));
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
    double number = 0.0;
    const bool ok = valueString.ToDouble(&number);
    *value = ok ? static_cast<T>(number) : static_cast<T>(0);
    return ok;
}

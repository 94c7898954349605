#include "AAX_CParameter.h"

#include "AAX_Assert.h"
#include "AAX_IAutomationDelegate.h"

#include <cmath>
#include <cstring>
#include <type_traits>

// ---------------------------------------------------------------------------
// AAX_CParameterValue

template <typename T>
AAX_CParameterValue<T>::AAX_CParameterValue(AAX_CParamID identifier, const T& value) : mValue(value)
{
    // A null identifier is taken as the empty one.
    const char* const text = identifier != nullptr ? identifier : "";
    const int64_t len = static_cast<int64_t>(std::strlen(text));
    AAX_ASSERT(len < eParemeterDefaultMaxIdentifierSize);
    const std::size_t copied = len < eParemeterDefaultMaxIdentifierSize
                                   ? static_cast<std::size_t>(len)
                                   : eParemeterDefaultMaxIdentifierSize - 1;
    std::memcpy(mIdentifier, text, copied);
    mIdentifier[copied] = '\0';
}

template <typename T>
AAX_CParameterValue<T>::AAX_CParameterValue(const AAX_CParameterValue& other)
    : AAX_IParameterValue(), mValue(other.Get())
{
    std::memcpy(mIdentifier, other.mIdentifier, sizeof mIdentifier);
}

template <typename T>
AAX_CParameterValue<T>::~AAX_CParameterValue() = default;

template <typename T>
AAX_IParameterValue* AAX_CParameterValue<T>::Clone() const
{
    return new AAX_CParameterValue(*this);
}

template <typename T>
AAX_CParamID AAX_CParameterValue<T>::Identifier() const
{
    return mIdentifier;
}

template <typename T>
bool AAX_CParameterValue<T>::GetValueAsBool(bool*) const
{
    return false;
}

template <typename T>
bool AAX_CParameterValue<T>::GetValueAsInt32(int32_t*) const
{
    return false;
}

template <typename T>
bool AAX_CParameterValue<T>::GetValueAsFloat(float* value) const
{
    if constexpr (std::is_same_v<T, float>)
    {
        if (value == nullptr)
            return false;
        *value = Get();
        return true;
    }
    else
    {
        (void)value;
        return false;
    }
}

template <typename T>
bool AAX_CParameterValue<T>::GetValueAsDouble(double*) const
{
    return false;
}

template <typename T>
bool AAX_CParameterValue<T>::GetValueAsString(AAX_IString*) const
{
    return false;
}

// ---------------------------------------------------------------------------
// AAX_CParameter

template <typename T>
AAX_CParameter<T>::AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                                  const AAX_ITaperDelegate<T>& taperDelegate,
                                  const AAX_IDisplayDelegate<T>& displayDelegate, bool automatable)
    : mNames(name), mShortNames(), mAutomatable(automatable), mNumSteps(0),
      mControlType(AAX_eParameterType_Continuous), mOrientation(AAX_eParameterOrientation_Default),
      mTaperDelegate(taperDelegate.Clone()), mDisplayDelegate(displayDelegate.Clone()),
      mAutomationDelegate(nullptr), mNeedNotify(true), mValue(identifier, T()), mDefaultValue(defaultValue)
{
    // The count for a continuous parameter; the owner sets the real count afterwards.
    SetNumberOfSteps(128);
    // No automation delegate yet, so the default is applied at once.
    SetToDefaultValue();
}

template <typename T>
AAX_CParameter<T>::~AAX_CParameter()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->UnregisterParameter(Identifier());
    delete mTaperDelegate;
    delete mDisplayDelegate;
}

template <typename T>
AAX_IParameterValue* AAX_CParameter<T>::CloneValue() const
{
    return new AAX_CParameterValue<T>(Identifier(), GetValue());
}

template <typename T>
AAX_CParamID AAX_CParameter<T>::Identifier() const
{
    return mValue.Identifier();
}

template <typename T>
void AAX_CParameter<T>::SetName(const AAX_CString& name)
{
    mNames = name;
}

template <typename T>
const AAX_CString& AAX_CParameter<T>::Name() const
{
    return mNames;
}

template <typename T>
void AAX_CParameter<T>::AddShortenedName(const AAX_CString& name)
{
    mShortNames[name.Length()] = name;
}

template <typename T>
const AAX_CString& AAX_CParameter<T>::ShortenedName(int32_t iNumCharacters) const
{
    if (iNumCharacters < 0 || mShortNames.empty() || mNames.Length() <= static_cast<uint32_t>(iNumCharacters))
        return mNames;
    // The longest stored name that fits; when none fits, the shortest one.
    auto it = mShortNames.upper_bound(static_cast<uint32_t>(iNumCharacters));
    if (it == mShortNames.begin())
        return it->second;
    return std::prev(it)->second;
}

template <typename T>
void AAX_CParameter<T>::ClearShortenedNames()
{
    mShortNames.clear();
}

template <typename T>
bool AAX_CParameter<T>::Automatable() const
{
    return mAutomatable;
}

template <typename T>
void AAX_CParameter<T>::SetAutomationDelegate(AAX_IAutomationDelegate* iAutomationDelegate)
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->UnregisterParameter(Identifier());
    mAutomationDelegate = iAutomationDelegate;
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->RegisterParameter(Identifier());
}

template <typename T>
void AAX_CParameter<T>::Touch()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostTouchRequest(Identifier());
}

template <typename T>
void AAX_CParameter<T>::Release()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostReleaseRequest(Identifier());
}

template <typename T>
void AAX_CParameter<T>::SetNormalizedValueRequest(double newNormalizedValue)
{
    if (mAutomationDelegate != nullptr)
    {
        // A request: the value changes when the host answers with an update.
        Touch();
        mAutomationDelegate->PostSetValueRequest(Identifier(), newNormalizedValue);
        Release();
    }
    else
    {
        mNeedNotify = true;
        UpdateNormalizedValue(newNormalizedValue);
    }
}

template <typename T>
void AAX_CParameter<T>::SetValue(T newValue)
{
    SetNormalizedValueRequest(mTaperDelegate->RealToNormalized(newValue));
}

template <typename T>
T AAX_CParameter<T>::GetValue() const
{
    return mValue.Get();
}

template <typename T>
void AAX_CParameter<T>::SetNormalizedValue(double newNormalizedValue)
{
    SetNormalizedValueRequest(
        mTaperDelegate->RealToNormalized(mTaperDelegate->NormalizedToReal(newNormalizedValue)));
}

template <typename T>
double AAX_CParameter<T>::GetNormalizedValue() const
{
    return mTaperDelegate->RealToNormalized(GetValue());
}

template <typename T>
void AAX_CParameter<T>::SetNormalizedDefaultValue(double normalizedDefault)
{
    mDefaultValue = mTaperDelegate->ConstrainRealValue(mTaperDelegate->NormalizedToReal(normalizedDefault));
}

template <typename T>
double AAX_CParameter<T>::GetNormalizedDefaultValue() const
{
    return mTaperDelegate->RealToNormalized(mDefaultValue);
}

template <typename T>
void AAX_CParameter<T>::SetToDefaultValue()
{
    SetNormalizedValueRequest(mTaperDelegate->RealToNormalized(mDefaultValue));
}

template <typename T>
void AAX_CParameter<T>::SetNumberOfSteps(uint32_t numSteps)
{
    AAX_ASSERT(0 < numSteps);
    if (numSteps > 0)
        mNumSteps = numSteps;
}

template <typename T>
uint32_t AAX_CParameter<T>::GetNumberOfSteps() const
{
    return mNumSteps;
}

template <typename T>
uint32_t AAX_CParameter<T>::GetStepValue() const
{
    return GetStepValueFromNormalizedValue(GetNormalizedValue());
}

template <typename T>
double AAX_CParameter<T>::GetNormalizedValueFromStep(uint32_t iStep) const
{
    const uint32_t numSteps = mNumSteps;
    if (numSteps < 2)
        return 0.0;
    const double stepSize = 1.0 / static_cast<double>(numSteps - 1);
    const double normalized = static_cast<double>(iStep) * stepSize;
    return normalized > 1.0 ? 1.0 : (normalized < 0.0 ? 0.0 : normalized);
}

template <typename T>
uint32_t AAX_CParameter<T>::GetStepValueFromNormalizedValue(double normalizedValue) const
{
    const uint32_t numSteps = mNumSteps;
    if (numSteps < 2 || std::isnan(normalizedValue))
        return 0;
    const double stepSize = 1.0 / static_cast<double>(numSteps - 1);
    const double step = normalizedValue / stepSize + 0.5;
    // Clamped before the conversion, so that no value is out of the integer's range.
    const double lastStep = static_cast<double>(numSteps - 1);
    if (!(step > 0.0))
        return 0;
    if (step >= lastStep)
        return numSteps - 1;
    return static_cast<uint32_t>(step);
}

template <typename T>
void AAX_CParameter<T>::SetStepValue(uint32_t iStep)
{
    if (mNumSteps < 2)
        return;
    SetNormalizedValue(GetNormalizedValueFromStep(iStep));
}

template <typename T>
bool AAX_CParameter<T>::GetValueString(AAX_CString* valueString) const
{
    if (valueString == nullptr)
        return false;
    return mDisplayDelegate->ValueToString(GetValue(), valueString);
}

template <typename T>
bool AAX_CParameter<T>::GetValueString(int32_t iMaxNumChars, AAX_CString* valueString) const
{
    if (valueString == nullptr)
        return false;
    return mDisplayDelegate->ValueToString(GetValue(), iMaxNumChars, valueString);
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromBool(bool, double*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromInt32(int32_t, double*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromFloat(float value, double* normalizedValue) const
{
    if constexpr (std::is_same_v<T, float>)
    {
        if (normalizedValue == nullptr)
            return false;
        *normalizedValue = mTaperDelegate->RealToNormalized(value);
        return true;
    }
    else
    {
        (void)value;
        (void)normalizedValue;
        return false;
    }
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromDouble(double, double*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromString(const AAX_CString& valueString,
                                                     double* normalizedValue) const
{
    if (normalizedValue == nullptr)
        return false;
    T value = T();
    if (!mDisplayDelegate->StringToValue(valueString, &value))
        return false;
    *normalizedValue = mTaperDelegate->RealToNormalized(value);
    return true;
}

template <typename T>
bool AAX_CParameter<T>::GetBoolFromNormalizedValue(double, bool*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetInt32FromNormalizedValue(double, int32_t*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetFloatFromNormalizedValue(double normalizedValue, float* value) const
{
    if constexpr (std::is_same_v<T, float>)
    {
        if (value == nullptr)
            return false;
        *value = mTaperDelegate->NormalizedToReal(normalizedValue);
        return true;
    }
    else
    {
        (void)normalizedValue;
        (void)value;
        return false;
    }
}

template <typename T>
bool AAX_CParameter<T>::GetDoubleFromNormalizedValue(double, double*) const
{
    return false;
}

namespace
{
// Whether a real value lies within a taper's range, whichever way the taper runs.
template <typename T>
bool InTaperRange(const AAX_ITaperDelegate<T>& taper, T value)
{
    const T minValue = taper.GetMinimumValue();
    const T maxValue = taper.GetMaximumValue();
    const T lo = maxValue < minValue ? maxValue : minValue;
    const T hi = maxValue < minValue ? minValue : maxValue;
    return !(value > hi) && !(value < lo);
}
} // namespace

template <typename T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double normalizedValue, AAX_CString& valueString) const
{
    const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
    if (!mDisplayDelegate->ValueToString(value, &valueString))
        return false;
    return InTaperRange(*mTaperDelegate, value);
}

template <typename T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double normalizedValue, int32_t iMaxNumChars,
                                                     AAX_CString& valueString) const
{
    const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
    if (!mDisplayDelegate->ValueToString(value, iMaxNumChars, &valueString))
        return false;
    return InTaperRange(*mTaperDelegate, value);
}

template <typename T>
bool AAX_CParameter<T>::SetValueFromString(const AAX_CString& newValueString)
{
    T value = T();
    if (!mDisplayDelegate->StringToValue(newValueString, &value))
        return false;
    SetNormalizedValueRequest(mTaperDelegate->RealToNormalized(value));
    return true;
}

template <typename T>
bool AAX_CParameter<T>::GetValueAsBool(bool*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetValueAsInt32(int32_t*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetValueAsFloat(float* value) const
{
    return mValue.GetValueAsFloat(value);
}

template <typename T>
bool AAX_CParameter<T>::GetValueAsDouble(double*) const
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::GetValueAsString(AAX_IString* value) const
{
    if (value == nullptr)
        return false;
    AAX_CString text;
    const bool ok = GetValueString(&text);
    if (ok)
        *value = text;
    return ok;
}

template <typename T>
bool AAX_CParameter<T>::SetValueWithBool(bool)
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::SetValueWithInt32(int32_t)
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::SetValueWithFloat(float value)
{
    if constexpr (std::is_same_v<T, float>)
    {
        SetValue(value);
        return true;
    }
    else
    {
        (void)value;
        return false;
    }
}

template <typename T>
bool AAX_CParameter<T>::SetValueWithDouble(double)
{
    return false;
}

template <typename T>
bool AAX_CParameter<T>::SetValueWithString(const AAX_IString& value)
{
    return SetValueFromString(AAX_CString(value));
}

template <typename T>
void AAX_CParameter<T>::SetType(AAX_EParameterType iControlType)
{
    mControlType = iControlType;
}

template <typename T>
AAX_EParameterType AAX_CParameter<T>::GetType() const
{
    return mControlType;
}

template <typename T>
void AAX_CParameter<T>::SetOrientation(AAX_EParameterOrientation iOrientation)
{
    mOrientation = iOrientation;
}

template <typename T>
AAX_EParameterOrientation AAX_CParameter<T>::GetOrientation() const
{
    return mOrientation;
}

template <typename T>
void AAX_CParameter<T>::SetTaperDelegate(const AAX_ITaperDelegateBase& inTaperDelegate, bool inPreserveValue)
{
    // A taper of another value type cannot convert this parameter's values: keep the old one.
    const auto* const newTaperDelegate = dynamic_cast<const AAX_ITaperDelegate<T>*>(&inTaperDelegate);
    AAX_ASSERT(nullptr != newTaperDelegate);
    if (newTaperDelegate == nullptr)
        return;

    const double normalizedValue = GetNormalizedValue();
    AAX_ITaperDelegate<T>* const oldTaperDelegate = mTaperDelegate;
    mTaperDelegate = newTaperDelegate->Clone();
    delete oldTaperDelegate;

    mNeedNotify = true;
    if (inPreserveValue)
        SetNormalizedValueRequest(mTaperDelegate->RealToNormalized(GetValue()));
    else
        UpdateNormalizedValue(normalizedValue);
}

template <typename T>
void AAX_CParameter<T>::SetDisplayDelegate(const AAX_IDisplayDelegateBase& inDisplayDelegate)
{
    // A display of another value type cannot show this parameter's values: keep the old one.
    const auto* const newDisplayDelegate = dynamic_cast<const AAX_IDisplayDelegate<T>*>(&inDisplayDelegate);
    AAX_ASSERT(nullptr != newDisplayDelegate);
    if (newDisplayDelegate == nullptr)
        return;

    AAX_IDisplayDelegate<T>* const oldDisplayDelegate = mDisplayDelegate;
    mDisplayDelegate = newDisplayDelegate->Clone();
    delete oldDisplayDelegate;

    // The host fetches the new text.
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostCurrentValue(Identifier(), GetNormalizedValue());
}

template <typename T>
void AAX_CParameter<T>::UpdateNormalizedValue(double newNormalizedValue)
{
    const T newValue = mTaperDelegate->NormalizedToReal(newNormalizedValue);
    if (!mNeedNotify && newValue == GetValue())
        return;

    mValue.Set(newValue);
    if (mAutomationDelegate != nullptr)
    {
        // The host is told the normalised value it sent, held to 0..1 (not a number counts as 0).
        const double posted =
            newNormalizedValue > 1.0 ? 1.0 : (newNormalizedValue >= 0.0 ? newNormalizedValue : 0.0);
        mAutomationDelegate->PostCurrentValue(Identifier(), posted);
    }
    mNeedNotify = false;
}

template class AAX_CParameterValue<float>;
template class AAX_CParameter<float>;

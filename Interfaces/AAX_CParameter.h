// The library's parameter object and value record.
#pragma once

#include "AAX_IParameter.h"
#include "AAX_CString.h"
#include "AAX_ITaperDelegate.h"
#include "AAX_IDisplayDelegate.h"

#include <atomic>
#include <map>

/// Room for an identifier: at most 31 characters and the terminating zero.
enum : int32_t
{
    eParemeterDefaultMaxIdentifierSize = 32
};

/// Identifier (cut to 31 characters, with an assertion report when longer) and real value.
template <typename T>
class AAX_CParameterValue : public AAX_IParameterValue
{
public:
    AAX_CParameterValue(AAX_CParamID identifier, const T& value);
    AAX_CParameterValue(const AAX_CParameterValue& other);
    ~AAX_CParameterValue() override;

    AAX_CParameterValue& operator=(const AAX_CParameterValue&) = delete;

    AAX_IParameterValue* Clone() const override;
    AAX_CParamID Identifier() const override;
    bool GetValueAsBool(bool* value) const override;
    bool GetValueAsInt32(int32_t* value) const override;
    bool GetValueAsFloat(float* value) const override;
    bool GetValueAsDouble(double* value) const override;
    bool GetValueAsString(AAX_IString* value) const override;

    /// The value is read and written atomically: hosts read it from other threads.
    T Get() const { return mValue.load(); }
    void Set(const T& value) { mValue.store(value); }

private:
    char mIdentifier[eParemeterDefaultMaxIdentifierSize];
    std::atomic<T> mValue;
};

/// A parameter whose real value is a T. Owns clones of its taper and display delegates.
template <typename T>
class AAX_CParameter : public AAX_IParameter
{
public:
    /// The delegates are cloned; the caller keeps its own.
    AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                   const AAX_ITaperDelegate<T>& taperDelegate, const AAX_IDisplayDelegate<T>& displayDelegate,
                   bool automatable = false);
    ~AAX_CParameter() override;

    AAX_CParameter(const AAX_CParameter&) = delete;
    AAX_CParameter& operator=(const AAX_CParameter&) = delete;

    AAX_IParameterValue* CloneValue() const override;
    AAX_CParamID Identifier() const override;
    void SetName(const AAX_CString& name) override;
    const AAX_CString& Name() const override;
    void AddShortenedName(const AAX_CString& name) override;
    const AAX_CString& ShortenedName(int32_t iNumCharacters) const override;
    void ClearShortenedNames() override;
    bool Automatable() const override;
    void SetAutomationDelegate(AAX_IAutomationDelegate* iAutomationDelegate) override;
    void Touch() override;
    void Release() override;
    void SetNormalizedValue(double newNormalizedValue) override;
    double GetNormalizedValue() const override;
    void SetNormalizedDefaultValue(double normalizedDefault) override;
    double GetNormalizedDefaultValue() const override;
    void SetToDefaultValue() override;
    void SetNumberOfSteps(uint32_t numSteps) override;
    uint32_t GetNumberOfSteps() const override;
    uint32_t GetStepValue() const override;
    double GetNormalizedValueFromStep(uint32_t iStep) const override;
    uint32_t GetStepValueFromNormalizedValue(double normalizedValue) const override;
    void SetStepValue(uint32_t iStep) override;
    bool GetValueString(AAX_CString* valueString) const override;
    bool GetValueString(int32_t iMaxNumChars, AAX_CString* valueString) const override;
    bool GetNormalizedValueFromBool(bool value, double* normalizedValue) const override;
    bool GetNormalizedValueFromInt32(int32_t value, double* normalizedValue) const override;
    bool GetNormalizedValueFromFloat(float value, double* normalizedValue) const override;
    bool GetNormalizedValueFromDouble(double value, double* normalizedValue) const override;
    bool GetNormalizedValueFromString(const AAX_CString& valueString, double* normalizedValue) const override;
    bool GetBoolFromNormalizedValue(double normalizedValue, bool* value) const override;
    bool GetInt32FromNormalizedValue(double normalizedValue, int32_t* value) const override;
    bool GetFloatFromNormalizedValue(double normalizedValue, float* value) const override;
    bool GetDoubleFromNormalizedValue(double normalizedValue, double* value) const override;
    bool GetStringFromNormalizedValue(double normalizedValue, AAX_CString& valueString) const override;
    bool GetStringFromNormalizedValue(double normalizedValue, int32_t iMaxNumChars,
                                      AAX_CString& valueString) const override;
    bool SetValueFromString(const AAX_CString& newValueString) override;
    bool GetValueAsBool(bool* value) const override;
    bool GetValueAsInt32(int32_t* value) const override;
    bool GetValueAsFloat(float* value) const override;
    bool GetValueAsDouble(double* value) const override;
    bool GetValueAsString(AAX_IString* value) const override;
    bool SetValueWithBool(bool value) override;
    bool SetValueWithInt32(int32_t value) override;
    bool SetValueWithFloat(float value) override;
    bool SetValueWithDouble(double value) override;
    bool SetValueWithString(const AAX_IString& value) override;
    void SetType(AAX_EParameterType iControlType) override;
    AAX_EParameterType GetType() const override;
    void SetOrientation(AAX_EParameterOrientation iOrientation) override;
    AAX_EParameterOrientation GetOrientation() const override;
    void SetTaperDelegate(const AAX_ITaperDelegateBase& inTaperDelegate,
                          bool inPreserveValue = true) override;
    void SetDisplayDelegate(const AAX_IDisplayDelegateBase& inDisplayDelegate) override;
    void UpdateNormalizedValue(double newNormalizedValue) override;

    /// Request path: with an automation delegate a touch / set request / release to the
    /// host, otherwise the value is applied at once.
    void SetValue(T newValue);
    /// The current real value.
    T GetValue() const;

protected:
    void SetNormalizedValueRequest(double newNormalizedValue);

    AAX_CString mNames;
    std::map<uint32_t, AAX_CString> mShortNames;
    bool mAutomatable;
    uint32_t mNumSteps;
    AAX_EParameterType mControlType;
    AAX_EParameterOrientation mOrientation;
    AAX_ITaperDelegate<T>* mTaperDelegate;
    AAX_IDisplayDelegate<T>* mDisplayDelegate;
    AAX_IAutomationDelegate* mAutomationDelegate;
    /// Set: the next host update is stored and posted even when it brings the value held.
    std::atomic<bool> mNeedNotify;
    AAX_CParameterValue<T> mValue;
    T mDefaultValue;
};

// The members are defined in the library, which instantiates AAX_CParameterValue<float> and
// AAX_CParameter<float> explicitly.
extern template class AAX_CParameterValue<float>;
extern template class AAX_CParameter<float>;

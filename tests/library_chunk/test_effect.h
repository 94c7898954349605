#pragma once

// A test effect for the controls chunk: parameters of every value kind, whose value
// getters answer for their own kind (and any others a test names), and which log
// every value set on them.

#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "AAX_IParameter.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tambrix::test
{

class KindParameter final : public AAX_IParameter
{
public:
    enum class Kind
    {
        Float,
        Int32,
        Bool,
        Double,
        String,
        None
    };

    KindParameter(const char* identifier, Kind kind) : mIdentifier(identifier), mKind(kind) {}

    Kind kind() const { return mKind; }
    // Kinds whose getters answer as well as the parameter's own.
    std::set<Kind> alsoAnswers;
    // Every SetValueWith... call, as text ("float 0x3f400000", "int32 7", "bool 1",
    // "double 0x...", "string Text").
    std::vector<std::string> sets;

    float floatValue = 0.0f;
    int32_t intValue = 0;
    bool boolValue = false;
    double doubleValue = 0.0;
    AAX_CString stringValue;

    // Value getters: the parameter's own kind and alsoAnswers answer.
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

    AAX_CParamID Identifier() const override { return mIdentifier.c_str(); }

    // The rest does nothing of interest here.
    AAX_IParameterValue* CloneValue() const override { return nullptr; }
    void SetName(const AAX_CString&) override {}
    const AAX_CString& Name() const override { return mName; }
    void AddShortenedName(const AAX_CString&) override {}
    const AAX_CString& ShortenedName(int32_t) const override { return mName; }
    void ClearShortenedNames() override {}
    bool Automatable() const override { return false; }
    void SetAutomationDelegate(AAX_IAutomationDelegate*) override {}
    void Touch() override {}
    void Release() override {}
    void SetNormalizedValue(double) override {}
    double GetNormalizedValue() const override { return 0.0; }
    void SetNormalizedDefaultValue(double) override {}
    double GetNormalizedDefaultValue() const override { return 0.0; }
    void SetToDefaultValue() override {}
    void SetNumberOfSteps(uint32_t) override {}
    uint32_t GetNumberOfSteps() const override { return 0; }
    uint32_t GetStepValue() const override { return 0; }
    double GetNormalizedValueFromStep(uint32_t) const override { return 0.0; }
    uint32_t GetStepValueFromNormalizedValue(double) const override { return 0; }
    void SetStepValue(uint32_t) override {}
    bool GetValueString(AAX_CString*) const override { return false; }
    bool GetValueString(int32_t, AAX_CString*) const override { return false; }
    bool GetNormalizedValueFromBool(bool, double*) const override { return false; }
    bool GetNormalizedValueFromInt32(int32_t, double*) const override { return false; }
    bool GetNormalizedValueFromFloat(float, double*) const override { return false; }
    bool GetNormalizedValueFromDouble(double, double*) const override { return false; }
    bool GetNormalizedValueFromString(const AAX_CString&, double*) const override { return false; }
    bool GetBoolFromNormalizedValue(double, bool*) const override { return false; }
    bool GetInt32FromNormalizedValue(double, int32_t*) const override { return false; }
    bool GetFloatFromNormalizedValue(double, float*) const override { return false; }
    bool GetDoubleFromNormalizedValue(double, double*) const override { return false; }
    bool GetStringFromNormalizedValue(double, AAX_CString&) const override { return false; }
    bool GetStringFromNormalizedValue(double, int32_t, AAX_CString&) const override { return false; }
    bool SetValueFromString(const AAX_CString&) override { return false; }
    void SetType(AAX_EParameterType) override {}
    AAX_EParameterType GetType() const override { return AAX_eParameterType_Continuous; }
    void SetOrientation(AAX_EParameterOrientation) override {}
    AAX_EParameterOrientation GetOrientation() const override { return 0; }
    void SetTaperDelegate(const AAX_ITaperDelegateBase&, bool) override {}
    void SetDisplayDelegate(const AAX_IDisplayDelegateBase&) override {}
    void UpdateNormalizedValue(double) override {}

private:
    bool answers(Kind kind) const { return kind == mKind || alsoAnswers.count(kind) != 0; }

    std::string mIdentifier;
    Kind mKind;
    AAX_CString mName;
};

// The effect: Gain (float 0.75), Count (int32 -7), On (bool true), Freq (double
// 440.125), Label (string "Hi"), None (no value kind) and the filtered bypass
// "MasterBypassID" (bool), unless a test asks for another set.
class TestEffect : public AAX_CEffectParameters
{
public:
    struct Definition
    {
        const char* identifier;
        KindParameter::Kind kind;
    };
    static std::vector<Definition> DefaultDefinitions();

    explicit TestEffect(std::vector<Definition> definitions = DefaultDefinitions())
        : mDefinitions(std::move(definitions))
    {
    }

    AAX_Result EffectInit() override;
    // Reports `extra` more parameters than the manager holds.
    AAX_Result GetNumberOfParameters(int32_t* oNumControls) const override;

    KindParameter* parameter(const char* identifier);
    std::vector<KindParameter*> parameters() const { return mParameters; }
    // Every SetValueWith... call on any parameter, as "identifier: call".
    std::vector<std::string> allSets() const;
    void clearSets();

    int32_t extra = 0;

    using AAX_CEffectParameters::BuildChunkData;
    const AAX_CChunkDataParser& parser() const { return mChunkParser; }

private:
    std::vector<Definition> mDefinitions;
    std::vector<KindParameter*> mParameters; // owned by the parameter manager
};

} // namespace tambrix::test

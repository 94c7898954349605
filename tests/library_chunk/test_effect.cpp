#include "test_effect.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace tambrix::test
{

namespace
{
std::string Bits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIx32, bits);
    return text;
}

std::string Bits(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    char text[24];
    std::snprintf(text, sizeof text, "0x%016" PRIx64, bits);
    return text;
}
} // namespace

bool KindParameter::GetValueAsBool(bool* value) const
{
    if (!answers(Kind::Bool))
        return false;
    *value = boolValue;
    return true;
}

bool KindParameter::GetValueAsInt32(int32_t* value) const
{
    if (!answers(Kind::Int32))
        return false;
    *value = intValue;
    return true;
}

bool KindParameter::GetValueAsFloat(float* value) const
{
    if (!answers(Kind::Float))
        return false;
    *value = floatValue;
    return true;
}

bool KindParameter::GetValueAsDouble(double* value) const
{
    if (!answers(Kind::Double))
        return false;
    *value = doubleValue;
    return true;
}

bool KindParameter::GetValueAsString(AAX_IString* value) const
{
    if (!answers(Kind::String))
        return false;
    value->Set(stringValue.Get());
    return true;
}

bool KindParameter::SetValueWithBool(bool value)
{
    sets.push_back(std::string("bool ") + (value ? "1" : "0"));
    boolValue = value;
    return true;
}

bool KindParameter::SetValueWithInt32(int32_t value)
{
    sets.push_back("int32 " + std::to_string(value));
    intValue = value;
    return true;
}

bool KindParameter::SetValueWithFloat(float value)
{
    sets.push_back("float " + Bits(value));
    floatValue = value;
    return true;
}

bool KindParameter::SetValueWithDouble(double value)
{
    sets.push_back("double " + Bits(value));
    doubleValue = value;
    return true;
}

bool KindParameter::SetValueWithString(const AAX_IString& value)
{
    sets.push_back(std::string("string ") + value.Get());
    stringValue.Set(value.Get());
    return true;
}

std::vector<TestEffect::Definition> TestEffect::DefaultDefinitions()
{
    using K = KindParameter::Kind;
    return {{"Gain", K::Float}, {"Count", K::Int32}, {"MasterBypassID", K::Bool},
            {"On", K::Bool},    {"Freq", K::Double}, {"Label", K::String},
            {"None", K::None}};
}

AAX_Result TestEffect::EffectInit()
{
    for (const Definition& definition : mDefinitions)
    {
        auto* parameter = new KindParameter(definition.identifier, definition.kind);
        parameter->floatValue = 0.75f;
        parameter->intValue = -7;
        parameter->boolValue = true;
        parameter->doubleValue = 440.125;
        parameter->stringValue.Set("Hi");
        mParameterManager.AddParameter(parameter);
        mParameters.push_back(parameter);
    }
    return AAX_SUCCESS;
}

AAX_Result TestEffect::GetNumberOfParameters(int32_t* oNumControls) const
{
    const AAX_Result result = AAX_CEffectParameters::GetNumberOfParameters(oNumControls);
    if (result == AAX_SUCCESS && oNumControls)
        *oNumControls += extra;
    return result;
}

KindParameter* TestEffect::parameter(const char* identifier)
{
    for (KindParameter* p : mParameters)
        if (std::strcmp(p->Identifier(), identifier) == 0)
            return p;
    return nullptr;
}

std::vector<std::string> TestEffect::allSets() const
{
    std::vector<std::string> out;
    for (const KindParameter* p : mParameters)
        for (const std::string& s : p->sets)
            out.push_back(std::string(p->Identifier()) + ": " + s);
    return out;
}

void TestEffect::clearSets()
{
    for (KindParameter* p : mParameters)
        p->sets.clear();
}

} // namespace tambrix::test

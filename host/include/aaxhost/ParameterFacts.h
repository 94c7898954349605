#pragma once

#include "aaxhost/EffectParameters.h"

#include "tambrix/text/Json.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace aaxhost
{

// What a host reads of one parameter of an effect.
struct ParameterFacts
{
    Result idResult = kResultOk; // GetParameterIDFromIndex; nothing more is read when it fails
    bool ok = false;             // every query succeeded
    std::string id, name;
    double value = 0.0, defaultValue = 0.0; // normalised
    int32_t steps = 0, type = 0;
    bool automatable = false;
    std::string text; // of the value, at most 32 characters
};

// Every parameter's facts by index, at most `limit`; GetNumberOfParameters's answer in *countResult.
std::vector<ParameterFacts> readParameters(const IEffectParameters& effect, Result* countResult = nullptr,
                                           int32_t limit = 100000);

// The facts under `keys`, in their order: "id", "name", "value", "text", "default",
// "steps", "type" and "automatable" as they appear in the tools' reports.
tambrix::text::Json parameterJson(const ParameterFacts& p, std::initializer_list<const char*> keys);

} // namespace aaxhost

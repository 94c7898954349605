#pragma once

#include "aaxhost/EffectParameters.h"

#include "tambrix/text/Json.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace aaxhost
{

// What a host reads of an effect's parameters and chunks, as the tools report it.

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

// What a host reads of one chunk of an effect.
struct ChunkFacts
{
    Result idResult = kResultOk;   // GetChunkIDFromIndex
    Result sizeResult = kResultOk; // GetChunkSize (not asked, and idResult, when that failed)
    uint32_t id = 0;
    uint32_t size = 0;
};

// How many chunks the tools list at the most, of a plug-in that reports absurd counts.
inline constexpr int32_t kMaxListedChunks = 1024;

// Every chunk's facts by index, at most kMaxListedChunks; GetNumberOfChunks's answer in *countResult.
std::vector<ChunkFacts> readChunks(const IEffectParameters& effect, Result* countResult = nullptr);

} // namespace aaxhost

#include "aaxhost/ParameterFacts.h"

#include <algorithm>
#include <iterator>

namespace aaxhost
{

std::vector<ParameterFacts> readParameters(const IEffectParameters& effect, Result* countResult,
                                           int32_t limit)
{
    int32_t count = 0;
    const Result counted = effect.GetNumberOfParameters(&count);
    if (countResult != nullptr)
        *countResult = counted;
    std::vector<ParameterFacts> parameters(static_cast<std::size_t>(std::clamp(count, 0, limit)));
    for (std::size_t i = 0; i < parameters.size(); ++i)
    {
        ParameterFacts& p = parameters[i];
        HostString id, name, text;
        p.idResult = effect.GetParameterIDFromIndex(static_cast<int32_t>(i), &id);
        if (p.idResult != kResultOk)
            continue;
        const char* pid = id.text().c_str();
        uint8_t automatable = 0;
        const Result results[] = {effect.GetParameterName(pid, &name),
                                  effect.GetParameterNormalizedValue(pid, &p.value),
                                  effect.GetParameterDefaultNormalizedValue(pid, &p.defaultValue),
                                  effect.GetParameterNumberOfSteps(pid, &p.steps),
                                  effect.GetParameterType(pid, &p.type),
                                  effect.GetParameterIsAutomatable(pid, &automatable),
                                  effect.GetParameterValueString(pid, &text, 32)};
        p.ok = std::all_of(std::begin(results), std::end(results), [](Result r) { return r == kResultOk; });
        p.id = id.text();
        p.name = name.text();
        p.automatable = automatable != 0;
        p.text = text.text();
    }
    return parameters;
}

std::vector<ChunkFacts> readChunks(const IEffectParameters& effect, Result* countResult)
{
    int32_t count = 0;
    const Result counted = effect.GetNumberOfChunks(&count);
    if (countResult != nullptr)
        *countResult = counted;
    std::vector<ChunkFacts> chunks(static_cast<std::size_t>(std::clamp(count, 0, kMaxListedChunks)));
    for (std::size_t i = 0; i < chunks.size(); ++i)
    {
        ChunkFacts& c = chunks[i];
        c.idResult = effect.GetChunkIDFromIndex(static_cast<int32_t>(i), &c.id);
        // Without an identifier there is nothing to ask the size of.
        c.sizeResult = c.idResult == kResultOk ? effect.GetChunkSize(c.id, &c.size) : c.idResult;
    }
    return chunks;
}

tambrix::text::Json parameterJson(const ParameterFacts& p, std::initializer_list<const char*> keys)
{
    const tambrix::text::Json all{{"id", p.id},
                                  {"name", p.name},
                                  {"value", p.value},
                                  {"text", p.text},
                                  {"default", p.defaultValue},
                                  {"steps", p.steps},
                                  {"type", p.type},
                                  {"automatable", p.automatable}};
    tambrix::text::Json json = tambrix::text::Json::object();
    for (const char* key : keys)
        json[key] = all.at(key);
    return json;
}

} // namespace aaxhost

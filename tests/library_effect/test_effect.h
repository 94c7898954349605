#pragma once

// A small effect for the tests: by default two parameters ("Gain", default 0.5,
// and "Mix", default 0.25) plus the master bypass (default 0), with the bypass
// packet on port 3 and the gain packet on port 5, both filled by
// GenerateSingleValuePacket; "Mix" has no packet. A test may replace what
// EffectInit does before the host calls Initialize.

#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include <functional>
#include <set>
#include <string>

namespace tambrix::test
{

constexpr int32_t kBypassPort = 3;
constexpr int32_t kGainPort = 5;

// A float parameter over 0..1 with the three-decimal display, as the framework makes them.
AAX_CParameter<float>* MakeParameter(const char* identifier, const char* name, float defaultValue);

class TestEffect : public AAX_CEffectParameters
{
public:
    using Setup = std::function<AAX_Result(TestEffect&)>;

    TestEffect();

    // Creator procedure 0 as the host sees it.
    static void* Create();
    // The object behind the host's interface pointer.
    static TestEffect& From(void* primaryInterface);

    AAX_Result EffectInit() override;

    // The default contents (two parameters, bypass, two packets).
    static AAX_Result DefaultSetup(TestEffect& effect);

    void SetSetup(Setup setup) { mSetup = std::move(setup); }
    int EffectInitCalls() const { return mEffectInitCalls; }

    AAX_CParameterManager& Manager() { return mParameterManager; }
    AAX_CPacketDispatcher& Dispatcher() { return mPacketDispatcher; }
    void SetChangeCount(int32_t count) { mNumPlugInChanges = count; }
    int32_t NumChunkedParameters() const { return mNumChunkedParameters; }
    const std::set<std::string>& FilteredParameters() const { return mFilteredParameters; }
    AAX_IAutomationDelegate* AutomationDelegate() const { return mAutomationDelegate; }
    void Filter(AAX_CParamID id) { FilterParameterIDOnSave(id); }

private:
    Setup mSetup;
    int mEffectInitCalls = 0;
};

} // namespace tambrix::test

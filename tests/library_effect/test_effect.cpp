#include "test_effect.h"

namespace tambrix::test
{

AAX_CParameter<float>* MakeParameter(const char* identifier, const char* name, float defaultValue)
{
    return new AAX_CParameter<float>(identifier, AAX_CString(name), defaultValue,
                                     AAX_CLinearTaperDelegate<float>(),
                                     AAX_CNumberDisplayDelegate<float, 3>(), true);
}

TestEffect::TestEffect() : mSetup(&TestEffect::DefaultSetup) {}

void* TestEffect::Create()
{
    // The primary interface: the first base of the object.
    return static_cast<AAX_IACFEffectParameters_V4*>(new TestEffect);
}

TestEffect& TestEffect::From(void* primaryInterface)
{
    return *static_cast<TestEffect*>(static_cast<AAX_IACFEffectParameters_V4*>(primaryInterface));
}

AAX_Result TestEffect::EffectInit()
{
    ++mEffectInitCalls;
    return mSetup ? mSetup(*this) : AAX_SUCCESS;
}

AAX_Result TestEffect::DefaultSetup(TestEffect& effect)
{
    effect.mParameterManager.AddParameter(MakeParameter("Gain", "Gain", 0.5f));
    effect.mParameterManager.AddParameter(MakeParameter("Mix", "Mix", 0.25f));
    effect.mParameterManager.AddParameter(MakeParameter(cDefaultMasterBypassID, "Master Bypass", 0.0f));
    effect.mPacketDispatcher.RegisterPacket(cDefaultMasterBypassID, kBypassPort);
    effect.mPacketDispatcher.RegisterPacket("Gain", kGainPort);
    return AAX_SUCCESS;
}

} // namespace tambrix::test

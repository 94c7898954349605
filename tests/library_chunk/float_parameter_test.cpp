// The controls chunk of an effect shaped like the clock plug-in's: one float parameter
// named "0" and a float master bypass, both the library's own parameter objects. A
// restored value goes to the host as a set request and takes effect with its update.

#include "chunk_records.h"

#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include "aaxhost/EffectDriver.h"
#include "aaxhost/Host.h"

#include <gtest/gtest.h>

using tambrix::test::DeclaredChunk;
using tambrix::test::hex;
using tambrix::test::hexText;
using tambrix::test::kElck;

namespace
{

class FloatEffect : public AAX_CEffectParameters
{
public:
    AAX_Result EffectInit() override
    {
        const AAX_CLinearTaperDelegate<float> taper(0.0f, 1.0f);
        const AAX_CNumberDisplayDelegate<float> display;
        mParameterManager.AddParameter(
            new AAX_CParameter<float>("0", AAX_CString("Time Signature"), 0.2f, taper, display, true));
        mParameterManager.AddParameter(new AAX_CParameter<float>(
            cDefaultMasterBypassID, AAX_CString("Master Bypass"), 0.0f, taper, display, true));
        return AAX_SUCCESS;
    }
};

void* MakeFloatEffect()
{
    return static_cast<AAX_IACFEffectParameters_V4*>(new FloatEffect());
}

TEST(FloatParameterChunk, SavesTheWidenedFloatAndRestoresItThroughTheHost)
{
    aaxhost::Host host;
    aaxhost::EffectDriver driver(host);
    ASSERT_EQ(0, driver.create(&MakeFloatEffect));
    ASSERT_EQ(0, driver.initialize());
    aaxhost::IEffectParameters& effect = *driver.effect();

    uint32_t size = 0;
    ASSERT_EQ(0, effect.GetChunkSize(kElck, &size));
    ASSERT_EQ(16u, size);
    DeclaredChunk saved(16, {}, kElck, 0);
    ASSERT_EQ(0, effect.GetChunk(kElck, saved.get()));
    EXPECT_EQ("01 01 01 01 64 5F 30 00 3F C9 99 99 A0 00 00 00", hexText(saved.payload(16)));

    uint8_t equal = 0;
    ASSERT_EQ(0, effect.CompareActiveChunk(saved.get(), &equal));
    EXPECT_EQ(1, equal);

    // A stored 0.5 and a stored bypass: the value is requested from the host, the bypass
    // is left alone.
    DeclaredChunk stored(hex("01 01 01 01 64 5F 30 00 3F E0 00 00 00 00 00 00"
                             "64 5F 4D 61 73 74 65 72 42 79 70 61 73 73 49 44 00 00 00 00"
                             "3F F0 00 00 00 00 00 00"));
    ASSERT_EQ(0, effect.SetChunk(kElck, stored.get()));
    ASSERT_EQ(0, effect.CompareActiveChunk(stored.get(), &equal));
    EXPECT_EQ(0, equal); // not yet: the host has not answered
    EXPECT_EQ(1u, driver.deliverRequests());

    double value = 0.0;
    ASSERT_EQ(0, effect.GetParameterNormalizedValue("0", &value));
    EXPECT_EQ(0.5, value);
    ASSERT_EQ(0, effect.GetParameterNormalizedValue("MasterBypassID", &value));
    EXPECT_EQ(0.0, value);
    ASSERT_EQ(0, effect.CompareActiveChunk(stored.get(), &equal));
    EXPECT_EQ(1, equal);
    EXPECT_EQ(0, effect.CompareActiveChunk(saved.get(), &equal));
    EXPECT_EQ(0, equal);
}

} // namespace

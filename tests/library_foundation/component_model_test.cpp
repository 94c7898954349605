// Reference counting, identity and self-deletion of component objects, driven through
// the host's own view of the interfaces (slot positions, not the library's headers).
#include "library_unknown.h"

#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "AAX_UIDs.h"

#include "aaxhost/Identifiers.h"
#include "aaxhost/Interfaces.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace
{
int gDestroyed = 0;
std::string gEnding; // the steps of the last release, as a GUI object records them

// The smallest GUI object: every operation of the host-facing table answers 0.
class TestGUI final : public AAX_IEffectGUI
{
public:
    ~TestGUI() override { ++gDestroyed; }

    // An object on the stack records the last release's steps but keeps its memory.
    bool onTheStack = false;
    void FinalRelease() override { gEnding += "final release, "; }
    void ReclaimMemory() override
    {
        gEnding += "reclaim memory";
        if (!onTheStack)
            AAX_IEffectGUI::ReclaimMemory();
    }

    AAX_Result Initialize(IACFUnknown*) override { return 0; }
    AAX_Result Uninitialize() override { return 0; }
    AAX_Result NotificationReceived(AAX_CTypeID, const void*, uint32_t) override { return 0; }
    AAX_Result SetViewContainer(IACFUnknown*) override { return 0; }
    AAX_Result GetViewSize(AAX_Point*) const override { return 0; }
    AAX_Result Draw(AAX_Rect*) override { return 0; }
    AAX_Result TimerWakeup() override { return 0; }
    AAX_Result ParameterUpdated(AAX_CParamID) override { return 0; }
    AAX_Result GetCustomLabel(AAX_EPlugInStrings, AAX_IString*) const override { return 0; }
    AAX_Result SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor) override { return 0; }
};

// The smallest effect-parameters object.
class TestEffect final : public AAX_IEffectParameters
{
public:
    ~TestEffect() override { ++gDestroyed; }

    AAX_Result Initialize(IACFUnknown*) override { return 0; }
    AAX_Result Uninitialize() override { return 0; }
    AAX_Result NotificationReceived(AAX_CTypeID, const void*, uint32_t) override { return 0; }
    AAX_Result GetNumberOfParameters(int32_t*) const override { return 0; }
    AAX_Result GetMasterBypassParameter(AAX_IString*) const override { return 0; }
    AAX_Result GetParameterIsAutomatable(AAX_CParamID, AAX_CBoolean*) const override { return 0; }
    AAX_Result GetParameterNumberOfSteps(AAX_CParamID, int32_t*) const override { return 0; }
    AAX_Result GetParameterName(AAX_CParamID, AAX_IString*) const override { return 0; }
    AAX_Result GetParameterNameOfLength(AAX_CParamID, AAX_IString*, int32_t) const override { return 0; }
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID, double*) const override { return 0; }
    AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID, double) override { return 0; }
    AAX_Result GetParameterType(AAX_CParamID, AAX_EParameterType*) const override { return 0; }
    AAX_Result GetParameterOrientation(AAX_CParamID, AAX_EParameterOrientation*) const override { return 0; }
    AAX_Result GetParameter(AAX_CParamID, AAX_IParameter**) override { return 0; }
    AAX_Result GetParameterIndex(AAX_CParamID, int32_t*) const override { return 0; }
    AAX_Result GetParameterIDFromIndex(int32_t, AAX_IString*) const override { return 0; }
    AAX_Result GetParameterValueInfo(AAX_CParamID, int32_t, int32_t*) const override { return 0; }
    AAX_Result GetParameterValueFromString(AAX_CParamID, double*, const AAX_IString&) const override
    {
        return 0;
    }
    AAX_Result GetParameterStringFromValue(AAX_CParamID, double, AAX_IString*, int32_t) const override
    {
        return 0;
    }
    AAX_Result GetParameterValueString(AAX_CParamID, AAX_IString*, int32_t) const override { return 0; }
    AAX_Result GetParameterNormalizedValue(AAX_CParamID, double*) const override { return 0; }
    AAX_Result SetParameterNormalizedValue(AAX_CParamID, double) override { return 0; }
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID, double) override { return 0; }
    AAX_Result TouchParameter(AAX_CParamID) override { return 0; }
    AAX_Result ReleaseParameter(AAX_CParamID) override { return 0; }
    AAX_Result UpdateParameterTouch(AAX_CParamID, AAX_CBoolean) override { return 0; }
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID, double, AAX_EUpdateSource) override { return 0; }
    AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID, double) override { return 0; }
    AAX_Result GenerateCoefficients() override { return 0; }
    AAX_Result ResetFieldData(AAX_CFieldIndex, void*, uint32_t) const override { return 0; }
    AAX_Result GetNumberOfChunks(int32_t*) const override { return 0; }
    AAX_Result GetChunkIDFromIndex(int32_t, AAX_CTypeID*) const override { return 0; }
    AAX_Result GetChunkSize(AAX_CTypeID, uint32_t*) const override { return 0; }
    AAX_Result GetChunk(AAX_CTypeID, AAX_SPlugInChunk*) const override { return 0; }
    AAX_Result SetChunk(AAX_CTypeID, const AAX_SPlugInChunk*) override { return 0; }
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk*, AAX_CBoolean*) const override { return 0; }
    AAX_Result GetNumberOfChanges(int32_t*) const override { return 0; }
    AAX_Result TimerWakeup() override { return 0; }
    AAX_Result GetCurveData(AAX_CTypeID, const float*, uint32_t, float*) const override { return 0; }
    AAX_Result GetCustomData(AAX_CTypeID, uint32_t, void*, uint32_t*) const override { return 0; }
    AAX_Result SetCustomData(AAX_CTypeID, uint32_t, const void*) override { return 0; }
    AAX_Result DoMIDITransfers() override { return 0; }
    AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo*) override { return 0; }
    AAX_Result UpdateMIDINodes(AAX_CFieldIndex, AAX_CMidiPacket&) override { return 0; }
    AAX_Result UpdateControlMIDINodes(AAX_CTypeID, AAX_CMidiPacket&) override { return 0; }
    AAX_Result GetCurveDataMeterIds(AAX_CTypeID, uint32_t*, uint32_t*) const override { return 0; }
    AAX_Result GetCurveDataDisplayRange(AAX_CTypeID, float*, float*, float*, float*) const override
    {
        return 0;
    }
    AAX_Result UpdatePageTable(uint32_t, int32_t, IACFUnknown*, IACFUnknown*) const override { return 0; }
};

// What a creator procedure hands the host: the primary interface, seen by the host.
aaxhost::IACFUnknown* asHost(AAX_IEffectGUI* gui)
{
    return tambrix::test::asHost(static_cast<AAX_IACFEffectGUI*>(gui));
}

aaxhost::IACFUnknown* asHost(AAX_IEffectParameters* effect)
{
    return tambrix::test::asHost(static_cast<AAX_IACFEffectParameters_V4*>(effect));
}

class ComponentModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gDestroyed = 0;
        gEnding.clear();
        liveAtStart = CACFUnknown::GetActiveObjectCount();
    }
    void TearDown() override { EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), liveAtStart); }

    int32_t liveAtStart = 0;
};

TEST_F(ComponentModel, ObjectLivesFromConstructionToTheLastRelease)
{
    aaxhost::IACFUnknown* gui = asHost(new TestGUI);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), liveAtStart + 1);

    void* out = nullptr;
    ASSERT_EQ(gui->QueryInterface(aaxhost::IID_IAAXEffectGUIV1, &out), 0);
    EXPECT_EQ(out, static_cast<void*>(gui)); // the first query adds the first reference
    EXPECT_EQ(gui->AddRef(), 2u);
    EXPECT_EQ(gui->Release(), 1u);
    EXPECT_EQ(gDestroyed, 0);

    EXPECT_EQ(gui->Release(), 0u); // deletes it
    EXPECT_EQ(gDestroyed, 1);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), liveAtStart);
}

TEST_F(ComponentModel, TheLastReleaseRunsFinalReleaseBeforeReclaimMemory)
{
    TestGUI gui;
    gui.onTheStack = true;
    EXPECT_EQ(gui.AddRef(), 1u);
    EXPECT_EQ(gui.Release(), 0u);
    EXPECT_EQ(gEnding, "final release, reclaim memory");
}

TEST_F(ComponentModel, AnObjectNeverHandedOutStillCountsAsLive)
{
    {
        TestEffect onTheStack;
        EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), liveAtStart + 1);
    }
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), liveAtStart);
}

TEST_F(ComponentModel, EveryEffectVersionYieldsThePrimaryInterface)
{
    aaxhost::IACFUnknown* effect = asHost(new TestEffect);
    void* v1 = nullptr;
    ASSERT_EQ(effect->QueryInterface(aaxhost::IID_IAAXEffectParametersV1, &v1), 0);
    EXPECT_EQ(v1, static_cast<void*>(effect));
    for (const aaxhost::Uid* iid :
         {&aaxhost::IID_IAAXEffectParametersV2, &aaxhost::IID_IAAXEffectParametersV3,
          &aaxhost::IID_IAAXEffectParametersV4})
    {
        void* out = nullptr;
        ASSERT_EQ(effect->QueryInterface(*iid, &out), 0);
        EXPECT_EQ(out, v1);
    }
    EXPECT_EQ(effect->AddRef(), 5u); // four queries, one reference each

    void* gui = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(effect->QueryInterface(aaxhost::IID_IAAXEffectGUIV1, &gui), static_cast<int32_t>(0x80000004u));
    EXPECT_EQ(gui, nullptr);

    for (uint32_t expected = 4; expected > 0; --expected)
        EXPECT_EQ(effect->Release(), expected);
    EXPECT_EQ(gDestroyed, 0);
    EXPECT_EQ(effect->Release(), 0u);
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(ComponentModel, TheInnerUnknownIsTheIdentityAndSharesTheCount)
{
    aaxhost::IACFUnknown* gui = asHost(new TestGUI);
    void* first = nullptr;
    ASSERT_EQ(gui->QueryInterface(aaxhost::IID_IAAXEffectGUIV1, &first), 0);

    void* inner = nullptr;
    ASSERT_EQ(gui->QueryInterface(aaxhost::IID_IACFUnknown, &inner), 0);
    ASSERT_NE(inner, nullptr);
    EXPECT_NE(inner, static_cast<void*>(gui));
    auto* innerUnknown = static_cast<aaxhost::IACFUnknown*>(inner);

    // Asking the inner unknown again gives the same pointer; asking it for the GUI
    // interface goes through the object's own answer.
    void* innerAgain = nullptr;
    ASSERT_EQ(innerUnknown->QueryInterface(aaxhost::IID_IACFUnknown, &innerAgain), 0);
    EXPECT_EQ(innerAgain, inner);
    void* guiThroughInner = nullptr;
    ASSERT_EQ(innerUnknown->QueryInterface(aaxhost::IID_IAAXEffectGUIV1, &guiThroughInner), 0);
    EXPECT_EQ(guiThroughInner, static_cast<void*>(gui));

    // Four references now, whichever pointer counts them.
    EXPECT_EQ(innerUnknown->Release(), 3u);
    EXPECT_EQ(gui->Release(), 2u);
    EXPECT_EQ(innerUnknown->Release(), 1u);
    EXPECT_EQ(gDestroyed, 0);
    EXPECT_EQ(innerUnknown->Release(), 0u);
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(ComponentModel, UnknownAndNearMissIdentifiersAreRefused)
{
    aaxhost::IACFUnknown* gui = asHost(new TestGUI);
    void* out = nullptr;
    ASSERT_EQ(gui->QueryInterface(aaxhost::IID_IAAXEffectGUIV1, &out), 0);

    aaxhost::Uid nearMiss = aaxhost::IID_IAAXEffectGUIV1;
    nearMiss.data4[7] ^= 0x01;
    out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(gui->QueryInterface(nearMiss, &out), static_cast<int32_t>(0x80000004u));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(gui->QueryInterface(aaxhost::IID_IAAXEffectParametersV1, &out),
              static_cast<int32_t>(0x80000004u));
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ(gui->Release(), 0u);
}

TEST_F(ComponentModel, ANullOutPointerIsRefusedWithoutAReference)
{
    aaxhost::IACFUnknown* effect = asHost(new TestEffect);
    EXPECT_EQ(effect->QueryInterface(aaxhost::IID_IAAXEffectParametersV1, nullptr),
              static_cast<int32_t>(0x80000003u));
    EXPECT_EQ(effect->QueryInterface(aaxhost::IID_IACFUnknown, nullptr), static_cast<int32_t>(0x80000003u));

    void* out = nullptr;
    ASSERT_EQ(effect->QueryInterface(aaxhost::IID_IAAXEffectParametersV1, &out), 0);
    EXPECT_EQ(effect->Release(), 0u); // the count was 1: nothing was added above
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(ComponentModel, ReferencesFromManyThreadsBalance)
{
    aaxhost::IACFUnknown* effect = asHost(new TestEffect);
    void* out = nullptr;
    ASSERT_EQ(effect->QueryInterface(aaxhost::IID_IAAXEffectParametersV2, &out), 0);

    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back(
            [effect]
            {
                for (int i = 0; i < 2000; ++i)
                {
                    effect->AddRef();
                    effect->Release();
                }
            });
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(gDestroyed, 0);
    EXPECT_EQ(effect->Release(), 0u);
    EXPECT_EQ(gDestroyed, 1);
}

TEST_F(ComponentModel, InitializeInstanceDoesNothing)
{
    TestGUI gui;
    EXPECT_EQ(gui.InitializeInstance(nullptr), 0);
    EXPECT_EQ(gui.GetOuterUnknown(), gui.GetPrivateUnknown());
}
} // namespace

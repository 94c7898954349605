// The effect parameters base as a host drives it: life cycle, parameter queries, the
// host's updates and the change counter, the request path, coefficients and packets.

#include "effect_fixture.h"
#include "library_unknown.h"

#include "AAX_CHostServices.h"

#include "aaxhost/PageTable.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>

using aaxhost::AutomationEvent;
using aaxhost::HostString;
using namespace tambrix::test;

namespace
{

using Kind = AutomationEvent::Kind;

std::vector<std::pair<Kind, std::string>> KindsAndIds(const std::vector<AutomationEvent>& events)
{
    std::vector<std::pair<Kind, std::string>> out;
    for (const auto& event : events)
        out.emplace_back(event.kind, event.parameterId);
    return out;
}

// Position in the host's record of the first call matching, or -1.
long FirstCall(const std::vector<aaxhost::Call>& calls, const std::string& object,
               const std::string& operation, const aaxhost::Uid* iid = nullptr)
{
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].object == object && calls[i].operation == operation &&
            (iid == nullptr || (!calls[i].args.empty() && calls[i].arg<aaxhost::Uid>(0) == *iid)))
            return static_cast<long>(i);
    return -1;
}

long LastCall(const std::vector<aaxhost::Call>& calls, const std::string& object,
              const std::string& operation)
{
    for (size_t i = calls.size(); i-- > 0;)
        if (calls[i].object == object && calls[i].operation == operation)
            return static_cast<long>(i);
    return -1;
}

} // namespace

// ---------------------------------------------------------------------------
// Life cycle

TEST_F(EffectFixture, AnswersAllFourVersionsWithOnePointerAndIsGoneAfterRelease)
{
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart + 1);
    void* v1 = nullptr;
    void* v3 = nullptr;
    ASSERT_EQ(Fx().QueryInterface(aaxhost::IID_IAAXEffectParametersV1, &v1), 0);
    ASSERT_EQ(Fx().QueryInterface(aaxhost::IID_IAAXEffectParametersV3, &v3), 0);
    EXPECT_EQ(v1, v3);
    EXPECT_EQ(v1, static_cast<void*>(driver->effect()));
    static_cast<aaxhost::IEffectParameters*>(v1)->Release();
    static_cast<aaxhost::IEffectParameters*>(v3)->Release();

    EXPECT_EQ(driver->release(), 0u);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), 0); // what ACFCanUnloadNow reports
}

TEST_F(EffectFixture, BeforeInitializeThereAreNoWrappersAndNoParameters)
{
    EXPECT_EQ(Object().Controller(), nullptr);
    EXPECT_EQ(Object().Transport(), nullptr);
    int32_t count = -1;
    EXPECT_EQ(Fx().GetNumberOfParameters(&count), 0);
    EXPECT_EQ(count, 0);
    // Nothing to post and nowhere to post it.
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());
}

TEST_F(EffectFixture, InitializeMakesWrappersRegistersParametersAndFiltersTheBypass)
{
    Initialize();
    // The controller wrapper first, then the automation delegate's, then the transport's.
    const auto calls = host->recorder().calls();
    const long controller =
        FirstCall(calls, "ControllerUnknown", "QueryInterface", &aaxhost::IID_IAAXControllerV1);
    const long automation =
        FirstCall(calls, "ControllerUnknown", "QueryInterface", &aaxhost::IID_IAAXAutomationDelegateV1);
    const long transport =
        FirstCall(calls, "ControllerUnknown", "QueryInterface", &aaxhost::IID_IAAXTransportV1);
    ASSERT_GE(controller, 0);
    EXPECT_LT(controller, automation);
    EXPECT_LT(automation, transport);
    EXPECT_LT(transport, FirstCall(calls, "AutomationDelegate", "RegisterParameter"));

    EXPECT_NE(Object().Controller(), nullptr);
    EXPECT_NE(Object().Transport(), nullptr);
    int32_t count = -1;
    EXPECT_EQ(Fx().GetNumberOfParameters(&count), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Object().NumChunkedParameters(), 2);
    EXPECT_EQ(Object().FilteredParameters(), std::set<std::string>{"MasterBypassID"});

    HostString bypass("old");
    EXPECT_EQ(Fx().GetMasterBypassParameter(&bypass), 0);
    EXPECT_EQ(bypass.text(), "MasterBypassID");

    EXPECT_EQ(KindsAndIds(driver->automation().events(Kind::Register)),
              (std::vector<std::pair<Kind, std::string>>{
                  {Kind::Register, "Gain"}, {Kind::Register, "Mix"}, {Kind::Register, "MasterBypassID"}}));
    EXPECT_EQ(driver->controller().refCount() > 1,
              true); // the controller wrapper holds the host's controller
}

TEST_F(EffectFixture, UninitializeUnregistersEveryParameterThenReleasesTheHostInterfaces)
{
    const uint32_t controllerRefs = driver->controller().refCount();
    const uint32_t automationRefs = driver->automation().refCount();
    Initialize();
    ASSERT_EQ(driver->uninitialize(), 0);

    EXPECT_EQ(KindsAndIds(driver->automation().events(Kind::Unregister)),
              (std::vector<std::pair<Kind, std::string>>{{Kind::Unregister, "Gain"},
                                                         {Kind::Unregister, "Mix"},
                                                         {Kind::Unregister, "MasterBypassID"}}));
    EXPECT_FALSE(driver->automation().isRegistered("Gain"));
    // The parameters unregister while the delegate's wrapper still holds the host's delegate.
    const auto calls = host->recorder().calls();
    EXPECT_LT(LastCall(calls, "AutomationDelegate", "UnregisterParameter"),
              LastCall(calls, "AutomationDelegate", "Release"));
    // Then the wrappers go: the controller's, the automation delegate's, the transport's.
    EXPECT_LT(LastCall(calls, "AutomationDelegate", "UnregisterParameter"),
              LastCall(calls, "Controller", "Release"));
    EXPECT_LT(LastCall(calls, "Controller", "Release"), LastCall(calls, "AutomationDelegate", "Release"));
    EXPECT_LT(LastCall(calls, "AutomationDelegate", "Release"), LastCall(calls, "Transport", "Release"));
    EXPECT_EQ(driver->controller().refCount(), controllerRefs);
    EXPECT_EQ(driver->automation().refCount(), automationRefs);
    EXPECT_EQ(Object().Controller(), nullptr);
    EXPECT_EQ(Object().Transport(), nullptr);

    // Parameters are gone: queries answer as for unknown identifiers.
    double value = -1.0;
    EXPECT_EQ(Fx().GetParameterNormalizedValue("Gain", &value), AAX_ERROR_INVALID_PARAMETER_ID);
    // Packets stay, but there is no controller to post to.
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());
}

TEST_F(EffectFixture, ReleaseWithoutUninitializeFreesParametersAndWrappers)
{
    const uint32_t controllerRefs = driver->controller().refCount();
    const uint32_t automationRefs = driver->automation().refCount();
    const uint32_t transportRefs = driver->transport().refCount();
    Initialize();
    EXPECT_EQ(driver->release(), 0u);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart);
    EXPECT_EQ(driver->automation().events(Kind::Unregister).size(), 3u);
    const auto calls = host->recorder().calls();
    EXPECT_LT(LastCall(calls, "AutomationDelegate", "UnregisterParameter"),
              LastCall(calls, "AutomationDelegate", "Release"));
    // Every reference the wrappers took is given back.
    EXPECT_EQ(driver->controller().refCount(), controllerRefs);
    EXPECT_EQ(driver->automation().refCount(), automationRefs);
    EXPECT_EQ(driver->transport().refCount(), transportRefs);
}

TEST_F(EffectFixture, SecondInitializeIsRefusedAndChangesNothing)
{
    Initialize();
    AAX_IController* controller = Object().Controller();
    const size_t queriesBefore = host->recorder().calls("ControllerUnknown", "QueryInterface").size();

    EXPECT_NE(driver->effect()->Initialize(driver->controllerUnknownInterface()), 0);
    EXPECT_EQ(Object().Controller(), controller);
    EXPECT_EQ(Object().EffectInitCalls(), 1);
    EXPECT_EQ(host->recorder().calls("ControllerUnknown", "QueryInterface").size(), queriesBefore);
    int32_t count = -1;
    Fx().GetNumberOfParameters(&count);
    EXPECT_EQ(count, 3);

    // After Uninitialize a new Initialize is accepted again.
    ASSERT_EQ(driver->uninitialize(), 0);
    EXPECT_EQ(driver->initialize(), 0);
    EXPECT_EQ(Object().EffectInitCalls(), 2);
}

TEST_F(EffectFixture, FailedEffectInitIsReturnedAndLeavesTheCountsAlone)
{
    Object().SetSetup([](TestEffect&) { return AAX_Result(AAX_ERROR_NULL_OBJECT); });
    EXPECT_EQ(driver->effect()->Initialize(driver->controllerUnknownInterface()), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(Object().NumChunkedParameters(), 0);
    EXPECT_TRUE(Object().FilteredParameters().empty());
    // The wrappers stay until Uninitialize; a second Initialize is still refused.
    EXPECT_NE(Object().Controller(), nullptr);
    EXPECT_NE(driver->effect()->Initialize(driver->controllerUnknownInterface()), 0);
    EXPECT_EQ(driver->effect()->Uninitialize(), 0);
    EXPECT_EQ(Object().Controller(), nullptr);
}

TEST_F(EffectFixture, ExceptionsFromEffectInitBecomeUnknownException)
{
    Object().SetSetup([](TestEffect&) -> AAX_Result { throw std::bad_alloc(); });
    EXPECT_EQ(driver->effect()->Initialize(driver->controllerUnknownInterface()),
              AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_EQ(driver->effect()->Uninitialize(), 0);
}

TEST_F(EffectFixture, WithoutBypassTheEmptyIdentifierIsFiltered)
{
    Object().SetSetup(
        [](TestEffect& effect)
        {
            effect.Manager().AddParameter(MakeParameter("Gain", "Gain", 0.5f));
            return AAX_Result(AAX_SUCCESS);
        });
    Initialize();
    HostString bypass("old");
    EXPECT_EQ(Fx().GetMasterBypassParameter(&bypass), 0);
    EXPECT_EQ(bypass.text(), "");
    EXPECT_EQ(Object().FilteredParameters(), std::set<std::string>{""});
    EXPECT_EQ(Object().NumChunkedParameters(), 0); // 1 parameter less 1 filtered identifier
}

TEST_F(EffectFixture, MoreFilteredIdentifiersThanParametersIsReportedAndInitializeGoesOn)
{
    AAX_CHostServices::Set(tambrix::test::asLibrary(host->unknownInterface()));
    Object().SetSetup(
        [](TestEffect& effect)
        {
            effect.Manager().AddParameter(MakeParameter("Gain", "Gain", 0.5f));
            effect.Filter("X");
            effect.Filter("Y");
            effect.Filter(nullptr); // ignored
            return AAX_Result(AAX_SUCCESS);
        });
    EXPECT_EQ(driver->initialize(), 0);
    AAX_CHostServices::Set(nullptr);
    // "X", "Y" and the empty identifier of the missing bypass: 1 - 3.
    EXPECT_EQ(Object().NumChunkedParameters(), -2);
    const auto assertions = host->services().assertions();
    ASSERT_EQ(assertions.size(), 1u);
    EXPECT_EQ(assertions[0].condition, "mNumChunkedParameters >= 0");
    EXPECT_EQ(assertions[0].flags, 1);
}

// ---------------------------------------------------------------------------
// Coefficients and packets

TEST_F(EffectFixture, FirstCoefficientsPostEveryPacketInIdentifierOrderThenOnlyChanges)
{
    Initialize();
    ASSERT_EQ(driver->generateCoefficients(), 0);
    auto posted = driver->takePosted();
    // "Gain" sorts before "MasterBypassID": port 5 first, then port 3.
    ASSERT_EQ(Ports(posted), (std::vector<int32_t>{kGainPort, kBypassPort}));
    EXPECT_EQ(PacketFloat(posted[0]), 0.5f);
    EXPECT_EQ(PacketFloat(posted[1]), 0.0f);

    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());

    // "Mix" has no packet: its update posts nothing.
    EXPECT_EQ(driver->update("Mix", 0.75), 0);
    EXPECT_EQ(driver->generateCoefficients(), 0);
    EXPECT_TRUE(driver->takePosted().empty());

    EXPECT_EQ(driver->update("MasterBypassID", 1.0), 0);
    EXPECT_EQ(driver->generateCoefficients(), 0);
    posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), std::vector<int32_t>{kBypassPort});
    EXPECT_EQ(PacketFloat(posted[0]), 1.0f);

    // The algorithm's ports hold the latest data.
    const auto ports = driver->dataPorts();
    ASSERT_EQ(ports.count(kBypassPort), 1u);
    float bypass = 0.0f;
    std::memcpy(&bypass, ports.at(kBypassPort).data(), sizeof(float));
    EXPECT_EQ(bypass, 1.0f);
}

TEST_F(EffectFixture, AnUpdateWithTheSameValueStillMarksItsPacket)
{
    Initialize();
    driver->generateCoefficients();
    driver->takePosted();
    EXPECT_EQ(driver->update("Gain", 0.5), 0);
    driver->generateCoefficients();
    const auto posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), std::vector<int32_t>{kGainPort});
    EXPECT_EQ(PacketFloat(posted[0]), 0.5f);
}

TEST_F(EffectFixture, AMarkMadeWhileThePacketIsPostedIsKeptForTheNextDispatch)
{
    Initialize();
    bool reentered = false;
    driver->setPacketHook(
        [&](const aaxhost::PostedPacket& packet)
        {
            if (packet.port == kGainPort && !reentered)
            {
                reentered = true;
                EXPECT_EQ(driver->update("Gain", 0.625), 0); // same thread, inside PostPacket
            }
        });
    driver->generateCoefficients();
    EXPECT_TRUE(reentered);
    driver->takePosted();

    driver->generateCoefficients();
    const auto posted = driver->takePosted();
    ASSERT_EQ(Ports(posted), std::vector<int32_t>{kGainPort});
    EXPECT_EQ(PacketFloat(posted[0]), 0.625f);
}

TEST_F(EffectFixture, APostFailureIsReported)
{
    Initialize();
    driver->controller().setResult("PostPacket", -20021);
    EXPECT_EQ(driver->generateCoefficients(), -20021);
    driver->controller().clearResult("PostPacket");
    // The packets were cleared all the same.
    EXPECT_EQ(driver->generateCoefficients(), 0);
}

// ---------------------------------------------------------------------------
// The host's updates and the change counter

TEST_F(EffectFixture, TheChangeCounterCountsOnlyRealChangesOfKnownParameters)
{
    Initialize();
    EXPECT_EQ(Changes(), 0);
    EXPECT_EQ(driver->update("Gain", 0.5), 0); // already 0.5
    EXPECT_EQ(Changes(), 0);
    EXPECT_EQ(driver->update("Gain", 0.75), 0);
    EXPECT_EQ(Changes(), 1);
    EXPECT_EQ(driver->update("Gain", 0.75), 0);
    EXPECT_EQ(Changes(), 1);
    EXPECT_EQ(driver->update("Gain", 1.0), 0);
    EXPECT_EQ(Changes(), 2);
    EXPECT_EQ(driver->update("Gain", 1.7), 0); // clamped to the 1.0 it holds
    EXPECT_EQ(Value("Gain"), 1.0);
    EXPECT_EQ(Changes(), 2);
    EXPECT_EQ(driver->update("Gain", -3.0), 0); // clamped to 0.0: a change
    EXPECT_EQ(Value("Gain"), 0.0);
    EXPECT_EQ(Changes(), 3);
    EXPECT_EQ(driver->update("Nope", 0.3), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(driver->update(nullptr, 0.3), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(Changes(), 3);
    EXPECT_EQ(driver->update("Gain", std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_FALSE(std::isnan(Value("Gain")));
}

TEST_F(EffectFixture, TheChangeCounterWrapsAndIsAlwaysReported)
{
    Initialize();
    Object().SetChangeCount(std::numeric_limits<int32_t>::max());
    EXPECT_EQ(driver->update("Gain", 0.1), 0);
    EXPECT_EQ(Changes(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(driver->update("Gain", 0.2), 0);
    EXPECT_EQ(Changes(), std::numeric_limits<int32_t>::min() + 1);
    EXPECT_EQ(Fx().GetNumberOfChanges(nullptr), AAX_ERROR_NULL_ARGUMENT);
}

TEST_F(EffectFixture, RelativeUpdatesAreClampedAtBothEnds)
{
    Initialize();
    ASSERT_EQ(driver->update("Gain", 0.9), 0);
    EXPECT_EQ(Fx().UpdateParameterNormalizedRelative("Gain", 0.3), 0);
    EXPECT_EQ(Value("Gain"), 1.0);
    ASSERT_EQ(driver->update("Gain", 0.1), 0);
    EXPECT_EQ(Fx().UpdateParameterNormalizedRelative("Gain", -0.5), 0);
    EXPECT_EQ(Value("Gain"), 0.0);
    EXPECT_EQ(Fx().UpdateParameterNormalizedRelative("Nope", 0.1), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(Changes(), 4);
}

namespace
{
// An effect that keeps its values elsewhere, as the framework does: it reads every
// value as 0.25 and only logs what it is asked to set or update.
class ValuesElsewhereEffect : public TestEffect
{
public:
    static void* Create() { return static_cast<AAX_IACFEffectParameters_V4*>(new ValuesElsewhereEffect); }
    static ValuesElsewhereEffect& From(void* primaryInterface)
    {
        return static_cast<ValuesElsewhereEffect&>(TestEffect::From(primaryInterface));
    }

    AAX_Result GetParameterNormalizedValue(AAX_CParamID, double* oValue) const override
    {
        *oValue = 0.25;
        return AAX_SUCCESS;
    }
    AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override
    {
        log.emplace_back("set " + std::string(id), value);
        return AAX_SUCCESS;
    }
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource) override
    {
        log.emplace_back("update " + std::string(id), value);
        return AAX_SUCCESS;
    }

    std::vector<std::pair<std::string, double>> log;
};
} // namespace

TEST_F(EffectFixture, RelativeChangesGoThroughTheDerivedClassesValues)
{
    aaxhost::EffectDriver derived(*host);
    ASSERT_EQ(derived.create(&ValuesElsewhereEffect::Create), aaxhost::kResultOk);
    EXPECT_EQ(derived.effect()->SetParameterNormalizedRelative("Gain", 0.5), 0);
    EXPECT_EQ(derived.effect()->UpdateParameterNormalizedRelative("Gain", -0.125), 0);
    const std::vector<std::pair<std::string, double>> expected = {{"set Gain", 0.75}, {"update Gain", 0.125}};
    EXPECT_EQ(ValuesElsewhereEffect::From(derived.effect()).log, expected);
}

// ---------------------------------------------------------------------------
// The request path: a change from the plug-in's side goes to the host first

TEST_F(EffectFixture, SetRequestsReachTheHostAsTouchRequestReleaseAndChangeNothingUntilTheUpdate)
{
    Initialize();
    driver->automation().clearEvents();
    EXPECT_EQ(Fx().SetParameterNormalizedValue("Gain", 0.25), 0);

    const auto events = driver->automation().events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, Kind::Touch);
    EXPECT_EQ(events[1].kind, Kind::SetRequest);
    EXPECT_EQ(events[1].parameterId, "Gain");
    EXPECT_EQ(events[1].value, 0.25);
    EXPECT_EQ(events[2].kind, Kind::Release);
    EXPECT_EQ(Value("Gain"), 0.5);
    EXPECT_EQ(Changes(), 0);

    EXPECT_EQ(driver->deliverRequests(), 1u);
    EXPECT_EQ(driver->updateResults(), std::vector<aaxhost::Result>{0});
    EXPECT_EQ(Value("Gain"), 0.25);
    EXPECT_EQ(Changes(), 1);
    const auto current = driver->automation().events(Kind::CurrentValue);
    ASSERT_EQ(current.size(), 1u);
    EXPECT_EQ(current[0].value, 0.25);

    // The relative form asks for the clamped sum.
    driver->automation().clearEvents();
    EXPECT_EQ(Fx().SetParameterNormalizedRelative("Gain", 0.9), 0);
    const auto requests = driver->automation().events(Kind::SetRequest);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].value, 1.0);
    EXPECT_EQ(Fx().SetParameterNormalizedRelative("Nope", 0.1), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST_F(EffectFixture, TouchAndReleaseGoToTheHost)
{
    Initialize();
    EXPECT_EQ(Fx().TouchParameter("Mix"), 0);
    EXPECT_TRUE(driver->automation().isTouched("Mix"));
    EXPECT_EQ(Fx().ReleaseParameter("Mix"), 0);
    EXPECT_FALSE(driver->automation().isTouched("Mix"));
    EXPECT_EQ(Fx().UpdateParameterTouch("Mix", 1), 0);
}

// ---------------------------------------------------------------------------
// Queries

TEST_F(EffectFixture, KnownParametersAnswerFromTheirObjects)
{
    Initialize();
    uint8_t automatable = 0;
    EXPECT_EQ(Fx().GetParameterIsAutomatable("Mix", &automatable), 0);
    EXPECT_EQ(automatable, 1);
    int32_t steps = 0;
    EXPECT_EQ(Fx().GetParameterNumberOfSteps("Mix", &steps), 0);
    EXPECT_EQ(steps, 128);
    HostString name;
    EXPECT_EQ(Fx().GetParameterName("MasterBypassID", &name), 0);
    EXPECT_EQ(name.text(), "Master Bypass");
    double value = -1.0;
    EXPECT_EQ(Fx().GetParameterDefaultNormalizedValue("Mix", &value), 0);
    EXPECT_EQ(value, 0.25);
    EXPECT_EQ(Fx().SetParameterDefaultNormalizedValue("Mix", 0.75), 0);
    EXPECT_EQ(Fx().GetParameterDefaultNormalizedValue("Mix", &value), 0);
    EXPECT_EQ(value, 0.75);
    int32_t type = -1;
    EXPECT_EQ(Fx().GetParameterType("Mix", &type), 0);
    EXPECT_EQ(type, 1); // continuous
    int32_t orientation = -1;
    EXPECT_EQ(Fx().GetParameterOrientation("Mix", &orientation), 0);
    EXPECT_EQ(orientation, 0);
    void* parameter = nullptr;
    EXPECT_EQ(Fx().GetParameter("Mix", &parameter), 0);
    EXPECT_EQ(parameter, static_cast<void*>(Object().Manager().GetParameterByID("Mix")));
    int32_t index = -1;
    EXPECT_EQ(Fx().GetParameterIndex("MasterBypassID", &index), 0);
    EXPECT_EQ(index, 2);
    HostString id;
    EXPECT_EQ(Fx().GetParameterIDFromIndex(1, &id), 0);
    EXPECT_EQ(id.text(), "Mix");

    HostString text;
    EXPECT_EQ(Fx().GetParameterValueString("Gain", &text, 8), 0);
    EXPECT_EQ(text.text(), "0.500");
    EXPECT_EQ(Fx().GetParameterStringFromValue("Gain", 0.25, &text, 8), 0);
    EXPECT_EQ(text.text(), "0.250");
    EXPECT_EQ(Fx().GetParameterValueFromString("Gain", &value, HostString("0.125")), 0);
    EXPECT_EQ(value, 0.125);
    value = -1.0;
    EXPECT_EQ(Fx().GetParameterValueFromString("Gain", &value, HostString("loud")),
              AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ(value, -1.0);
}

TEST_F(EffectFixture, UnknownIdentifiersAnswerInvalidParameterIdAndWriteOnlyWhatIsDue)
{
    Initialize();
    for (const char* id : {"Nope", static_cast<const char*>(nullptr), "gain"})
    {
        SCOPED_TRACE(id == nullptr ? "(null)" : id);
        uint8_t automatable = 7;
        EXPECT_EQ(Fx().GetParameterIsAutomatable(id, &automatable), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(automatable, 0);
        int32_t steps = 7;
        EXPECT_EQ(Fx().GetParameterNumberOfSteps(id, &steps), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(steps, 7);
        HostString name("old");
        EXPECT_EQ(Fx().GetParameterName(id, &name), 0);
        EXPECT_EQ(name.text(), "");
        name.Set("old");
        EXPECT_EQ(Fx().GetParameterNameOfLength(id, &name, 4), 0);
        EXPECT_EQ(name.text(), "");
        double value = 7.0;
        EXPECT_EQ(Fx().GetParameterDefaultNormalizedValue(id, &value), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(Fx().SetParameterDefaultNormalizedValue(id, 0.5), AAX_ERROR_INVALID_PARAMETER_ID);
        int32_t type = 7;
        EXPECT_EQ(Fx().GetParameterType(id, &type), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(Fx().GetParameterOrientation(id, &type), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(type, 7);
        void* parameter = &value;
        EXPECT_EQ(Fx().GetParameter(id, &parameter), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(parameter, nullptr);
        int32_t index = 7;
        EXPECT_EQ(Fx().GetParameterIndex(id, &index), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(index, -1);
        EXPECT_EQ(Fx().GetParameterValueFromString(id, &value, HostString("0.5")),
                  AAX_ERROR_INVALID_PARAMETER_ID);
        HostString text("old");
        EXPECT_EQ(Fx().GetParameterStringFromValue(id, 0.5, &text, 8), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(Fx().GetParameterValueString(id, &text, 8), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(text.text(), "old");
        EXPECT_EQ(Fx().GetParameterNormalizedValue(id, &value), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(value, 7.0);
        EXPECT_EQ(Fx().SetParameterNormalizedValue(id, 0.5), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(Fx().TouchParameter(id), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(Fx().ReleaseParameter(id), AAX_ERROR_INVALID_PARAMETER_ID);
    }
    for (int32_t index : {-1, 3, std::numeric_limits<int32_t>::max()})
    {
        HostString id("old");
        EXPECT_EQ(Fx().GetParameterIDFromIndex(index, &id), AAX_ERROR_INVALID_PARAMETER_ID);
        EXPECT_EQ(id.text(), "");
    }
    EXPECT_EQ(driver->automation().events(Kind::SetRequest).size(), 0u);
}

TEST_F(EffectFixture, NullOutPointersAreRefusedWithoutACrash)
{
    Initialize();
    EXPECT_EQ(Fx().GetNumberOfParameters(nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetMasterBypassParameter(nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameterIsAutomatable("Gain", nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameterNumberOfSteps("Gain", nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameterName("Gain", nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameterNameOfLength("Gain", nullptr, 4), AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ(Fx().GetParameterNormalizedValue("Gain", nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameterValueString("Gain", nullptr, 8), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameterIDFromIndex(0, nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().GetParameter("Gain", nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(Fx().ResetFieldData(0, nullptr, 16), 0);
    EXPECT_EQ(Fx().NotificationReceived(AAX_eNotificationEvent_ASPreviewState, nullptr, 4), 0);
}

TEST_F(EffectFixture, AStepCountBeyondInt32IsAnOverflow)
{
    Object().SetSetup(
        [](TestEffect& effect)
        {
            auto* parameter = MakeParameter("Steps", "Steps", 0.0f);
            parameter->SetNumberOfSteps(4294967295u);
            effect.Manager().AddParameter(parameter);
            auto* edge = MakeParameter("Edge", "Edge", 0.0f);
            edge->SetNumberOfSteps(2147483647u);
            effect.Manager().AddParameter(edge);
            return AAX_Result(AAX_SUCCESS);
        });
    Initialize();
    int32_t steps = 7;
    EXPECT_EQ(Fx().GetParameterNumberOfSteps("Steps", &steps), AAX_ERROR_SIGNED_INT_OVERFLOW);
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(Fx().GetParameterNumberOfSteps("Edge", &steps), 0);
    EXPECT_EQ(steps, 2147483647);
}

TEST_F(EffectFixture, NamesOfLimitedLengthPickTheLongestFittingLine)
{
    Object().SetSetup(
        [](TestEffect& effect)
        {
            effect.Manager().AddParameter(MakeParameter("Lines", "Gain\nGn\nG", 0.0f));
            effect.Manager().AddParameter(MakeParameter("Volume", "Volume", 0.0f));
            auto* shortened = MakeParameter("Short", "Frequency Cutoff", 0.0f);
            shortened->AddShortenedName(AAX_CString("Freq\nF"));
            effect.Manager().AddParameter(shortened);
            effect.Manager().AddParameter(MakeParameter("Empty", "", 0.0f));
            effect.Manager().AddParameter(MakeParameter("Long", std::string(300, 'x').c_str(), 0.0f));
            return AAX_Result(AAX_SUCCESS);
        });
    Initialize();
    const auto nameOf = [&](const char* id, int32_t length)
    {
        HostString name("untouched");
        EXPECT_EQ(Fx().GetParameterNameOfLength(id, &name, length), 0);
        return name.text();
    };
    EXPECT_EQ(nameOf("Lines", 3), "Gn");
    EXPECT_EQ(nameOf("Lines", 1), "G");
    EXPECT_EQ(nameOf("Lines", 10), "Gain"); // a line, never the whole text
    EXPECT_EQ(nameOf("Lines", 0), "");
    EXPECT_EQ(nameOf("Volume", 3), "Vol");
    EXPECT_EQ(nameOf("Volume", 6), "Volume");
    EXPECT_EQ(nameOf("Volume", -1), "");
    EXPECT_EQ(nameOf("Short", 5), "Freq");
    EXPECT_EQ(nameOf("Short", 1), "F");
    EXPECT_EQ(nameOf("Empty", 4), "untouched");
    EXPECT_EQ(nameOf("Long", 300), std::string(255, 'x')); // only the first 255 characters are looked at
    EXPECT_EQ(nameOf("Long", 3), "xxx");
}

TEST_F(EffectFixture, FixedAnswers)
{
    Initialize();
    int32_t info = 7;
    EXPECT_EQ(Fx().GetParameterValueInfo("Gain", 0, &info), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(info, 0);
    EXPECT_EQ(Fx().TimerWakeup(), 0);
    float curve[2] = {1.0f, 2.0f};
    EXPECT_EQ(Fx().GetCurveData(0, curve, 2, curve), AAX_ERROR_UNIMPLEMENTED);
    uint32_t written = 7;
    EXPECT_EQ(Fx().GetCustomData(0, 4, curve, &written), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(Fx().SetCustomData(0, 4, curve), 0);
    EXPECT_EQ(Fx().DoMIDITransfers(), 0);
    EXPECT_EQ(Fx().RenderAudio_Hybrid(nullptr), AAX_ERROR_UNIMPLEMENTED);
    uint32_t x = 0;
    uint32_t y = 0;
    EXPECT_EQ(Fx().GetCurveDataMeterIds(0, &x, &y), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(Fx().GetCurveDataDisplayRange(0, curve, curve, curve, curve), AAX_ERROR_UNIMPLEMENTED);

    unsigned char field[12];
    std::memset(field, 0xAA, sizeof(field));
    EXPECT_EQ(Fx().ResetFieldData(4, field, 8), 0);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(field[i], 0);
    for (int i = 8; i < 12; ++i)
        EXPECT_EQ(field[i], 0xAA);
}

TEST_F(EffectFixture, PageTablesReachTheHookOnlyWhenTheHostOffersOne)
{
    Initialize();
    EXPECT_EQ(Fx().UpdatePageTable(0, 0, nullptr, nullptr), 0);
    auto table = aaxhost::makeHost<aaxhost::PageTable>(host->sharedRecorder());
    const uint32_t refs = table->refCount();
    EXPECT_EQ(Fx().UpdatePageTable(0, 0, nullptr, table->primaryInterface()), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(table->refCount(), refs); // the temporary wrapper released it
}

// ---------------------------------------------------------------------------
// The preview notification

namespace
{
class PreviewParameter : public AAX_CParameter<float>
{
public:
    explicit PreviewParameter(std::vector<bool>* calls)
        : AAX_CParameter<float>(cPreviewID, AAX_CString("Preview"), 0.0f, AAX_CLinearTaperDelegate<float>(),
                                AAX_CNumberDisplayDelegate<float, 3>(), true),
          mCalls(calls)
    {
    }
    bool SetValueWithBool(bool value) override
    {
        mCalls->push_back(value);
        return true;
    }

private:
    std::vector<bool>* mCalls;
};
} // namespace

TEST_F(EffectFixture, ThePreviewNotificationSetsThePreviewParameter)
{
    std::vector<bool> calls;
    Object().SetSetup(
        [&calls](TestEffect& effect)
        {
            effect.Manager().AddParameter(new PreviewParameter(&calls));
            return AAX_Result(AAX_SUCCESS);
        });
    Initialize();
    const int32_t on = 1;
    const int32_t off = 0;
    const uint32_t preview = AAX_eNotificationEvent_ASPreviewState;
    EXPECT_EQ(Fx().NotificationReceived(preview, &on, 4), 0);
    EXPECT_EQ(Fx().NotificationReceived(preview, &off, 8), 0); // the size beyond 4 is not looked at
    EXPECT_EQ(Fx().NotificationReceived(preview, &on, 2), 0);  // too short: ignored
    EXPECT_EQ(Fx().NotificationReceived(preview, nullptr, 4), 0);
    EXPECT_EQ(Fx().NotificationReceived(0x41535077u, &on, 4), 0); // another type
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

TEST_F(EffectFixture, ThePreviewNotificationWithoutPreviewParameterDoesNothing)
{
    Initialize();
    const int32_t on = 1;
    EXPECT_EQ(Fx().NotificationReceived(AAX_eNotificationEvent_ASPreviewState, &on, 4), 0);
    EXPECT_EQ(Changes(), 0);
    EXPECT_TRUE(driver->automation().events(Kind::SetRequest).empty());
}

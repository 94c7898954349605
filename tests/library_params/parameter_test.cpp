#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>

namespace
{

using Taper = AAX_CLinearTaperDelegate<float, 0>;
using Display = AAX_CNumberDisplayDelegate<float, 3u, 0u>;
using Parameter = AAX_CParameter<float>;
using Kind = aaxhost::AutomationEvent::Kind;
using tambrix::test::assertionConditions;
using tambrix::test::eventKinds;

static_assert(!std::is_copy_constructible_v<Parameter> && !std::is_copy_assignable_v<Parameter>,
              "a parameter owns its delegates");

const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::unique_ptr<Parameter> makeParameter(const char* id = "gain", float defaultValue = 0.5f,
                                         const Taper& taper = Taper(0.0f, 1.0f))
{
    return std::make_unique<Parameter>(id, AAX_CString("Gain"), defaultValue, taper, Display(), true);
}

std::string valueText(const Parameter& parameter)
{
    AAX_CString text;
    EXPECT_TRUE(parameter.GetValueString(&text));
    return text.Get();
}

float currentValue(const Parameter& parameter)
{
    float value = -1.0f;
    EXPECT_TRUE(parameter.GetValueAsFloat(&value));
    return value;
}

// A parameter attached, through the library's wrapper, to the host's automation
// delegate, whose update handler calls back into the parameter as a host does.
class AttachedParameter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parameter->SetAutomationDelegate(&wrapper);
        hostDelegate().setUpdateHandler(
            [this](const std::string& id, double value)
            {
                if (id == parameter->Identifier())
                    parameter->UpdateNormalizedValue(value);
            });
        hostDelegate().clearEvents();
    }

    aaxhost::AutomationDelegate& hostDelegate() { return *controller.delegate; }

    aaxhost::Host host;
    tambrix::test::HostController controller{host};
    AAX_VAutomationDelegate wrapper{controller.unknown()};
    tambrix::test::ServicesScope services{host};
    std::unique_ptr<Parameter> parameter = makeParameter();
};

TEST(Parameter, FreshParameter)
{
    const auto parameter = makeParameter();
    EXPECT_STREQ(parameter->Identifier(), "gain");
    EXPECT_STREQ(parameter->Name().Get(), "Gain");
    EXPECT_TRUE(parameter->Automatable());
    EXPECT_EQ(parameter->GetNumberOfSteps(), 128u);
    EXPECT_EQ(parameter->GetType(), AAX_eParameterType_Continuous);
    EXPECT_EQ(parameter->GetOrientation(), 0);
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.5);
    EXPECT_EQ(parameter->GetNormalizedDefaultValue(), 0.5);
    EXPECT_EQ(valueText(*parameter), "0.500");
    EXPECT_EQ(currentValue(*parameter), 0.5f);

    parameter->SetType(AAX_eParameterType_Discrete);
    parameter->SetOrientation(19);
    EXPECT_EQ(parameter->GetType(), AAX_eParameterType_Discrete);
    EXPECT_EQ(parameter->GetOrientation(), 19);

    // A default outside the taper is applied clamped.
    EXPECT_EQ(makeParameter("g", 3.0f)->GetNormalizedValue(), 1.0);
}

TEST(Parameter, OnlyFloatValuesAreSupported)
{
    const auto parameter = makeParameter();
    bool b = true;
    int32_t i = 42;
    double d = 4.5;
    EXPECT_FALSE(parameter->GetValueAsBool(&b));
    EXPECT_FALSE(parameter->GetValueAsInt32(&i));
    EXPECT_FALSE(parameter->GetValueAsDouble(&d));
    EXPECT_TRUE(b);
    EXPECT_EQ(i, 42);
    EXPECT_EQ(d, 4.5);
    EXPECT_FALSE(parameter->SetValueWithDouble(0.3));
    EXPECT_FALSE(parameter->SetValueWithBool(true));
    EXPECT_FALSE(parameter->SetValueWithInt32(1));
    EXPECT_EQ(currentValue(*parameter), 0.5f);
    EXPECT_FALSE(parameter->GetNormalizedValueFromDouble(0.2, &d));
    EXPECT_FALSE(parameter->GetDoubleFromNormalizedValue(0.2, &d));
    EXPECT_FALSE(parameter->GetBoolFromNormalizedValue(0.2, &b));
    EXPECT_FALSE(parameter->GetInt32FromNormalizedValue(0.2, &i));
    EXPECT_EQ(d, 4.5);

    float f = 0.0f;
    EXPECT_TRUE(parameter->GetFloatFromNormalizedValue(0.25, &f));
    EXPECT_EQ(f, 0.25f);
    EXPECT_TRUE(parameter->GetNormalizedValueFromFloat(2.0f, &d));
    EXPECT_EQ(d, 1.0);

    // Null destinations are refused.
    EXPECT_FALSE(parameter->GetValueAsFloat(nullptr));
    EXPECT_FALSE(parameter->GetValueAsString(nullptr));
    EXPECT_FALSE(parameter->GetFloatFromNormalizedValue(0.2, nullptr));
    EXPECT_FALSE(parameter->GetNormalizedValueFromFloat(0.2f, nullptr));
    EXPECT_FALSE(parameter->GetNormalizedValueFromString(AAX_CString("0.1"), nullptr));
    EXPECT_FALSE(parameter->GetValueString(nullptr));
    EXPECT_FALSE(parameter->GetValueString(3, nullptr));

    // The value record.
    const std::unique_ptr<AAX_IParameterValue> record(parameter->CloneValue());
    EXPECT_STREQ(record->Identifier(), "gain");
    EXPECT_TRUE(record->GetValueAsFloat(&f));
    EXPECT_EQ(f, 0.5f);
    EXPECT_FALSE(record->GetValueAsDouble(&d));
    EXPECT_FALSE(record->GetValueAsFloat(nullptr));
    const std::unique_ptr<AAX_IParameterValue> copy(record->Clone());
    EXPECT_STREQ(copy->Identifier(), "gain");
}

TEST(Parameter, WithoutDelegateValuesApplyAtOnce)
{
    const auto parameter = makeParameter();
    parameter->SetNormalizedValue(1.7);
    EXPECT_EQ(currentValue(*parameter), 1.0f);
    parameter->SetNormalizedValue(kNaN);
    EXPECT_EQ(currentValue(*parameter), 0.0f);
    EXPECT_TRUE(parameter->SetValueWithFloat(0.25f));
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.25);

    EXPECT_TRUE(parameter->SetValueFromString(AAX_CString("0.75")));
    EXPECT_EQ(currentValue(*parameter), 0.75f);
    EXPECT_FALSE(parameter->SetValueFromString(AAX_CString("loud")));
    EXPECT_EQ(currentValue(*parameter), 0.75f);
    EXPECT_TRUE(parameter->SetValueWithString(AAX_CString("0.125")));
    EXPECT_EQ(currentValue(*parameter), 0.125f);

    double normalized = 9.0;
    EXPECT_TRUE(parameter->GetNormalizedValueFromString(AAX_CString("2.0"), &normalized));
    EXPECT_EQ(normalized, 1.0);
    normalized = 9.0;
    EXPECT_FALSE(parameter->GetNormalizedValueFromString(AAX_CString(""), &normalized));
    EXPECT_EQ(normalized, 9.0);

    parameter->SetNormalizedDefaultValue(1.5);
    EXPECT_EQ(parameter->GetNormalizedDefaultValue(), 1.0);
    EXPECT_EQ(currentValue(*parameter), 0.125f); // the default alone changes nothing
    parameter->SetToDefaultValue();
    EXPECT_EQ(currentValue(*parameter), 1.0f);
}

TEST(Parameter, Steps)
{
    const auto parameter = makeParameter();
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(0.5), 64u);
    EXPECT_DOUBLE_EQ(parameter->GetNormalizedValueFromStep(64), 64.0 / 127.0);
    EXPECT_EQ(parameter->GetNormalizedValueFromStep(200), 1.0);
    EXPECT_EQ(parameter->GetNormalizedValueFromStep(127), 1.0);
    EXPECT_EQ(parameter->GetStepValue(), 64u);
    // Out-of-range and non-numbers stay inside the steps.
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(kNaN), 0u);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(-0.5), 0u);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(1e300), 127u);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(std::numeric_limits<double>::infinity()), 127u);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(-std::numeric_limits<double>::infinity()), 0u);

    parameter->SetNumberOfSteps(2);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(0.49), 0u);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(0.5), 1u);
    EXPECT_EQ(parameter->GetNormalizedValueFromStep(1), 1.0);
    EXPECT_EQ(parameter->GetNormalizedValueFromStep(5), 1.0);

    // The time-signature grid: 31 steps of 1/30.
    parameter->SetNumberOfSteps(31);
    for (uint32_t step = 0; step <= 30; ++step)
    {
        EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(step / 30.0), step);
        EXPECT_DOUBLE_EQ(parameter->GetNormalizedValueFromStep(step), step / 30.0);
        EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(step / 30.0 + 0.49 / 30.0), step);
    }
    parameter->SetStepValue(15);
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.5);
    EXPECT_EQ(parameter->GetStepValue(), 15u);

    parameter->SetNumberOfSteps(1);
    EXPECT_EQ(parameter->GetStepValueFromNormalizedValue(0.9), 0u);
    EXPECT_EQ(parameter->GetNormalizedValueFromStep(3), 0.0);
    parameter->SetStepValue(0);
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.5);
}

TEST(Parameter, ShortenedNames)
{
    const auto parameter = std::make_unique<Parameter>("ts", AAX_CString("Time Signature"), 0.2f,
                                                       Taper(0.0f, 1.0f), Display(), true);
    // Without shortened names every length gives the full name.
    EXPECT_STREQ(parameter->ShortenedName(3).Get(), "Time Signature");

    parameter->AddShortenedName(AAX_CString("TSig"));
    parameter->AddShortenedName("TimeSign");
    EXPECT_STREQ(parameter->ShortenedName(20).Get(), "Time Signature");
    EXPECT_STREQ(parameter->ShortenedName(14).Get(), "Time Signature");
    EXPECT_STREQ(parameter->ShortenedName(10).Get(), "TimeSign");
    EXPECT_STREQ(parameter->ShortenedName(8).Get(), "TimeSign");
    EXPECT_STREQ(parameter->ShortenedName(5).Get(), "TSig");
    EXPECT_STREQ(parameter->ShortenedName(3).Get(), "TSig");
    EXPECT_STREQ(parameter->ShortenedName(-1).Get(), "Time Signature");

    parameter->AddShortenedName("Sign");
    EXPECT_STREQ(parameter->ShortenedName(4).Get(), "Sign");
    parameter->SetName("Metre");
    EXPECT_STREQ(parameter->ShortenedName(4).Get(), "Sign");
    EXPECT_STREQ(parameter->ShortenedName(5).Get(), "Metre");
    parameter->ClearShortenedNames();
    EXPECT_STREQ(parameter->ShortenedName(2).Get(), "Metre");
}

TEST(Parameter, ValueTexts)
{
    const auto parameter = makeParameter();
    AAX_CString text;
    EXPECT_TRUE(parameter->GetValueString(3, &text));
    EXPECT_STREQ(text.Get(), "0.5");
    EXPECT_TRUE(parameter->GetValueString(2, &text));
    EXPECT_STREQ(text.Get(), "0");
    EXPECT_TRUE(parameter->GetStringFromNormalizedValue(0.25, 4, text));
    EXPECT_STREQ(text.Get(), "0.25");
    EXPECT_TRUE(parameter->GetStringFromNormalizedValue(1.5, text));
    EXPECT_STREQ(text.Get(), "1.000");

    AAX_CString asString("x");
    EXPECT_TRUE(parameter->GetValueAsString(&asString));
    EXPECT_STREQ(asString.Get(), "0.500");

    // A falling taper's values are inside its range too.
    const auto falling = makeParameter("f", 0.5f, Taper(1.0f, 0.0f));
    EXPECT_TRUE(falling->GetStringFromNormalizedValue(0.25, text));
    EXPECT_STREQ(text.Get(), "0.750");
    const auto wide = makeParameter("w", 0.0f, Taper(-12.0f, 12.0f));
    EXPECT_TRUE(wide->GetStringFromNormalizedValue(0.5, 6, text));
    EXPECT_STREQ(text.Get(), "0.000");
}

TEST(Parameter, IdentifierLimitAndStepAssertions)
{
    aaxhost::Host host;
    tambrix::test::ServicesScope services(host);

    const std::string id31(31, 'a');
    const auto exact = makeParameter(id31.c_str());
    EXPECT_EQ(std::string(exact->Identifier()), id31);
    EXPECT_TRUE(assertionConditions(host).empty());

    const std::string id40 = "0123456789012345678901234567890123456789";
    const auto longId = makeParameter(id40.c_str());
    EXPECT_EQ(std::string(longId->Identifier()), id40.substr(0, 31));
    ASSERT_EQ(assertionConditions(host),
              std::vector<std::string>{"len < eParemeterDefaultMaxIdentifierSize"});
    EXPECT_EQ(host.services().assertions()[0].flags, 1);

    const std::unique_ptr<AAX_IParameterValue> record(longId->CloneValue());
    EXPECT_EQ(std::string(record->Identifier()), id40.substr(0, 31));
    const AAX_CParameterValue<float> direct(id40.c_str(), 2.0f);
    EXPECT_EQ(std::string(direct.Identifier()), id40.substr(0, 31));
    EXPECT_EQ(assertionConditions(host).size(), 2u); // the clone made none, the direct record one

    // Exactly 32 characters: the first 31 and the terminator stay inside the field; the
    // value stored right behind it (its lowest byte not zero) is untouched.
    const std::string id32(32, 'b');
    const AAX_CParameterValue<float> edge(id32.c_str(), 1.1f);
    EXPECT_EQ(std::string(edge.Identifier()), id32.substr(0, 31));
    EXPECT_EQ(edge.Get(), 1.1f);

    host.services().clear();
    longId->SetNumberOfSteps(0);
    EXPECT_EQ(longId->GetNumberOfSteps(), 128u);
    EXPECT_EQ(assertionConditions(host), std::vector<std::string>{"0 < numSteps"});
}

TEST_F(AttachedParameter, RegistersAndUnregisters)
{
    EXPECT_TRUE(hostDelegate().isRegistered("gain"));

    // Moving to another host delegate: unregistered from the first before registered with the second.
    tambrix::test::HostController other(host, "OtherController");
    AAX_VAutomationDelegate otherWrapper(other.unknown());
    host.recorder().clear();
    parameter->SetAutomationDelegate(&otherWrapper);
    const auto calls = host.recorder().calls();
    std::vector<std::string> order;
    for (const auto& call : calls)
        if (call.operation == "UnregisterParameter" || call.operation == "RegisterParameter")
            order.push_back(call.object + "." + call.operation);
    EXPECT_EQ(order, (std::vector<std::string>{"ControllerUnknownDelegate.UnregisterParameter",
                                               "OtherControllerDelegate.RegisterParameter"}));
    EXPECT_FALSE(hostDelegate().isRegistered("gain"));
    EXPECT_TRUE(other.delegate->isRegistered("gain"));

    // Cleared: only unregistered.
    parameter->SetAutomationDelegate(nullptr);
    EXPECT_EQ(eventKinds(*other.delegate), "Register Unregister");
    EXPECT_FALSE(other.delegate->isRegistered("gain"));

    // Destroyed while attached: unregistered.
    parameter->SetAutomationDelegate(&wrapper);
    parameter.reset();
    EXPECT_EQ(eventKinds(hostDelegate()), "Unregister Register Unregister");
    EXPECT_FALSE(hostDelegate().isRegistered("gain"));
}

TEST_F(AttachedParameter, RequestThenHostUpdate)
{
    EXPECT_TRUE(parameter->SetValueWithFloat(0.25f));
    EXPECT_EQ(eventKinds(hostDelegate()), "Touch SetRequest Release");
    const auto request = hostDelegate().events(Kind::SetRequest).at(0);
    EXPECT_EQ(request.parameterId, "gain");
    EXPECT_EQ(request.value, 0.25);
    EXPECT_FALSE(hostDelegate().isTouched("gain"));
    // Nothing changes until the host answers.
    EXPECT_EQ(currentValue(*parameter), 0.5f);

    hostDelegate().clearEvents();
    EXPECT_EQ(hostDelegate().deliverPending(), 1u);
    EXPECT_EQ(currentValue(*parameter), 0.25f);
    EXPECT_EQ(eventKinds(hostDelegate()), "CurrentValue");
    EXPECT_EQ(hostDelegate().events().at(0).value, 0.25);

    // The same value again is neither stored nor posted.
    hostDelegate().clearEvents();
    parameter->UpdateNormalizedValue(0.25);
    EXPECT_EQ(eventKinds(hostDelegate()), "");

    // Every other request form takes the same path.
    parameter->SetNormalizedValue(1.7);
    EXPECT_TRUE(parameter->SetValueFromString(AAX_CString("0.6")));
    parameter->SetToDefaultValue();
    parameter->SetNumberOfSteps(5);
    parameter->SetStepValue(1);
    std::vector<double> requested;
    for (const auto& event : hostDelegate().events(Kind::SetRequest))
        requested.push_back(event.value);
    EXPECT_EQ(requested, (std::vector<double>{1.0, static_cast<double>(0.6f), 0.5, 0.25}));
    EXPECT_EQ(currentValue(*parameter), 0.25f);
    EXPECT_EQ(hostDelegate().deliverPending(), 4u);
    EXPECT_EQ(currentValue(*parameter), 0.25f);
    EXPECT_EQ(hostDelegate().events(Kind::CurrentValue).size(), 4u);
}

TEST_F(AttachedParameter, RejectedAndIgnoredRequests)
{
    hostDelegate().setResult("PostSetValueRequest", -20001);
    parameter->SetValueWithFloat(0.75f);
    EXPECT_EQ(eventKinds(hostDelegate()), "Touch SetRequest Release");
    EXPECT_EQ(hostDelegate().deliverPending(), 0u);
    EXPECT_EQ(currentValue(*parameter), 0.5f);

    hostDelegate().clearResults();
    hostDelegate().setSetRequestMode(aaxhost::AutomationDelegate::SetRequestMode::Ignored);
    parameter->SetValueWithFloat(0.75f);
    EXPECT_EQ(hostDelegate().deliverPending(), 0u);
    EXPECT_EQ(currentValue(*parameter), 0.5f);
}

TEST_F(AttachedParameter, HostAnswersInsideTheRequest)
{
    hostDelegate().setSetRequestMode(aaxhost::AutomationDelegate::SetRequestMode::Immediate);
    parameter->SetValueWithFloat(0.75f);
    EXPECT_EQ(eventKinds(hostDelegate()), "Touch SetRequest CurrentValue Release");
    EXPECT_EQ(currentValue(*parameter), 0.75f);
}

TEST_F(AttachedParameter, PostedValueIsHeldToTheNormalisedRange)
{
    parameter->UpdateNormalizedValue(0.3);
    parameter->UpdateNormalizedValue(1.5);
    parameter->UpdateNormalizedValue(-0.5);
    parameter->UpdateNormalizedValue(0.3);
    parameter->UpdateNormalizedValue(kNaN);
    std::vector<double> posted;
    for (const auto& event : hostDelegate().events(Kind::CurrentValue))
        posted.push_back(event.value);
    EXPECT_EQ(posted, (std::vector<double>{0.3, 1.0, 0.0, 0.3, 0.0}));
    EXPECT_EQ(currentValue(*parameter), 0.0f);
}

TEST_F(AttachedParameter, TaperChangeForcesTheNextUpdate)
{
    parameter->UpdateNormalizedValue(0.5);
    EXPECT_EQ(eventKinds(hostDelegate()), "");

    // Preserving the value: a request for the value's new position.
    parameter->SetTaperDelegate(Taper(0.0f, 2.0f), true);
    EXPECT_EQ(eventKinds(hostDelegate()), "Touch SetRequest Release");
    EXPECT_EQ(hostDelegate().events(Kind::SetRequest).at(0).value, 0.25);
    EXPECT_EQ(currentValue(*parameter), 0.5f);
    hostDelegate().setSetRequestMode(aaxhost::AutomationDelegate::SetRequestMode::Ignored);
    hostDelegate().clearEvents();
    parameter->UpdateNormalizedValue(0.25); // the value already held, yet stored and posted
    EXPECT_EQ(eventKinds(hostDelegate()), "CurrentValue");
    parameter->UpdateNormalizedValue(0.25);
    EXPECT_EQ(eventKinds(hostDelegate()), "CurrentValue");

    // Not preserving: the normalised position stays, the real value follows the new taper.
    hostDelegate().clearEvents();
    parameter->SetTaperDelegate(Taper(0.0f, 4.0f), false);
    EXPECT_EQ(eventKinds(hostDelegate()), "CurrentValue");
    EXPECT_EQ(hostDelegate().events().at(0).value, 0.25);
    EXPECT_EQ(currentValue(*parameter), 1.0f);
}

TEST_F(AttachedParameter, DelegatesOfAnotherValueTypeAreRefused)
{
    parameter->SetTaperDelegate(AAX_CLinearTaperDelegate<double, 0>(0.0, 10.0), false);
    parameter->SetDisplayDelegate(AAX_CNumberDisplayDelegate<double, 1u, 0u>());
    EXPECT_EQ(assertionConditions(host).size(), 2u);
    EXPECT_EQ(eventKinds(hostDelegate()), "");
    EXPECT_EQ(parameter->GetNormalizedValue(), 0.5);
    EXPECT_EQ(valueText(*parameter), "0.500");

    // A float display is taken, and the host is told to fetch the new text.
    parameter->SetDisplayDelegate(AAX_CNumberDisplayDelegate<float, 1u, 0u>());
    EXPECT_EQ(valueText(*parameter), "0.5");
    EXPECT_EQ(eventKinds(hostDelegate()), "CurrentValue");
    EXPECT_EQ(hostDelegate().events().at(0).value, 0.5);
}

TEST_F(AttachedParameter, GesturesAndTouchState)
{
    parameter->Touch();
    uint8_t touched = 0;
    EXPECT_EQ(wrapper.GetTouchState("gain", &touched), 0);
    EXPECT_EQ(touched, 1);
    parameter->Release();
    EXPECT_EQ(wrapper.GetTouchState("gain", &touched), 0);
    EXPECT_EQ(touched, 0);
    EXPECT_EQ(eventKinds(hostDelegate()), "Touch GetTouchState Release GetTouchState");
}

TEST(Parameter, ValueIsReadWhileTheHostUpdatesIt)
{
    const auto parameter = makeParameter();
    std::atomic<bool> done{false};
    std::thread reader(
        [&]
        {
            while (!done)
            {
                const double normalized = parameter->GetNormalizedValue();
                EXPECT_TRUE(normalized == 0.25 || normalized == 0.75 || normalized == 0.5);
            }
        });
    for (int i = 0; i < 20000; ++i)
        parameter->UpdateNormalizedValue((i & 1) != 0 ? 0.25 : 0.75);
    done = true;
    reader.join();
}

} // namespace

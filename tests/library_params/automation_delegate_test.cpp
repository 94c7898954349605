#include "AAX_Errors.h"
#include "AAX_VAutomationDelegate.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace
{

using Kind = aaxhost::AutomationEvent::Kind;
using tambrix::test::eventKinds;

static_assert(!std::is_copy_constructible_v<AAX_VAutomationDelegate>, "the wrapper holds a host reference");

void expectAllMissing(AAX_VAutomationDelegate& wrapper)
{
    EXPECT_EQ(wrapper.RegisterParameter("p"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(wrapper.UnregisterParameter("p"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(wrapper.PostSetValueRequest("p", 0.5), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(wrapper.PostCurrentValue("p", 0.5), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(wrapper.PostTouchRequest("p"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(wrapper.PostReleaseRequest("p"), AAX_ERROR_NULL_OBJECT);
    AAX_CBoolean touched = 7;
    EXPECT_EQ(wrapper.GetTouchState("p", &touched), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(touched, 7);
}

TEST(AutomationDelegateWrapper, WithoutHostInterface)
{
    AAX_VAutomationDelegate withNull(nullptr);
    expectAllMissing(withNull);

    aaxhost::Host host;
    tambrix::test::HostController controller(host);
    controller.controllerUnknown->refuse(aaxhost::IID_IAAXAutomationDelegateV1);
    AAX_VAutomationDelegate refused(controller.unknown());
    expectAllMissing(refused);
    EXPECT_TRUE(controller.delegate->events().empty());
}

TEST(AutomationDelegateWrapper, ForwardsEveryOperationToItsSlot)
{
    aaxhost::Host host;
    tambrix::test::HostController controller(host);
    aaxhost::AutomationDelegate& delegate = *controller.delegate;
    delegate.setSetRequestMode(aaxhost::AutomationDelegate::SetRequestMode::Ignored);
    const uint32_t before = delegate.refCount();
    {
        AAX_VAutomationDelegate wrapper(controller.unknown());
        EXPECT_EQ(delegate.refCount(), before + 1); // the wrapper holds one reference

        EXPECT_EQ(wrapper.RegisterParameter("one"), 0);
        EXPECT_EQ(wrapper.PostTouchRequest("one"), 0);
        EXPECT_EQ(wrapper.PostSetValueRequest("one", 0.125), 0);
        EXPECT_EQ(wrapper.PostCurrentValue("one", 0.875), 0);
        AAX_CBoolean touched = 0;
        EXPECT_EQ(wrapper.GetTouchState("one", &touched), 0);
        EXPECT_EQ(touched, 1);
        EXPECT_EQ(wrapper.PostReleaseRequest("one"), 0);
        EXPECT_EQ(wrapper.GetTouchState("one", &touched), 0);
        EXPECT_EQ(touched, 0);
        EXPECT_EQ(wrapper.UnregisterParameter("one"), 0);

        EXPECT_EQ(eventKinds(delegate),
                  "Register Touch SetRequest CurrentValue GetTouchState Release GetTouchState Unregister");
        for (const auto& event : delegate.events())
            EXPECT_EQ(event.parameterId, "one");
        EXPECT_EQ(delegate.events(Kind::SetRequest).at(0).value, 0.125);
        EXPECT_EQ(delegate.events(Kind::CurrentValue).at(0).value, 0.875);

        // The host's results come back unchanged.
        delegate.setResult("PostCurrentValue", -12345);
        delegate.setResult("RegisterParameter", aaxhost::kResultFail);
        EXPECT_EQ(wrapper.PostCurrentValue("one", 0.5), -12345);
        EXPECT_EQ(wrapper.RegisterParameter("one"), aaxhost::kResultFail);

        // Nowhere to write the touch state: refused without asking the host.
        delegate.clearEvents();
        EXPECT_EQ(wrapper.GetTouchState("one", nullptr), AAX_ERROR_NULL_ARGUMENT);
        EXPECT_TRUE(delegate.events().empty());
    }
    EXPECT_EQ(delegate.refCount(), before);
}

} // namespace

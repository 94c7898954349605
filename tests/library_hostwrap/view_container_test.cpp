#include "host_wrap_fixture.h"

#include "AAX_Errors.h"
#include "AAX_VViewContainer.h"

#include <memory>
#include <type_traits>

namespace
{

// The framework takes member-function pointers of exactly this type to the
// three single-parameter mouse operations.
using MouseMethod = AAX_Result (AAX_IViewContainer::*)(AAX_CParamID, uint32_t);
static_assert(std::is_same<decltype(&AAX_IViewContainer::HandleParameterMouseDown), MouseMethod>::value,
              "mouse-down signature");
static_assert(std::is_same<decltype(&AAX_IViewContainer::HandleParameterMouseDrag), MouseMethod>::value,
              "mouse-drag signature");
static_assert(std::is_same<decltype(&AAX_IViewContainer::HandleParameterMouseUp), MouseMethod>::value,
              "mouse-up signature");

class ViewContainerWrapper : public ::testing::Test
{
protected:
    aaxhost::Host host;
    aaxhost::HostRef<aaxhost::ViewContainer> view =
        aaxhost::makeHost<aaxhost::ViewContainer>(host.sharedRecorder());

    std::unique_ptr<AAX_IViewContainer> makeWrapper()
    {
        return std::make_unique<AAX_VViewContainer>(tambrix::test::asLibrary(view->primaryInterface()));
    }

    std::vector<aaxhost::Call> calls(const char* operation)
    {
        return host.recorder().calls("ViewContainer", operation);
    }
};

TEST_F(ViewContainerWrapper, ForwardsEveryOperationWithItsArguments)
{
    int window = 0;
    view->setWindow(AAX_eViewContainer_Type_HWND, &window);
    view->setModifiers(0x5u);
    auto v = makeWrapper();

    EXPECT_EQ(v->GetType(), AAX_eViewContainer_Type_HWND);
    EXPECT_EQ(v->GetPtr(), &window);
    uint32_t modifiers = 0;
    EXPECT_EQ(v->GetModifiers(&modifiers), AAX_SUCCESS);
    EXPECT_EQ(modifiers, 0x5u);

    // Height first, then width: the framework asks for 174 high, 150 wide.
    AAX_Point size{174.0f, 150.0f};
    EXPECT_EQ(v->SetViewSize(size), AAX_SUCCESS);
    ASSERT_TRUE(view->viewSize().has_value());
    EXPECT_EQ(view->viewSize()->vert, 174.0f);
    EXPECT_EQ(view->viewSize()->horz, 150.0f);

    MouseMethod methods[] = {&AAX_IViewContainer::HandleParameterMouseDown,
                             &AAX_IViewContainer::HandleParameterMouseDrag,
                             &AAX_IViewContainer::HandleParameterMouseUp};
    for (MouseMethod m : methods)
        EXPECT_EQ(((*v).*m)("0", 0x2u), AAX_SUCCESS);
    for (const char* op : {"HandleParameterMouseDown", "HandleParameterMouseDrag", "HandleParameterMouseUp"})
    {
        const auto recorded = calls(op);
        ASSERT_EQ(recorded.size(), 1u) << op;
        EXPECT_EQ(recorded[0].arg<std::string>(0), "0");
        EXPECT_EQ(recorded[0].arg<uint64_t>(1), 0x2u);
    }

    const AAX_CParamID ids[] = {"0", "MasterBypassID"};
    EXPECT_EQ(v->HandleMultipleParametersMouseDown(ids, 2, 1), AAX_SUCCESS);
    EXPECT_EQ(v->HandleMultipleParametersMouseDrag(ids, 1, 2), AAX_SUCCESS);
    EXPECT_EQ(v->HandleMultipleParametersMouseUp(ids, 2, 3), AAX_SUCCESS);
    const auto down = calls("HandleMultipleParametersMouseDown");
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].arg<uint64_t>(0), 2u);
    EXPECT_EQ(down[0].arg<uint64_t>(1), 1u);
    EXPECT_EQ(down[0].arg<std::string>(2), "0");
    EXPECT_EQ(down[0].arg<std::string>(3), "MasterBypassID");
    EXPECT_EQ(calls("HandleMultipleParametersMouseDrag").at(0).args.size(), 3u);
    EXPECT_EQ(calls("HandleMultipleParametersMouseUp").at(0).arg<uint64_t>(1), 3u);
}

TEST_F(ViewContainerWrapper, WithoutAWindowTheNativeViewIsNull)
{
    auto v = makeWrapper();
    EXPECT_EQ(v->GetPtr(), nullptr);
    EXPECT_EQ(v->GetType(), AAX_eViewContainer_Type_NULL);
}

TEST_F(ViewContainerWrapper, HostAnswersPassThroughUnchanged)
{
    auto v = makeWrapper();
    AAX_Point empty{0.0f, 150.0f};
    EXPECT_EQ(v->SetViewSize(empty), AAX_ERROR_INVALID_VIEW_SIZE);
    view->setResult("HandleParameterMouseDown", -20001);
    EXPECT_EQ(v->HandleParameterMouseDown("0", 0), -20001);
}

TEST(ViewContainerWrapperWithoutHost, NullUnknownGivesTheFallbacks)
{
    AAX_VViewContainer v(nullptr);
    EXPECT_EQ(v.GetType(), 0);
    EXPECT_EQ(v.GetPtr(), nullptr);
    AAX_Point size{10.0f, 20.0f};
    EXPECT_EQ(v.SetViewSize(size), AAX_SUCCESS); // the resize is let stand
    EXPECT_EQ(v.HandleParameterMouseDown("0", 0), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(v.HandleParameterMouseUp("0", 0), AAX_ERROR_UNIMPLEMENTED);
    uint32_t modifiers = 0xABCu;
    EXPECT_EQ(v.GetModifiers(&modifiers), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(modifiers, 0xABCu);
    const AAX_CParamID ids[] = {"0"};
    EXPECT_EQ(v.HandleMultipleParametersMouseDrag(ids, 1, 0), AAX_ERROR_UNIMPLEMENTED);
}

TEST_F(ViewContainerWrapper, VersionOneHostTakesSingleButNotMultipleParameterGestures)
{
    view->refuse(aaxhost::IID_IAAXViewContainerV2);
    auto v = makeWrapper();
    const AAX_CParamID ids[] = {"0"};
    EXPECT_EQ(v->HandleMultipleParametersMouseUp(ids, 1, 0), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_TRUE(calls("HandleMultipleParametersMouseUp").empty());
    EXPECT_EQ(v->HandleParameterMouseUp("0", 4), AAX_SUCCESS);
    EXPECT_EQ(calls("HandleParameterMouseUp").size(), 1u);
}

TEST_F(ViewContainerWrapper, HostWithoutVersionOneGivesTheFallbacksForVersionOneOperations)
{
    view->refuse(aaxhost::IID_IAAXViewContainerV1);
    int window = 0;
    view->setWindow(AAX_eViewContainer_Type_HWND, &window);
    auto v = makeWrapper();
    EXPECT_EQ(v->GetPtr(), nullptr);
    EXPECT_EQ(v->GetType(), 0);
    AAX_Point size{0.0f, 0.0f};
    EXPECT_EQ(v->SetViewSize(size), AAX_SUCCESS);
    EXPECT_FALSE(view->viewSize().has_value());
    const AAX_CParamID ids[] = {"0"};
    EXPECT_EQ(v->HandleMultipleParametersMouseDown(ids, 1, 0), AAX_SUCCESS); // version 2 still answers
}

TEST_F(ViewContainerWrapper, ReferencesAreBalancedAfterTheWrapperIsDestroyed)
{
    const uint32_t refs = view->refCount();
    {
        auto v = makeWrapper();
        EXPECT_EQ(view->refCount(), refs + 2);
    }
    EXPECT_EQ(view->refCount(), refs);
    EXPECT_EQ(view->overReleases(), 0u);
}

} // namespace

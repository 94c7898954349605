// The GUI base driven through the host stand-in: a GUI object over the test effect,
// created through its creator procedure, initialized with the host's controller
// unknown, given, replaced and deprived of view containers, and released.

#include "library_unknown.h"
#include "test_effect.h"
#include "test_gui.h"
#include "virtual_slot.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#include "AAX_VEffectDescriptor.h"

#include "aaxhost/Creators.h"
#include "aaxhost/Description.h"
#include "aaxhost/GuiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tambrix::test
{
namespace
{

using aaxhost::HostRef;
using aaxhost::ViewContainer;
using tambrix::test::VirtualSlot;

// The test effect, watched: which parameter queries reach it, with answers a test
// can make fail.
class ObservedEffect : public tambrix::test::TestEffect
{
public:
    static void* Create() { return static_cast<AAX_IACFEffectParameters_V4*>(new ObservedEffect); }
    static ObservedEffect& From(void* primaryInterface)
    {
        return static_cast<ObservedEffect&>(tambrix::test::TestEffect::From(primaryInterface));
    }

    AAX_Result GetNumberOfParameters(int32_t* oNumControls) const override
    {
        ++countQueries;
        if (forcedCount)
        {
            *oNumControls = *forcedCount;
            return forcedCountResult;
        }
        return TestEffect::GetNumberOfParameters(oNumControls);
    }

    AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* oParameterIDString) const override
    {
        askedIndices.push_back(index);
        if (failingIndices.count(index) != 0)
            return AAX_ERROR_INVALID_PARAMETER_INDEX;
        return TestEffect::GetParameterIDFromIndex(index, oParameterIDString);
    }

    uint32_t Release() override
    {
        if (onRelease)
            onRelease();
        return TestEffect::Release();
    }

    mutable int countQueries = 0;
    mutable std::vector<int32_t> askedIndices;
    std::set<int32_t> failingIndices;
    std::optional<int32_t> forcedCount;
    AAX_Result forcedCountResult = AAX_SUCCESS;
    std::function<void()> onRelease;
};

// One recorded call as text, identifiers by name and pointers only as null or not:
// e.g. "ContainerA.QueryInterface(IID_IAAXViewContainerV1)".
std::string Line(const aaxhost::Call& call)
{
    std::string text = call.object + "." + call.operation + "(";
    const std::size_t shown = call.operation == "QueryInterface" ? 1 : call.args.size();
    for (std::size_t i = 0; i < shown && i < call.args.size(); ++i)
    {
        if (i > 0)
            text += ", ";
        if (const auto* pointer = std::get_if<const void*>(&call.args[i]))
            text += *pointer != nullptr ? "view" : "null";
        else if (const auto* uid = std::get_if<aaxhost::Uid>(&call.args[i]))
            text += aaxhost::identifierName(*uid);
        else
            text += aaxhost::valueToString(call.args[i]);
    }
    return text + ")";
}

// A host unknown's provider that answers a query with failure after storing a
// pointer anyway (without a reference).
class FailingProvider final : public aaxhost::HostObjectOf<aaxhost::IACFUnknown>
{
public:
    FailingProvider(std::shared_ptr<aaxhost::CallRecorder> recorder, void* stored)
        : HostObjectOf("FailingProvider", std::move(recorder)), stored_(stored)
    {
    }

protected:
    ~FailingProvider() override = default;
    void* findInterface(const aaxhost::Uid&) noexcept override { return nullptr; }
    aaxhost::Result answerQuery(const aaxhost::Uid&, void** out) noexcept override
    {
        *out = stored_;
        return aaxhost::kResultFail;
    }

private:
    void* stored_;
};

// A GUI that answers each host operation with 100 + its position, to check that the
// host's declaration and the library's agree on every position.
class SlotGUI final : public AAX_CEffectGUI
{
public:
    static void* Create() { return static_cast<AAX_IACFEffectGUI*>(new SlotGUI); }

    AAX_Result Initialize(IACFUnknown*) override { return 103; }
    AAX_Result Uninitialize() override { return 104; }
    AAX_Result NotificationReceived(AAX_CTypeID, const void*, uint32_t) override { return 105; }
    AAX_Result SetViewContainer(IACFUnknown*) override { return 106; }
    AAX_Result GetViewSize(AAX_Point*) const override { return 107; }
    AAX_Result Draw(AAX_Rect*) override { return 108; }
    AAX_Result TimerWakeup() override { return 109; }
    AAX_Result ParameterUpdated(AAX_CParamID) override { return 110; }
    AAX_Result GetCustomLabel(AAX_EPlugInStrings, AAX_IString*) const override { return 111; }
    AAX_Result SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor) override
    {
        return 112;
    }

protected:
    void CreateViewContents() override {}
    void CreateViewContainer() override {}
    void DeleteViewContainer() override {}
};

// Reference count of a plug-in object, read through a real AddRef and Release.
uint32_t RefCount(aaxhost::IACFUnknown* object)
{
    object->AddRef();
    return object->Release();
}

// A host with one test effect (created, not yet initialized) and a GUI driver for
// the same instance with one test GUI created through its creator procedure. Checks
// at the end that every library object and every host object made meanwhile is gone.
class GuiFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        libraryLiveAtStart = CACFUnknown::GetActiveObjectCount();
        hostLiveAtStart = aaxhost::HostObject::liveCount();
        host = std::make_unique<aaxhost::Host>();
        TestGUI::SetRecorder(host->sharedRecorder());
        effect = std::make_unique<aaxhost::EffectDriver>(*host);
        ASSERT_EQ(effect->create(&ObservedEffect::Create), aaxhost::kResultOk);
        gui = std::make_unique<aaxhost::GuiDriver>(*host, *effect);
        ASSERT_EQ(gui->create(&TestGUI::Create), aaxhost::kResultOk);
    }

    void TearDown() override
    {
        gui.reset();
        effect.reset();
        TestGUI::SetRecorder(nullptr);
        TestGUI::SetThrowingOperation("");
        host.reset();
        EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart);
        EXPECT_EQ(aaxhost::HostObject::liveCount(), hostLiveAtStart)
            << ::testing::PrintToString(aaxhost::HostObject::liveNames());
    }

    // Initializes the effect, then the GUI.
    void Open()
    {
        ASSERT_EQ(effect->initialize(), aaxhost::kResultOk);
        ASSERT_EQ(gui->initialize(), aaxhost::kResultOk);
    }

    TestGUI& Gui() { return TestGUI::From(gui->gui()); }
    ObservedEffect& Fx() { return ObservedEffect::From(effect->effect()); }

    // Calls recorded from now on, as lines, keeping those of the named objects.
    std::size_t Mark() const { return host->recorder().size(); }
    std::vector<std::string> LinesSince(std::size_t mark, const std::set<std::string>& objects,
                                        bool referencesOnly = false) const
    {
        std::vector<std::string> lines;
        for (const auto& call : host->recorder().calls())
        {
            if (call.sequence < mark || objects.count(call.object) == 0)
                continue;
            const bool reference = call.operation == "QueryInterface" || call.operation == "AddRef" ||
                                   call.operation == "Release";
            if (referencesOnly && call.object != "TestGUI" && !reference)
                continue;
            lines.push_back(Line(call));
        }
        return lines;
    }

    int32_t libraryLiveAtStart = 0;
    int64_t hostLiveAtStart = 0;
    std::unique_ptr<aaxhost::Host> host;
    std::unique_ptr<aaxhost::EffectDriver> effect;
    std::unique_ptr<aaxhost::GuiDriver> gui;
};

// ---------------------------------------------------------------------------
// Creation and identity

TEST_F(GuiFixture, CreatorProcedureMakesOneObjectThatAnswersOnlyTheGuiInterface)
{
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart + 2); // effect and GUI
    aaxhost::IEffectGUI* primary = gui->gui();
    EXPECT_EQ(RefCount(primary), 1u);

    void* out = nullptr;
    ASSERT_EQ(primary->QueryInterface(aaxhost::IID_IAAXEffectGUIV1, &out), aaxhost::kResultOk);
    EXPECT_EQ(out, primary);
    static_cast<aaxhost::IACFUnknown*>(out)->Release();

    ASSERT_EQ(primary->QueryInterface(aaxhost::IID_IACFUnknown, &out), aaxhost::kResultOk);
    EXPECT_NE(out, static_cast<void*>(primary));
    EXPECT_EQ(RefCount(primary), 2u);
    EXPECT_EQ(static_cast<aaxhost::IACFUnknown*>(out)->Release(), 1u);

    out = primary;
    EXPECT_EQ(primary->QueryInterface(aaxhost::IID_IAAXEffectParametersV1, &out),
              aaxhost::kResultNoInterface);
    EXPECT_EQ(out, nullptr);

    // Nothing held before Initialize; no view container.
    EXPECT_EQ(Gui().GetEffectParameters(), nullptr);
    EXPECT_FALSE(Gui().HasController());
    EXPECT_FALSE(Gui().HasTransport());
    EXPECT_EQ(Gui().GetViewContainer(), nullptr);
    EXPECT_EQ(Gui().GetViewContainerType(), 0);
    EXPECT_EQ(Gui().GetViewContainerPtr(), nullptr);
}

TEST(GuiSlots, EveryHostPositionReachesItsOperation)
{
    const int32_t libraryLive = CACFUnknown::GetActiveObjectCount();
    {
        aaxhost::Host host;
        aaxhost::GuiDriver driver(host);
        ASSERT_EQ(driver.create(&SlotGUI::Create), 0);
        aaxhost::IEffectGUI& g = *driver.gui();
        aaxhost::ViewPoint size;
        aaxhost::HostString label;
        EXPECT_EQ(g.Initialize(nullptr), 103);
        EXPECT_EQ(g.Uninitialize(), 104);
        EXPECT_EQ(g.NotificationReceived(0, nullptr, 0), 105);
        EXPECT_EQ(g.SetViewContainer(nullptr), 106);
        EXPECT_EQ(g.GetViewSize(&size), 107);
        EXPECT_EQ(g.Draw(nullptr), 108);
        EXPECT_EQ(g.TimerWakeup(), 109);
        EXPECT_EQ(g.ParameterUpdated("x"), 110);
        EXPECT_EQ(g.GetCustomLabel(0, &label), 111);
        EXPECT_EQ(g.SetControlHighlightInfo("x", 1, 0), 112);
        EXPECT_EQ(driver.release(), 0u);
    }
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLive);
}

TEST(GuiSlots, TableOrderEndsInTheViewOperations)
{
#if defined(__x86_64__)
    // After the three identity operations come the ten host operations, then the
    // identity query, the destructor's two entries and the four view operations.
    EXPECT_EQ(VirtualSlot(&AAX_CEffectGUI::QueryInterface), 0u);
    EXPECT_EQ(VirtualSlot(&AAX_CEffectGUI::Release), 2u);
    EXPECT_EQ(VirtualSlot(&AAX_CEffectGUI::Initialize), 3u);
    EXPECT_EQ(VirtualSlot(&AAX_CEffectGUI::SetViewContainer), 6u);
    EXPECT_EQ(VirtualSlot(&AAX_CEffectGUI::SetControlHighlightInfo), 12u);
    EXPECT_EQ(VirtualSlot(&AAX_IEffectGUI::InternalQueryInterface), 13u);
    EXPECT_EQ(TestGUI::ViewOperationSlots(), (std::vector<std::size_t>{16, 17, 18, 19}));
#else
    GTEST_SKIP() << "table positions are read with the x86-64 layout of member pointers";
#endif
}

TEST_F(GuiFixture, FixedAnswersLeaveTheirOutputsAlone)
{
    Open();
    aaxhost::IEffectGUI& g = *gui->gui();

    aaxhost::ViewPoint size{12.0f, 34.0f};
    EXPECT_EQ(g.GetViewSize(&size), 0);
    EXPECT_EQ(size.vert, 12.0f);
    EXPECT_EQ(size.horz, 34.0f);

    aaxhost::HostString label("unchanged");
    EXPECT_EQ(g.GetCustomLabel(0, &label), -20004);
    EXPECT_EQ(label.text(), "unchanged");

    float rect[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    EXPECT_EQ(g.Draw(rect), 0);
    EXPECT_EQ(rect[3], 4.0f);
    const int32_t data = 7;
    EXPECT_EQ(g.NotificationReceived(0x12345678u, &data, sizeof data), 0);
    EXPECT_EQ(g.TimerWakeup(), 0);
    EXPECT_EQ(g.SetControlHighlightInfo("Gain", 1, 2), 0);
    const std::size_t mark = Mark();
    EXPECT_EQ(g.ParameterUpdated("Gain"), 0);
    EXPECT_EQ(LinesSince(mark, {"TestGUI"}),
              (std::vector<std::string>{"TestGUI.ParameterUpdated(\"Gain\")"}));
}

// ---------------------------------------------------------------------------
// Initialize and Uninitialize

TEST_F(GuiFixture, InitializeWrapsTheHostAndTakesTheSameInstancesEffect)
{
    ASSERT_EQ(effect->initialize(), aaxhost::kResultOk);
    const uint32_t effectRefs = RefCount(effect->effect());
    const std::size_t mark = Mark();

    ASSERT_EQ(gui->initialize(), aaxhost::kResultOk);

    // Controller wrapper first, then the effect object, then the transport wrapper,
    // then the view contents, which already see the effect object.
    const std::vector<std::string> expected = {
        "GuiControllerUnknown.QueryInterface(IID_IAAXControllerV1)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXControllerV2)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXControllerV3)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXPageTableController)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXPageTableControllerV2)",
        "GuiControllerUnknown.QueryInterface(IID_IACFComponentFactory)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXEffectParametersV1)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXTransportV1)",
        "GuiControllerUnknown.QueryInterface(IID_IAAXTransportV2)",
        "TestGUI.CreateViewContents()",
    };
    EXPECT_EQ(LinesSince(mark, {"GuiControllerUnknown", "TestGUI"}), expected);

    EXPECT_EQ(Gui().Editor(), &Fx());
    EXPECT_EQ(static_cast<void*>(Gui().GetEffectParameters()), static_cast<void*>(effect->effect()));
    EXPECT_EQ(RefCount(effect->effect()), effectRefs + 1);
    EXPECT_TRUE(Gui().HasController());
    EXPECT_TRUE(Gui().HasTransport());

    // The wrappers reach the host's own controller and transport.
    AAX_CSampleRate rate = 0;
    EXPECT_EQ(Gui().Controller()->GetSampleRate(&rate), AAX_SUCCESS);
    EXPECT_GT(rate, 0);
    bool playing = true;
    EXPECT_EQ(Gui().Transport()->IsTransportPlaying(&playing), AAX_SUCCESS);

    EXPECT_EQ(gui->uninitialize(), 0);
    EXPECT_EQ(Gui().GetEffectParameters(), nullptr);
    EXPECT_FALSE(Gui().HasController());
    EXPECT_FALSE(Gui().HasTransport());
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);
    // A second Uninitialize finds nothing to do.
    EXPECT_EQ(gui->uninitialize(), 0);
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);
}

TEST_F(GuiFixture, InitializeWithoutControllerMakesNothingBeyondTheControllerWrapper)
{
    ASSERT_EQ(effect->initialize(), aaxhost::kResultOk);
    const uint32_t effectRefs = RefCount(effect->effect());
    Fx().countQueries = 0; // the effect counts its own parameters while initializing
    const std::size_t mark = Mark();

    EXPECT_EQ(gui->gui()->Initialize(nullptr), -20011);

    EXPECT_TRUE(LinesSince(mark, {"GuiControllerUnknown", "TestGUI"}).empty());
    EXPECT_TRUE(Gui().HasController());
    EXPECT_EQ(Gui().GetEffectParameters(), nullptr);
    EXPECT_FALSE(Gui().HasTransport());
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);

    // Without effect parameters a container reports no parameter.
    HostRef<ViewContainer> container = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr);
    EXPECT_EQ(gui->setViewContainer(container), 0);
    EXPECT_EQ(Fx().countQueries, 0);
    EXPECT_EQ(host->recorder().count("ParameterUpdated"), 0u);

    // A later Initialize with the controller is not refused: the wrapper over nothing
    // is replaced.
    EXPECT_EQ(gui->initialize(), 0);
    EXPECT_EQ(Gui().Editor(), &Fx());
    EXPECT_EQ(RefCount(effect->effect()), effectRefs + 1);
}

TEST_F(GuiFixture, UninitializeReleasesTheEffectThenTheControllerThenTheTransport)
{
    Open();
    std::optional<std::size_t> effectReleasedAt;
    Fx().onRelease = [&]
    {
        effectReleasedAt = Mark();
    };
    const std::size_t mark = Mark();
    ASSERT_EQ(gui->uninitialize(), 0);
    Fx().onRelease = nullptr;

    std::vector<std::size_t> controllerReleases;
    std::vector<std::size_t> transportReleases;
    for (const auto& call : host->recorder().calls())
    {
        if (call.sequence < mark || call.operation != "Release")
            continue;
        if (call.object == "Controller")
            controllerReleases.push_back(call.sequence);
        else if (call.object == "Transport")
            transportReleases.push_back(call.sequence);
    }
    ASSERT_TRUE(effectReleasedAt.has_value());
    ASSERT_FALSE(controllerReleases.empty());
    ASSERT_FALSE(transportReleases.empty());
    EXPECT_LE(*effectReleasedAt, controllerReleases.front());
    EXPECT_LT(controllerReleases.back(), transportReleases.front());
}

TEST_F(GuiFixture, SecondInitializeIsRefusedAndKeepsTheFirst)
{
    Open();
    const uint32_t effectRefs = RefCount(effect->effect());
    const int64_t hostLive = aaxhost::HostObject::liveCount();
    AAX_IController* const controller = Gui().Controller();
    const std::size_t mark = Mark();

    EXPECT_EQ(gui->gui()->Initialize(gui->controllerUnknownInterface()), -20043);
    EXPECT_EQ(gui->gui()->Initialize(nullptr), -20043);

    EXPECT_TRUE(LinesSince(mark, {"GuiControllerUnknown", "TestGUI", "Controller", "Transport"}).empty());
    EXPECT_EQ(Gui().Controller(), controller);
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), hostLive);

    // After Uninitialize the object may be initialized again.
    EXPECT_EQ(gui->uninitialize(), 0);
    EXPECT_EQ(gui->initialize(), 0);
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);
}

TEST_F(GuiFixture, DeclinedEffectParametersLeaveNoEditor)
{
    gui->controllerUnknown().refuse(aaxhost::IID_IAAXEffectParametersV1);
    Open();

    EXPECT_EQ(Gui().GetEffectParameters(), nullptr);
    EXPECT_EQ(Gui().Editor(), nullptr);
    EXPECT_TRUE(Gui().HasTransport());
    EXPECT_EQ(host->recorder().count("CreateViewContents"), 1u);

    HostRef<ViewContainer> container = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr);
    EXPECT_EQ(gui->setViewContainer(container), 0);
    EXPECT_EQ(host->recorder().count("ParameterUpdated"), 0u);
}

TEST_F(GuiFixture, FailedEffectParametersAnswerIsNotKeptEvenWithAPointer)
{
    ASSERT_EQ(effect->initialize(), aaxhost::kResultOk);
    const uint32_t effectRefs = RefCount(effect->effect());
    gui->controllerUnknown().provide(aaxhost::IID_IAAXEffectParametersV1,
                                     HostRef<aaxhost::HostObject>(aaxhost::makeHost<FailingProvider>(
                                         host->sharedRecorder(), effect->effect())));

    EXPECT_EQ(gui->initialize(), 0);
    EXPECT_EQ(Gui().GetEffectParameters(), nullptr);
    EXPECT_EQ(Gui().Editor(), nullptr);
    EXPECT_EQ(gui->uninitialize(), 0);
    // Nothing released that was never added.
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);
}

TEST_F(GuiFixture, ThrowingViewContentsBecomeAResultAndUninitializeStillCleansUp)
{
    ASSERT_EQ(effect->initialize(), aaxhost::kResultOk);
    const uint32_t effectRefs = RefCount(effect->effect());
    TestGUI::SetThrowingOperation("CreateViewContents");

    EXPECT_EQ(gui->gui()->Initialize(gui->controllerUnknownInterface()), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_EQ(RefCount(effect->effect()), effectRefs + 1);
    EXPECT_EQ(gui->gui()->Uninitialize(), 0);
    EXPECT_EQ(RefCount(effect->effect()), effectRefs);
}

// ---------------------------------------------------------------------------
// View containers

TEST_F(GuiFixture, ContainerSetReplacedAndRemovedInOrder)
{
    Open();
    int nativeView = 0;
    HostRef<ViewContainer> first = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr, "ContainerA");
    HostRef<ViewContainer> second = gui->newViewContainer(aaxhost::kViewTypeHWND, &nativeView, "ContainerB");
    const std::set<std::string> watched = {"ContainerA", "ContainerB", "TestGUI"};
    const std::string bypass = std::string("TestGUI.ParameterUpdated(\"") + cDefaultMasterBypassID + "\")";

    // Set: the wrapper asks for both versions, then the view is made, then every
    // parameter is reported once. No display: a window type without a native view,
    // so nothing is embedded.
    std::size_t mark = Mark();
    EXPECT_EQ(gui->setViewContainer(first), 0);
    EXPECT_EQ(LinesSince(mark, watched, true), (std::vector<std::string>{
                                                   "ContainerA.QueryInterface(IID_IAAXViewContainerV1)",
                                                   "ContainerA.QueryInterface(IID_IAAXViewContainerV2)",
                                                   "TestGUI.CreateViewContainer(true, 2, null)",
                                                   "TestGUI.CreateViewContents()",
                                                   "TestGUI.ParameterUpdated(\"Gain\")",
                                                   "TestGUI.ParameterUpdated(\"Mix\")",
                                                   bypass,
                                               }));
    EXPECT_FALSE(Gui().Embedded());
    EXPECT_EQ(first->refCount(), 4u); // the test's, the driver's and the wrapper's two versions
    EXPECT_EQ(Fx().askedIndices, (std::vector<int32_t>{0, 1, 2}));

    // Replace: the new wrapper is made, the old one's references go (version 2 first),
    // then the view is made again and every parameter reported once more.
    Fx().askedIndices.clear();
    mark = Mark();
    EXPECT_EQ(gui->setViewContainer(second), 0);
    const std::vector<std::string> replaced = LinesSince(mark, watched, true);
    ASSERT_GE(replaced.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(replaced.begin(), replaced.begin() + 5),
              (std::vector<std::string>{
                  "ContainerB.QueryInterface(IID_IAAXViewContainerV1)",
                  "ContainerB.QueryInterface(IID_IAAXViewContainerV2)",
                  "ContainerA.Release()",
                  "ContainerA.Release()",
                  "TestGUI.CreateViewContainer(true, 2, view)",
              }));
    EXPECT_EQ(std::count(replaced.begin(), replaced.end(), "TestGUI.ParameterUpdated(\"Gain\")"), 1);
    EXPECT_EQ(std::count(replaced.begin(), replaced.end(), "TestGUI.ParameterUpdated(\"Mix\")"), 1);
    EXPECT_EQ(std::count(replaced.begin(), replaced.end(), bypass), 1);
    EXPECT_EQ(replaced.back(), bypass);
    EXPECT_TRUE(Gui().Embedded());
    EXPECT_EQ(Gui().GetViewContainerPtr(), &nativeView);
    EXPECT_EQ(first->refCount(), 1u);
    EXPECT_EQ(second->refCount(), 4u);
    EXPECT_EQ(Fx().askedIndices, (std::vector<int32_t>{0, 1, 2}));

    // Remove: the container is already gone when the view is taken out; the
    // wrapper's references go afterwards.
    mark = Mark();
    EXPECT_EQ(gui->removeViewContainer(), 0);
    EXPECT_EQ(LinesSince(mark, watched, true), (std::vector<std::string>{
                                                   "TestGUI.DeleteViewContainer(false)",
                                                   "ContainerB.Release()",
                                                   "ContainerB.Release()",
                                               }));
    EXPECT_FALSE(Gui().Embedded());
    EXPECT_EQ(second->refCount(), 1u);
    EXPECT_EQ(Gui().GetViewContainer(), nullptr);
    EXPECT_EQ(Gui().GetViewContainerType(), 0);

    // Removing again only tells the subclass.
    mark = Mark();
    EXPECT_EQ(gui->removeViewContainer(), 0);
    EXPECT_EQ(LinesSince(mark, watched), (std::vector<std::string>{"TestGUI.DeleteViewContainer(false)"}));
}

TEST_F(GuiFixture, ContainerWithoutInterfacesStillGetsAWrapperAndAView)
{
    Open();
    HostRef<aaxhost::HostUnknown> bare =
        aaxhost::makeHost<aaxhost::HostUnknown>(host->sharedRecorder(), "Bare");
    EXPECT_EQ(gui->gui()->SetViewContainer(bare->primaryInterface()), 0);
    EXPECT_EQ(host->recorder().count("CreateViewContainer"), 1u);
    EXPECT_NE(Gui().GetViewContainer(), nullptr);
    EXPECT_EQ(Gui().GetViewContainerType(), 0);
    EXPECT_EQ(Gui().GetViewContainerPtr(), nullptr);
    EXPECT_EQ(host->recorder().count("ParameterUpdated"), 3u);
    EXPECT_EQ(bare->refCount(), 1u);
    EXPECT_EQ(gui->gui()->SetViewContainer(nullptr), 0);
}

TEST_F(GuiFixture, ContainerOperationsReachTheHostsContainer)
{
    Open();
    HostRef<ViewContainer> container = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr);
    container->setModifiers(5u);
    ASSERT_EQ(gui->setViewContainer(container), 0);

    uint32_t modifiers = 0;
    EXPECT_EQ(Gui().GetViewContainer()->GetModifiers(&modifiers), AAX_SUCCESS);
    EXPECT_EQ(modifiers, 5u);
    AAX_Point size{174.0f, 150.0f};
    EXPECT_EQ(Gui().GetViewContainer()->SetViewSize(size), AAX_SUCCESS);
    ASSERT_TRUE(container->viewSize().has_value());
    EXPECT_EQ(container->viewSize()->vert, 174.0f);
    EXPECT_EQ(container->viewSize()->horz, 150.0f);
}

TEST_F(GuiFixture, ThrowingViewOperationsBecomeResultsWithoutLosingTheContainer)
{
    Open();
    HostRef<ViewContainer> container = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr);
    TestGUI::SetThrowingOperation("CreateViewContainer");
    EXPECT_EQ(gui->setViewContainer(container), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_EQ(container->refCount(), 4u); // the test's, the driver's and the wrapper's two
    EXPECT_EQ(Gui().GetViewContainer() != nullptr, true);

    TestGUI::SetThrowingOperation("DeleteViewContainer");
    EXPECT_EQ(gui->removeViewContainer(), AAX_ERROR_UNKNOWN_EXCEPTION);
    // The wrapper went all the same.
    EXPECT_EQ(Gui().GetViewContainer(), nullptr);
    EXPECT_EQ(container->refCount(), 1u);
}

// ---------------------------------------------------------------------------
// Reporting every parameter

TEST_F(GuiFixture, ParametersAreReportedInIndexOrderSkippingFailingOnes)
{
    Open();
    Fx().failingIndices = {1};
    const std::size_t mark = Mark();
    Gui().ReportAllParameters();
    EXPECT_EQ(Fx().askedIndices, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(LinesSince(mark, {"TestGUI"}),
              (std::vector<std::string>{"TestGUI.ParameterUpdated(\"Gain\")",
                                        std::string("TestGUI.ParameterUpdated(\"") + cDefaultMasterBypassID +
                                            "\")"}));
}

TEST_F(GuiFixture, ReportStopsWhenTheObjectIsUninitializedMeanwhile)
{
    Open();
    const uint32_t effectRefs = RefCount(effect->effect());
    Gui().UninitializeOnNextUpdate();
    Gui().ReportAllParameters();
    EXPECT_EQ(Fx().askedIndices, (std::vector<int32_t>{0}));
    EXPECT_EQ(host->recorder().count("ParameterUpdated"), 1u);
    EXPECT_EQ(Gui().GetEffectParameters(), nullptr);
    EXPECT_EQ(RefCount(effect->effect()), effectRefs - 1);
}

TEST_F(GuiFixture, NoOrFailingParameterCountAsksForNoIdentifier)
{
    Fx().SetSetup([](tambrix::test::TestEffect&) { return AAX_SUCCESS; });
    Open();
    Fx().countQueries = 0; // the effect counts its own parameters while initializing

    Gui().ReportAllParameters();
    EXPECT_EQ(Fx().countQueries, 1);
    EXPECT_TRUE(Fx().askedIndices.empty());

    // A failing count and a negative count end the walk before it starts.
    Fx().forcedCount = 3;
    Fx().forcedCountResult = AAX_ERROR_NULL_OBJECT;
    Gui().ReportAllParameters();
    Fx().forcedCount = -1;
    Fx().forcedCountResult = AAX_SUCCESS;
    Gui().ReportAllParameters();
    EXPECT_EQ(Fx().countQueries, 3);
    EXPECT_TRUE(Fx().askedIndices.empty());
    EXPECT_EQ(host->recorder().count("ParameterUpdated"), 0u);
}

// ---------------------------------------------------------------------------
// Release in either order

TEST_F(GuiFixture, GuiReleasedBeforeEffectWithItsWindowOpen)
{
    Open();
    HostRef<ViewContainer> container = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr);
    ASSERT_EQ(gui->setViewContainer(container), 0);
    const int32_t libraryLive = CACFUnknown::GetActiveObjectCount();

    // No SetViewContainer(null), no Uninitialize: the destructors take care.
    const std::size_t mark = Mark();
    EXPECT_EQ(gui->release(), 0u);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLive - 1);
    EXPECT_EQ(LinesSince(mark, {"TestGUI"}), (std::vector<std::string>{"TestGUI.DeleteViewContainer(true)"}));
    EXPECT_EQ(container->refCount(), 1u);
    EXPECT_EQ(RefCount(effect->effect()), 1u); // the host's own

    EXPECT_EQ(effect->uninitialize(), 0);
    EXPECT_EQ(effect->release(), 0u);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart);
}

TEST_F(GuiFixture, EffectReleasedBeforeGuiStaysUntilTheGuiGoes)
{
    Open();
    HostRef<ViewContainer> container = gui->newViewContainer(aaxhost::kViewTypeHWND, nullptr);
    ASSERT_EQ(gui->setViewContainer(container), 0);
    const int32_t libraryLive = CACFUnknown::GetActiveObjectCount();

    EXPECT_EQ(effect->uninitialize(), 0);
    EXPECT_GT(effect->release(), 0u); // the GUI still holds the effect
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLive);
    EXPECT_NE(Gui().Editor(), nullptr);

    EXPECT_EQ(gui->removeViewContainer(), 0);
    EXPECT_EQ(gui->uninitialize(), 0);
    EXPECT_EQ(gui->release(), 0u);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLiveAtStart);
    EXPECT_EQ(container->refCount(), 1u);
}

TEST(GuiDriverAlone, GuiWithoutEffectStillOpensAndCloses)
{
    const int32_t libraryLive = CACFUnknown::GetActiveObjectCount();
    const int64_t hostLive = aaxhost::HostObject::liveCount();
    {
        aaxhost::Host host;
        TestGUI::SetRecorder(host.sharedRecorder());
        aaxhost::GuiDriver gui(host);
        ASSERT_EQ(gui.create(&TestGUI::Create), 0);
        EXPECT_EQ(gui.initialize(), 0);
        TestGUI& object = TestGUI::From(gui.gui());
        EXPECT_EQ(object.GetEffectParameters(), nullptr);
        EXPECT_EQ(gui.setViewContainer(gui.newViewContainer(aaxhost::kViewTypeHWND, nullptr)), 0);
        EXPECT_EQ(host.recorder().count("ParameterUpdated"), 0u);
        // The driver's destructor removes the container, uninitializes and releases.
    }
    TestGUI::SetRecorder(nullptr);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLive);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), hostLive);
}

TEST(GuiThroughDescription, CreatorProceduresOfTheDescriptionMakeTheEffectAndItsGui)
{
    const int32_t libraryLive = CACFUnknown::GetActiveObjectCount();
    const int64_t hostLive = aaxhost::HostObject::liveCount();
    {
        aaxhost::Host host;
        aaxhost::installDescriptionComponents(host);
        TestGUI::SetRecorder(host.sharedRecorder());

        // The plug-in registers its two creator procedures, as the framework does.
        HostRef<aaxhost::HostEffectDescriptor> described;
        {
            AAX_VEffectDescriptor descriptor(tambrix::test::asLibrary(host.unknownInterface()));
            ASSERT_EQ(descriptor.AddProcPtr(reinterpret_cast<void*>(&TestGUI::Create),
                                            kAAX_ProcPtrID_Create_EffectGUI),
                      AAX_SUCCESS);
            ASSERT_EQ(descriptor.AddProcPtr(reinterpret_cast<void*>(&ObservedEffect::Create),
                                            kAAX_ProcPtrID_Create_EffectParameters),
                      AAX_SUCCESS);
            described = HostRef<aaxhost::HostEffectDescriptor>(
                aaxhost::HostEffectDescriptor::fromUnknown(tambrix::test::asHost(descriptor.GetIUnknown())));
        }
        ASSERT_TRUE(described);

        aaxhost::EffectDriver effect(host);
        ASSERT_EQ(effect.create(aaxhost::effectCreatorOf(*described)), 0);
        ASSERT_EQ(effect.initialize(), 0);
        aaxhost::GuiDriver gui(host, effect);
        ASSERT_EQ(gui.create(aaxhost::guiCreatorOf(*described)), 0);
        ASSERT_EQ(gui.initialize(), 0);
        TestGUI& object = TestGUI::From(gui.gui());
        EXPECT_EQ(object.Editor(), &tambrix::test::TestEffect::From(effect.effect()));

        // No display: the view is made, every parameter reported, nothing embedded.
        EXPECT_EQ(gui.setViewContainer(gui.newViewContainer(aaxhost::kViewTypeHWND, nullptr)), 0);
        EXPECT_EQ(host.recorder().count("ParameterUpdated"), 3u);
        EXPECT_FALSE(object.Embedded());

        EXPECT_EQ(gui.removeViewContainer(), 0);
        EXPECT_EQ(gui.uninitialize(), 0);
        EXPECT_EQ(gui.release(), 0u);
        EXPECT_EQ(effect.uninitialize(), 0);
        EXPECT_EQ(effect.release(), 0u);
        TestGUI::SetRecorder(nullptr);
    }
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), libraryLive);
    EXPECT_EQ(aaxhost::HostObject::liveCount(), hostLive);
}

} // namespace
} // namespace tambrix::test

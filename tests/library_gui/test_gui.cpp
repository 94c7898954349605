#include "test_gui.h"
#include "virtual_slot.h"

#include "AAX_Enums.h"

#include <utility>

namespace tambrix::test
{
using tambrix::test::VirtualSlot;

namespace
{

std::shared_ptr<aaxhost::CallRecorder>& Recorder()
{
    static std::shared_ptr<aaxhost::CallRecorder> recorder;
    return recorder;
}

std::string& ThrowingOperation()
{
    static std::string operation;
    return operation;
}

} // namespace

TestGUI::~TestGUI()
{
    // As the framework's GUI does: the view goes before the base releases anything.
    mDestroying = true;
    DeleteViewContainer();
}

void* TestGUI::Create()
{
    // The primary interface: the first base of the object.
    return static_cast<AAX_IACFEffectGUI*>(new TestGUI);
}

TestGUI& TestGUI::From(void* primaryInterface)
{
    return *static_cast<TestGUI*>(static_cast<AAX_IACFEffectGUI*>(primaryInterface));
}

void TestGUI::SetRecorder(std::shared_ptr<aaxhost::CallRecorder> recorder)
{
    Recorder() = std::move(recorder);
}

void TestGUI::SetThrowingOperation(std::string operation)
{
    ThrowingOperation() = std::move(operation);
}

void TestGUI::Record(const char* operation, std::vector<aaxhost::Value> args) const
{
    if (const auto& recorder = Recorder())
    {
        aaxhost::Call call;
        call.object = "TestGUI";
        call.address = this;
        call.operation = operation;
        call.args = std::move(args);
        recorder->record(std::move(call));
    }
}

void TestGUI::ThrowIfAsked(const char* operation) const
{
    if (!mDestroying && ThrowingOperation() == operation)
    {
        ThrowingOperation().clear();
        throw std::runtime_error(operation);
    }
}

AAX_Result TestGUI::ParameterUpdated(AAX_CParamID inParamID)
{
    Record("ParameterUpdated", {aaxhost::textValue(inParamID)});
    if (mUninitializeOnUpdate)
    {
        mUninitializeOnUpdate = false;
        Uninitialize();
    }
    return AAX_CEffectGUI::ParameterUpdated(inParamID);
}

void TestGUI::CreateViewContents()
{
    Record("CreateViewContents");
    ThrowIfAsked("CreateViewContents");
    if (mEditor == nullptr)
        mEditor = dynamic_cast<tambrix::test::TestEffect*>(GetEffectParameters());
}

void TestGUI::CreateViewContainer()
{
    // Recorded with what the base offers at this moment: container, type, native view.
    Record("CreateViewContainer", {GetViewContainer() != nullptr, int64_t{GetViewContainerType()},
                                   static_cast<const void*>(GetViewContainerPtr())});
    ThrowIfAsked("CreateViewContainer");
    CreateViewContents();
    mEmbedded = mEditor != nullptr && GetViewContainerPtr() != nullptr &&
                GetViewContainerType() == AAX_eViewContainer_Type_HWND;
}

void TestGUI::DeleteViewContainer()
{
    Record("DeleteViewContainer", {GetViewContainer() != nullptr});
    ThrowIfAsked("DeleteViewContainer");
    mEmbedded = false;
    mEditor = nullptr;
}

std::vector<std::size_t> TestGUI::ViewOperationSlots()
{
    return {VirtualSlot(&TestGUI::CreateViewContents), VirtualSlot(&TestGUI::CreateViewContainer),
            VirtualSlot(&TestGUI::DeleteViewContainer), VirtualSlot(&TestGUI::UpdateAllParameters)};
}

} // namespace tambrix::test

#pragma once

// A small GUI object for the tests, built like the framework's: its view contents
// are an "editor" made only when the effect parameters are the test effect (found by
// a dynamic cast, as the framework finds its own processor); its view is embedded
// only into a container of the window type with a native view; its destructor takes
// the view out. Every call of the three view operations and of ParameterUpdated is
// recorded, in order with the host's calls, in the recorder given to SetRecorder().

#include "AAX_CEffectGUI.h"
#include "test_effect.h"

#include "aaxhost/CallRecorder.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tambrix::test
{

class TestGUI : public AAX_CEffectGUI
{
public:
    TestGUI() = default;
    ~TestGUI() override;

    // Creator procedure 1 as the host sees it.
    static void* Create();
    // The object behind the host's interface pointer.
    static TestGUI& From(void* primaryInterface);

    // Where every instance records (the host's recorder); null records nothing.
    static void SetRecorder(std::shared_ptr<aaxhost::CallRecorder> recorder);
    // The operation whose next call throws (e.g. "CreateViewContainer"); empty for none.
    static void SetThrowingOperation(std::string operation);

    AAX_Result ParameterUpdated(AAX_CParamID inParamID) override;

    // The "editor": the effect object it was made for, or null.
    tambrix::test::TestEffect* Editor() const { return mEditor; }
    bool Embedded() const { return mEmbedded; }
    bool HasController() const { return mController != nullptr; }
    bool HasTransport() const { return mTransport != nullptr; }
    AAX_IController* Controller() const { return mController; }
    AAX_ITransport* Transport() const { return mTransport; }
    void ReportAllParameters() { UpdateAllParameters(); }
    // The table positions of the four operations a subclass provides or calls:
    // CreateViewContents, CreateViewContainer, DeleteViewContainer, UpdateAllParameters
    // (empty where the positions cannot be read from member pointers).
    static std::vector<std::size_t> ViewOperationSlots();
    // The next ParameterUpdated uninitializes the object (as a host call made from
    // inside the report could).
    void UninitializeOnNextUpdate() { mUninitializeOnUpdate = true; }

protected:
    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;

private:
    void Record(const char* operation, std::vector<aaxhost::Value> args = {}) const;
    void ThrowIfAsked(const char* operation) const;

    tambrix::test::TestEffect* mEditor = nullptr;
    bool mEmbedded = false;
    bool mDestroying = false;
    bool mUninitializeOnUpdate = false;
};

} // namespace tambrix::test

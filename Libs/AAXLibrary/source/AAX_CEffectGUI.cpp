#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

#include <memory>
#include <utility>

// Nothing thrown by the wrappers' allocation or by a subclass's view operations
// crosses the host interface: it becomes AAX_ERROR_UNKNOWN_EXCEPTION.

AAX_CEffectGUI::AAX_CEffectGUI()
    : mController(nullptr), mEffectParameters(nullptr), mViewContainer(nullptr), mTransport(nullptr)
{
}

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    // The base's own steps, whatever a subclass made of Uninitialize.
    AAX_CEffectGUI::Uninitialize();
    delete mViewContainer;
    mViewContainer = nullptr;
}

// ---------------------------------------------------------------------------
// Life cycle

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* iController)
{
    // What an earlier, completed Initialize holds is kept until Uninitialize; a second
    // one would orphan it. A controller wrapper left by an Initialize without a
    // controller holds nothing and is replaced below.
    if (mEffectParameters != nullptr || mTransport != nullptr)
        return AAX_ERROR_INVALID_ARGUMENT;

    try
    {
        AAX_IController* const controller = new AAX_VController(iController);
        delete mController;
        mController = controller;
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }

    if (iController == nullptr)
        return AAX_ERROR_NOT_INITIALIZED;

    // The host answers with the effect object of the same instance. Only a successful
    // answer hands over a reference; a failed one leaves the field null, whatever the
    // host stored.
    void* effect = nullptr;
    const ACFRESULT queried = iController->QueryInterface(IID_IAAXEffectParametersV1, &effect);
    if (ACFSUCCEEDED(queried) && effect != nullptr)
    {
        // The answer is the object's primary interface, the first base of AAX_IEffectParameters.
        mEffectParameters =
            static_cast<AAX_IEffectParameters*>(static_cast<AAX_IACFEffectParameters_V4*>(effect));
    }

    try
    {
        mTransport = new AAX_VTransport(iController);
    }
    catch (...)
    {
        // Nothing made by this call stays behind.
        AAX_CEffectGUI::Uninitialize();
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }

    // From here on the wrappers stay until Uninitialize, whatever the subclass does.
    try
    {
        CreateViewContents();
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    if (mEffectParameters != nullptr)
    {
        AAX_IEffectParameters* const effect = mEffectParameters;
        mEffectParameters = nullptr;
        effect->Release();
    }
    if (mController != nullptr)
    {
        delete mController;
        mController = nullptr;
    }
    if (mTransport != nullptr)
    {
        delete mTransport;
        mTransport = nullptr;
    }
    return AAX_SUCCESS;
}

// ---------------------------------------------------------------------------
// View container

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* iViewContainer)
{
    if (iViewContainer != nullptr)
    {
        try
        {
            // The new wrapper queries the host's container itself; the one held before
            // goes, releasing its host references.
            const std::unique_ptr<AAX_IViewContainer> previous(
                std::exchange(mViewContainer, new AAX_VViewContainer(iViewContainer)));
        }
        catch (...)
        {
            return AAX_ERROR_UNKNOWN_EXCEPTION;
        }

        try
        {
            CreateViewContainer();
            UpdateAllParameters();
        }
        catch (...)
        {
            return AAX_ERROR_UNKNOWN_EXCEPTION;
        }
        return AAX_SUCCESS;
    }

    // The container is gone for the subclass before it is asked to take its view out,
    // and the wrapper goes after that, whatever the subclass does.
    const std::unique_ptr<AAX_IViewContainer> removed(mViewContainer);
    mViewContainer = nullptr;
    try
    {
        DeleteViewContainer();
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
    return AAX_SUCCESS;
}

int32_t AAX_CEffectGUI::GetViewContainerType()
{
    return mViewContainer != nullptr ? mViewContainer->GetType() : 0;
}

void* AAX_CEffectGUI::GetViewContainerPtr()
{
    return mViewContainer != nullptr ? mViewContainer->GetPtr() : nullptr;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (mEffectParameters == nullptr)
        return;

    int32_t numParameters = 0;
    if (mEffectParameters->GetNumberOfParameters(&numParameters) != AAX_SUCCESS || numParameters < 0)
        return;

    // The field is read again for every index: a subclass's ParameterUpdated may have
    // uninitialized the object meanwhile.
    for (int32_t index = 0; index < numParameters && mEffectParameters != nullptr; ++index)
    {
        // A failing index is skipped; the walk goes on.
        AAX_CString parameterID;
        if (mEffectParameters->GetParameterIDFromIndex(index, &parameterID) == AAX_SUCCESS)
            ParameterUpdated(parameterID.Get());
    }
}

// ---------------------------------------------------------------------------
// Fixed answers, for a subclass to override

AAX_Result AAX_CEffectGUI::NotificationReceived(AAX_CTypeID /*inNotificationType*/,
                                                const void* /*inNotificationData*/,
                                                uint32_t /*inNotificationDataSize*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GetViewSize(AAX_Point* /*oViewSize*/) const
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Draw(AAX_Rect* /*iDrawRect*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::TimerWakeup()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::ParameterUpdated(AAX_CParamID /*inParamID*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GetCustomLabel(AAX_EPlugInStrings /*iSelector*/, AAX_IString* /*oString*/) const
{
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_CEffectGUI::SetControlHighlightInfo(AAX_CParamID /*iParameterID*/,
                                                   AAX_CBoolean /*iIsHighlighted*/,
                                                   AAX_EHighlightColor /*iColor*/)
{
    return AAX_SUCCESS;
}

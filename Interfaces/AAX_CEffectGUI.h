// Base class of an effect's GUI object.
#pragma once

#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IViewContainer.h"
#include "AAX_IController.h"
#include "AAX_ITransport.h"

class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    AAX_CEffectGUI(const AAX_CEffectGUI&) = delete;
    AAX_CEffectGUI& operator=(const AAX_CEffectGUI&) = delete;

    /// Wraps the host's controller, takes the effect object the host answers for
    /// IID_IAAXEffectParametersV1 and wraps the transport, then creates the view
    /// contents. AAX_ERROR_NOT_INITIALIZED for a null controller; a second call before
    /// Uninitialize is refused with AAX_ERROR_INVALID_ARGUMENT.
    AAX_Result Initialize(IACFUnknown* iController) override;
    /// Releases the effect object and deletes the controller and transport wrappers;
    /// the view container stays.
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived(AAX_CTypeID inNotificationType, const void* inNotificationData,
                                    uint32_t inNotificationDataSize) override;
    /// A container: wraps it (replacing the one before), then CreateViewContainer and
    /// UpdateAllParameters. Null: clears the container, then DeleteViewContainer, then
    /// deletes the old wrapper.
    AAX_Result SetViewContainer(IACFUnknown* iViewContainer) override;
    AAX_Result GetViewSize(AAX_Point* oViewSize) const override;
    AAX_Result Draw(AAX_Rect* iDrawRect) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated(AAX_CParamID inParamID) override;
    AAX_Result GetCustomLabel(AAX_EPlugInStrings iSelector, AAX_IString* oString) const override;
    AAX_Result SetControlHighlightInfo(AAX_CParamID iParameterID, AAX_CBoolean iIsHighlighted,
                                       AAX_EHighlightColor iColor) override;

protected:
    /// Creates the plug-in's view contents (called by Initialize).
    virtual void CreateViewContents() = 0;
    /// Embeds the view in the container just set.
    virtual void CreateViewContainer() = 0;
    /// Takes the view out of the container being removed.
    virtual void DeleteViewContainer() = 0;
    /// Reports every parameter once through ParameterUpdated.
    virtual void UpdateAllParameters();

public:
    AAX_IEffectParameters* GetEffectParameters() { return mEffectParameters; }
    const AAX_IEffectParameters* GetEffectParameters() const { return mEffectParameters; }
    AAX_IViewContainer* GetViewContainer() { return mViewContainer; }
    const AAX_IViewContainer* GetViewContainer() const { return mViewContainer; }
    /// The container's type, or 0 without a container.
    int32_t GetViewContainerType();
    /// The container's native view, or null without a container.
    void* GetViewContainerPtr();

protected:
    AAX_IController* mController;
    AAX_IEffectParameters* mEffectParameters;
    AAX_IViewContainer* mViewContainer;
    AAX_ITransport* mTransport;
};

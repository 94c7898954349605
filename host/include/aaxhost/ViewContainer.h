#pragma once

#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/HostObject.h"

#include <mutex>
#include <optional>

namespace aaxhost
{

// The host's view container, versions 1 and 2. It has a native view only
// when the host has a window (setWindow); without one GetPtr answers null.
// Modifier keys are the host's (setModifiers). Every call is recorded, the
// mouse operations with copied identifiers: single-parameter forms as
// (identifier, modifiers), multiple-parameter forms as (number, modifiers,
// identifier...). SetViewSize accepts positive finite sizes and keeps the
// last one; others answer hostresult::InvalidViewSize.
class ViewContainer final : public HostObjectOf<AAX_IACFViewContainer_V2>
{
public:
    explicit ViewContainer(std::shared_ptr<CallRecorder> recorder, std::string name = "ViewContainer")
        : HostObjectOf(std::move(name), std::move(recorder))
    {
    }

    void setWindow(int32_t type, void* nativeView);
    void setModifiers(uint32_t modifiers);
    std::optional<ViewPoint> viewSize() const;

    int32_t GetType() noexcept override;
    void* GetPtr() noexcept override;
    Result GetModifiers(uint32_t* modifiers) noexcept override;
    Result SetViewSize(ViewPoint* size) noexcept override;
    Result HandleParameterMouseDown(const char* parameterId, uint32_t modifiers) noexcept override;
    Result HandleParameterMouseDrag(const char* parameterId, uint32_t modifiers) noexcept override;
    Result HandleParameterMouseUp(const char* parameterId, uint32_t modifiers) noexcept override;
    Result HandleMultipleParametersMouseDown(const char* const* parameterIds, uint32_t number,
                                             uint32_t modifiers) noexcept override;
    Result HandleMultipleParametersMouseDrag(const char* const* parameterIds, uint32_t number,
                                             uint32_t modifiers) noexcept override;
    Result HandleMultipleParametersMouseUp(const char* const* parameterIds, uint32_t number,
                                           uint32_t modifiers) noexcept override;

protected:
    ~ViewContainer() override = default;
    void* findInterface(const Uid& iid) noexcept override
    {
        return iid == IID_IAAXViewContainerV1 || iid == IID_IAAXViewContainerV2
                   ? as<AAX_IACFViewContainer_V2>()
                   : nullptr;
    }

private:
    Result mouse(const char* operation, const char* parameterId, uint32_t modifiers);
    Result mouseMultiple(const char* operation, const char* const* parameterIds, uint32_t number,
                         uint32_t modifiers);

    mutable std::mutex viewMutex_;
    int32_t type_ = 0;
    void* nativeView_ = nullptr;
    uint32_t modifiers_ = 0;
    std::optional<ViewPoint> viewSize_;
};

} // namespace aaxhost

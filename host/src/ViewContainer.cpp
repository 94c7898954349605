#include "aaxhost/ViewContainer.h"

#include <cmath>
#include <utility>

namespace aaxhost
{

void ViewContainer::setWindow(int32_t type, void* nativeView)
{
    std::lock_guard<std::mutex> lock(viewMutex_);
    type_ = type;
    nativeView_ = nativeView;
}

void ViewContainer::setModifiers(uint32_t modifiers)
{
    std::lock_guard<std::mutex> lock(viewMutex_);
    modifiers_ = modifiers;
}

std::optional<ViewPoint> ViewContainer::viewSize() const
{
    std::lock_guard<std::mutex> lock(viewMutex_);
    return viewSize_;
}

int32_t ViewContainer::GetType() noexcept
{
    record("GetType");
    std::lock_guard<std::mutex> lock(viewMutex_);
    return type_;
}

void* ViewContainer::GetPtr() noexcept
{
    record("GetPtr");
    std::lock_guard<std::mutex> lock(viewMutex_);
    return nativeView_;
}

Result ViewContainer::GetModifiers(uint32_t* modifiers) noexcept
{
    return deliver(enter("GetModifiers", {pointerValue(modifiers)}, modifiers), viewMutex_,
                   [&] { *modifiers = modifiers_; });
}

Result ViewContainer::SetViewSize(ViewPoint* size) noexcept
{
    if (size == nullptr)
    {
        record("SetViewSize", {nullptr});
        return hostresult::NullArgument;
    }
    const ViewPoint requested = *size;
    if (const Result r = enter("SetViewSize", {double{requested.vert}, double{requested.horz}});
        r != kResultOk)
        return r;
    if (!(std::isfinite(requested.vert) && std::isfinite(requested.horz) && requested.vert > 0.0f &&
          requested.horz > 0.0f))
        return hostresult::InvalidViewSize;
    std::lock_guard<std::mutex> lock(viewMutex_);
    viewSize_ = requested;
    return kResultOk;
}

Result ViewContainer::mouse(const char* operation, const char* parameterId, uint32_t modifiers)
{
    return enter(operation, {textValue(parameterId), uint64_t{modifiers}}, parameterId);
}

Result ViewContainer::mouseMultiple(const char* operation, const char* const* parameterIds, uint32_t number,
                                    uint32_t modifiers)
{
    std::vector<Value> args{uint64_t{number}, uint64_t{modifiers}};
    if (parameterIds != nullptr)
        for (uint32_t i = 0; i < number; ++i)
            args.push_back(textValue(parameterIds[i]));
    const Result forced = reply(operation, kResultOk, std::move(args));
    if (forced != kResultOk)
        return forced;
    return parameterIds != nullptr || number == 0 ? kResultOk : hostresult::NullArgument;
}

Result ViewContainer::HandleParameterMouseDown(const char* parameterId, uint32_t modifiers) noexcept
{
    return mouse("HandleParameterMouseDown", parameterId, modifiers);
}

Result ViewContainer::HandleParameterMouseDrag(const char* parameterId, uint32_t modifiers) noexcept
{
    return mouse("HandleParameterMouseDrag", parameterId, modifiers);
}

Result ViewContainer::HandleParameterMouseUp(const char* parameterId, uint32_t modifiers) noexcept
{
    return mouse("HandleParameterMouseUp", parameterId, modifiers);
}

Result ViewContainer::HandleMultipleParametersMouseDown(const char* const* parameterIds, uint32_t number,
                                                        uint32_t modifiers) noexcept
{
    return mouseMultiple("HandleMultipleParametersMouseDown", parameterIds, number, modifiers);
}

Result ViewContainer::HandleMultipleParametersMouseDrag(const char* const* parameterIds, uint32_t number,
                                                        uint32_t modifiers) noexcept
{
    return mouseMultiple("HandleMultipleParametersMouseDrag", parameterIds, number, modifiers);
}

Result ViewContainer::HandleMultipleParametersMouseUp(const char* const* parameterIds, uint32_t number,
                                                      uint32_t modifiers) noexcept
{
    return mouseMultiple("HandleMultipleParametersMouseUp", parameterIds, number, modifiers);
}

} // namespace aaxhost

#include "aaxhost/GuiDriver.h"

#include <utility>

namespace aaxhost
{

// ---------------------------------------------------------------------------
// PlugInLink

PlugInLink::PlugInLink(std::shared_ptr<CallRecorder> recorder, IACFUnknown* target, std::string name)
    : HostObjectOf(std::move(name), std::move(recorder))
{
    if (target != nullptr)
    {
        target->AddRef();
        target_ = UnknownPtr<IACFUnknown>::adopt(target);
    }
}

IACFUnknown* PlugInLink::target() const
{
    std::lock_guard<std::mutex> lock(targetMutex_);
    return target_.get();
}

void PlugInLink::unlink()
{
    UnknownPtr<IACFUnknown> dropped; // released outside the lock
    std::lock_guard<std::mutex> lock(targetMutex_);
    dropped = std::move(target_);
}

void* PlugInLink::findInterface(const Uid&) noexcept
{
    return nullptr;
}

Result PlugInLink::answerQuery(const Uid& iid, void** out) noexcept
{
    UnknownPtr<IACFUnknown> target;
    {
        std::lock_guard<std::mutex> lock(targetMutex_);
        target = target_;
    }
    if (!target)
        return kResultNoInterface;
    // The plug-in object answers and adds the reference itself.
    return target->QueryInterface(iid, out);
}

// ---------------------------------------------------------------------------
// GuiDriver

GuiDriver::GuiDriver(Host& host)
    : GuiDriver(host, makeHost<Controller>(host.sharedRecorder()), makeHost<Transport>(host.sharedRecorder()))
{
}

GuiDriver::GuiDriver(Host& host, EffectDriver& effect)
    : GuiDriver(host, HostRef<Controller>(&effect.controller()), HostRef<Transport>(&effect.transport()))
{
    linkEffect(effect.effect());
}

GuiDriver::GuiDriver(Host& host, HostRef<Controller> controller, HostRef<Transport> transport)
    : host_(host),
      controllerUnknown_(makeControllerUnknown(host, controller, transport, "GuiControllerUnknown")),
      controller_(std::move(controller)), transport_(std::move(transport))
{
}

GuiDriver::~GuiDriver()
{
    if (gui_)
    {
        if (container_)
            removeViewContainer();
        if (initialized_)
            uninitialize();
    }
    release();
    container_.reset();
    linkEffect(nullptr);
}

void GuiDriver::linkEffect(IACFUnknown* effect)
{
    if (link_)
    {
        controllerUnknown_->withdraw(IID_IAAXEffectParametersV1);
        link_->unlink();
        link_.reset();
    }
    if (effect == nullptr)
        return;
    link_ = makeHost<PlugInLink>(host_.sharedRecorder(), effect, "EffectLink");
    controllerUnknown_->provide(IID_IAAXEffectParametersV1, HostRef<HostObject>(link_));
}

Result GuiDriver::create(GuiCreator creator)
{
    gui_.reset();
    void* made = creator != nullptr ? creator() : nullptr;
    if (made == nullptr)
        return kResultFail;

    auto* object = static_cast<IEffectGUI*>(made);
    Result result = kResultOk;
    gui_ = UnknownPtr<IEffectGUI>::query(object, IID_IAAXEffectGUIV1, &result);
    if (!gui_)
    {
        destroyUnheld(object);
        return result != kResultOk ? result : kResultFail;
    }
    return gui_.get() == object ? kResultOk : kResultFail;
}

HostRef<ViewContainer> GuiDriver::newViewContainer(int32_t type, void* nativeView, std::string name) const
{
    HostRef<ViewContainer> container = makeHost<ViewContainer>(host_.sharedRecorder(), std::move(name));
    container->setWindow(type, nativeView);
    return container;
}

Result GuiDriver::setViewContainer(const HostRef<ViewContainer>& container)
{
    if (!gui_ || !container)
        return kAaxErrorNullObject;
    const Result result = gui_->SetViewContainer(container->primaryInterface());
    // The container before is the plug-in's no more; the host closes it.
    container_ = container;
    return result;
}

Result GuiDriver::removeViewContainer()
{
    if (!gui_)
        return kAaxErrorNullObject;
    const Result result = gui_->SetViewContainer(nullptr);
    container_.reset();
    return result;
}

uint32_t GuiDriver::release()
{
    if (!gui_)
        return 0;
    initialized_ = false;
    const uint32_t remaining = releaseObject(gui_);
    container_.reset();
    linkEffect(nullptr);
    return remaining;
}

} // namespace aaxhost

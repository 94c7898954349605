#pragma once

#include "aaxhost/Controller.h"
#include "aaxhost/ControllerUnknown.h"
#include "aaxhost/EffectDriver.h"
#include "aaxhost/EffectGUI.h"
#include "aaxhost/Host.h"
#include "aaxhost/HostUnknown.h"
#include "aaxhost/Transport.h"
#include "aaxhost/UnknownPtr.h"
#include "aaxhost/ViewContainer.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace aaxhost
{

// A host object that answers every query by passing it on to a plug-in object
// (for a GUI's controller unknown: the effect object of the same instance). It
// holds one reference to the plug-in object until unlink() or its destruction.
class PlugInLink final : public HostObjectOf<IACFUnknown>
{
public:
    PlugInLink(std::shared_ptr<CallRecorder> recorder, IACFUnknown* target, std::string name = "PlugInLink");

    // The plug-in object, or null after unlink(); no reference added.
    IACFUnknown* target() const;
    // Drops the reference; later queries are refused.
    void unlink();

protected:
    ~PlugInLink() override = default;
    void* findInterface(const Uid& iid) noexcept override;
    Result answerQuery(const Uid& iid, void** out) noexcept override;

private:
    mutable std::mutex targetMutex_;
    UnknownPtr<IACFUnknown> target_;
};

// Drives one GUI object the way a host does while the plug-in's window is open:
//   create()              creator procedure 1, then QueryInterface for
//                         IID_IAAXEffectGUIV1 (the host keeps one reference);
//   initialize()          Initialize with the GUI's controller unknown, which
//                         answers the controller, the transport, the component
//                         factory and, for IID_IAAXEffectParametersV1, the effect
//                         object of the same instance;
//   setViewContainer()    hands over a view container (replacing the one before);
//   removeViewContainer() SetViewContainer with null;
//   uninitialize(), release().
// The GUI is called only through the host's own declaration of its interface.
class GuiDriver
{
public:
    // A GUI with a controller and transport of its own and no effect object
    // (linkEffect() adds one).
    explicit GuiDriver(Host& host);
    // A GUI of the instance that `effect` drives: the same controller and transport
    // (whichever the effect's controller unknown answers), and its effect object (if
    // created by now) for IID_IAAXEffectParametersV1.
    GuiDriver(Host& host, EffectDriver& effect);
    // Takes a container still handed over away, uninitializes (if still
    // initialized) and releases what the driver still holds.
    ~GuiDriver();

    GuiDriver(const GuiDriver&) = delete;
    GuiDriver& operator=(const GuiDriver&) = delete;

    // The GUI's controller unknown and the host objects it answers with.
    HostUnknown& controllerUnknown() noexcept { return *controllerUnknown_; }
    IACFUnknown* controllerUnknownInterface() noexcept { return controllerUnknown_->primaryInterface(); }
    Controller& controller() noexcept { return *controller_; }
    Transport& transport() noexcept { return *transport_; }

    // Makes the controller unknown answer IID_IAAXEffectParametersV1 by asking
    // `effect` (a plug-in effect object; the link holds one reference to it); null
    // withdraws the answer.
    void linkEffect(IACFUnknown* effect);

    // Creates the GUI through `creator` and queries IID_IAAXEffectGUIV1. 0 when the
    // query answered with the created object's primary interface; otherwise the
    // query's result, or kResultFail when the creator made nothing or the answer
    // is another pointer.
    Result create(GuiCreator creator);
    // The GUI, or null before create() / after release().
    IEffectGUI* gui() const noexcept { return gui_.get(); }

    Result initialize() { return initializeObject(gui_, controllerUnknownInterface(), initialized_); }
    bool initialized() const noexcept { return initialized_; }
    Result uninitialize() { return uninitializeObject(gui_, initialized_); }

    // A host view container reporting `type` and `nativeView` (null: no window,
    // as on a machine without a display).
    HostRef<ViewContainer> newViewContainer(int32_t type, void* nativeView,
                                            std::string name = "ViewContainer") const;
    // Hands `container` to the GUI; the host keeps it as the current one and drops
    // the one before. kAaxErrorNullObject without a GUI or container.
    Result setViewContainer(const HostRef<ViewContainer>& container);
    // SetViewContainer(null); the host then drops its current container.
    Result removeViewContainer();

    // Releases the host's reference; returns what Release returned (0 = destroyed).
    // Afterwards the host drops its container and the effect link: the window is closed.
    uint32_t release();

private:
    GuiDriver(Host& host, HostRef<Controller> controller, HostRef<Transport> transport);

    Host& host_;
    HostRef<HostUnknown> controllerUnknown_;
    HostRef<Controller> controller_;
    HostRef<Transport> transport_;
    HostRef<PlugInLink> link_;
    HostRef<ViewContainer> container_;
    UnknownPtr<IEffectGUI> gui_;
    bool initialized_ = false;
};

} // namespace aaxhost

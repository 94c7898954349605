#pragma once

// Host-side declaration of the plug-in's GUI interface, the object that creator
// procedure 1 makes (IID_IAAXEffectGUIV1), and the view types the host's view
// container reports.
//
// The drawing rectangle (position 8) is passed as an untyped pointer: the host
// does not look into it.

#include "aaxhost/ControllerInterfaces.h"
#include "aaxhost/Interfaces.h"
#include "aaxhost/PlugInString.h"

#include <cstdint>

namespace aaxhost
{

// What the host's view container answers to GetType. Outside macOS the plug-in's
// framework embeds its editor only into a container of kViewTypeHWND whose native
// view is not null.
constexpr int32_t kViewTypeNone = 0;
constexpr int32_t kViewTypeNSView = 1;
constexpr int32_t kViewTypeHWND = 2;
constexpr int32_t kViewTypeUIView = 3;

class IEffectGUI : public IACFUnknown
{
public:
    virtual Result Initialize(IACFUnknown* controller) = 0;                                  // 3
    virtual Result Uninitialize() = 0;                                                       // 4
    virtual Result NotificationReceived(uint32_t type, const void* data, uint32_t size) = 0; // 5
    virtual Result SetViewContainer(IACFUnknown* viewContainer) = 0;                         // 6
    virtual Result GetViewSize(ViewPoint* size) const = 0;                                   // 7
    virtual Result Draw(void* rect) = 0;                                                     // 8
    virtual Result TimerWakeup() = 0;                                                        // 9
    virtual Result ParameterUpdated(const char* parameterId) = 0;                            // 10
    virtual Result GetCustomLabel(int32_t selector, PlugInString* label) const = 0;          // 11
    virtual Result SetControlHighlightInfo(const char* parameterId, uint8_t highlighted,
                                           int32_t colour) = 0; // 12

protected:
    ~IEffectGUI() = default;
};

// The form of creator procedure 1: makes a new GUI object and returns the address
// of its primary interface without a reference (the host's first query adds it).
using GuiCreator = void* (*)();

} // namespace aaxhost

#pragma once

// Host-side declarations of the base interfaces the host offers or receives.
// Every interface starts with QueryInterface, AddRef and Release (positions
// 0, 1, 2); later operations follow at the positions commented on each, and a
// later version continues the numbering of the one it extends. Interfaces
// have no virtual destructor: nobody deletes an object through them.

#include "aaxhost/Uid.h"

#include <cstdint>

namespace aaxhost
{

// Signed 32-bit result of every call across the interface; negative = failure.
using Result = int32_t;

constexpr Result kResultOk = 0;
// The object does not offer the requested interface.
constexpr Result kResultNoInterface = static_cast<Result>(0x80000004u);
// An exception escaped an exported entry point.
constexpr Result kResultUnexpected = static_cast<Result>(0x8000FFFFu);
// Host-side failures of our own (host internals, free to choose).
constexpr Result kResultInvalidPointer = static_cast<Result>(0x80004003u);
constexpr Result kResultFail = static_cast<Result>(0x80004005u);
constexpr Result kResultNoAggregation = static_cast<Result>(0x80040110u);
constexpr Result kResultClassNotAvailable = static_cast<Result>(0x80040111u);
constexpr Result kResultOutOfMemory = static_cast<Result>(0x8007000Eu);

// Library result codes the host sees passed back.
constexpr Result kAaxErrorNullObject = -20004;
constexpr Result kAaxErrorUnimplemented = -20009;
constexpr Result kAaxErrorNullArgument = -20044;

class IACFUnknown
{
public:
    virtual Result QueryInterface(const Uid& iid, void** out) = 0; // 0
    virtual uint32_t AddRef() = 0;                                 // 1
    virtual uint32_t Release() = 0;                                // 2

protected:
    ~IACFUnknown() = default;
};

// Component factory (IID_IACFComponentFactory), reached through a host unknown.
class IACFComponentFactory : public IACFUnknown
{
public:
    // 3: creates component `componentId` and stores its interface `iid`, with
    // one reference that the caller owns, in *out.
    virtual Result Create(const Uid& componentId, IACFUnknown* outer, const Uid& iid, void** out) = 0;

protected:
    ~IACFComponentFactory() = default;
};

// What registration hands back (IID_IACFPluginDefinition): the host reads it
// only through IACFUnknown.
class IACFPluginDefinition : public IACFUnknown
{
protected:
    ~IACFPluginDefinition() = default;
};

// What ACFRegisterComponent hands back; the plug-in offers none.
class IACFComponentDefinition : public IACFUnknown
{
protected:
    ~IACFComponentDefinition() = default;
};

// Host services, version 1 (IID_IAAXHostServicesV1).
class AAX_IACFHostServices : public IACFUnknown
{
public:
    // 3: not called by the plug-in; a call is recorded as a wrong slot.
    virtual Result UnusedPosition3() = 0;
    // 4: trace (priority, message).
    virtual Result Trace(int32_t priority, const char* message) = 0;

protected:
    ~AAX_IACFHostServices() = default;
};

// Host services, version 2 (IID_IAAXHostServicesV2).
class AAX_IACFHostServices_V2 : public AAX_IACFHostServices
{
public:
    // 5: stack trace (trace priority, stack-trace priority, message).
    virtual Result StackTrace(int32_t tracePriority, int32_t stackTracePriority, const char* message) = 0;

protected:
    ~AAX_IACFHostServices_V2() = default;
};

// Host services, version 3 (IID_IAAXHostServicesV3).
class AAX_IACFHostServices_V3 : public AAX_IACFHostServices_V2
{
public:
    // 6: assertion report (source file, line, condition text, flags).
    virtual Result HandleAssertFailure(const char* file, int32_t line, const char* condition,
                                       int32_t flags) = 0;

protected:
    ~AAX_IACFHostServices_V3() = default;
};

} // namespace aaxhost

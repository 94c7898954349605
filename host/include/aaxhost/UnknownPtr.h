#pragma once

#include "aaxhost/Interfaces.h"

#include <utility>

namespace aaxhost
{

// Owns one reference to an interface pointer reached through IACFUnknown
// (typically a plug-in object the host holds). Unlike HostRef, its AddRef and
// Release are real calls through the interface.
template <class T>
class UnknownPtr
{
public:
    UnknownPtr() = default;
    UnknownPtr(const UnknownPtr& other) : object_(other.object_)
    {
        if (object_ != nullptr)
            object_->AddRef();
    }
    UnknownPtr(UnknownPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~UnknownPtr() { reset(); }

    UnknownPtr& operator=(UnknownPtr other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }

    // Takes over a reference the caller already owns (e.g. from a creator).
    static UnknownPtr adopt(T* object) noexcept
    {
        UnknownPtr result;
        result.object_ = object;
        return result;
    }

    // Asks `from` for `iid`; empty when it fails (the result in *result).
    static UnknownPtr query(IACFUnknown* from, const Uid& iid, Result* result = nullptr)
    {
        UnknownPtr ptr;
        Result r = kResultNoInterface;
        if (from != nullptr)
            r = from->QueryInterface(iid, ptr.put());
        if (r != kResultOk)
            ptr.object_ = nullptr; // a failed query owns nothing, whatever it stored
        if (result != nullptr)
            *result = r;
        return ptr;
    }

    void reset() noexcept
    {
        if (T* old = std::exchange(object_, nullptr))
            old->Release();
    }

    // For an out-parameter: releases what is held and hands out the slot.
    void** put() noexcept
    {
        reset();
        return reinterpret_cast<void**>(&object_);
    }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

// What the effect and GUI drivers do alike with the plug-in object they hold:

// Initialize with the controller unknown; kAaxErrorNullObject without an object.
template <class T>
Result initializeObject(const UnknownPtr<T>& object, IACFUnknown* controllerUnknown, bool& initialized)
{
    if (!object)
        return kAaxErrorNullObject;
    const Result result = object->Initialize(controllerUnknown);
    if (result == kResultOk)
        initialized = true;
    return result;
}

// Uninitialize; kAaxErrorNullObject without an object.
template <class T>
Result uninitializeObject(const UnknownPtr<T>& object, bool& initialized)
{
    if (!object)
        return kAaxErrorNullObject;
    initialized = false;
    return object->Uninitialize();
}

// Gives up the host's reference and answers what the object's Release
// answered (0 = destroyed; 0 also without an object).
template <class T>
uint32_t releaseObject(UnknownPtr<T>& object)
{
    T* held = object.get();
    if (held == nullptr)
        return 0;
    // Hand the reference over without a second Release.
    held->AddRef();
    object.reset();
    return held->Release();
}

// A created object that nobody holds: one reference and its release destroy it.
template <class T>
void destroyUnheld(T* object)
{
    object->AddRef();
    object->Release();
}

} // namespace aaxhost

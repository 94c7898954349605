#pragma once

#include "aaxhost/CallRecorder.h"
#include "aaxhost/Identifiers.h"
#include "aaxhost/Interfaces.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace aaxhost
{

// Base of every reference-counted object the host hands to the plug-in.
//
// - The reference count starts at 0; the object deletes itself when a release
//   brings it back to 0. refCount() reads it at any time.
// - Calls the plug-in makes (the interface operations, QueryInterface, AddRef
//   and Release included) are recorded in the object's CallRecorder, if any.
//   The host's own bookkeeping uses retain()/releaseRef()/query(), which are
//   not recorded.
// - Each identifier the object answers can be switched off with refuse().
// - Each operation's result can be forced with setResult().
// - liveCount() counts every host object constructed and not yet destroyed.
//
// Derive through HostObjectOf<Interfaces...> below, not from this class directly.
class HostObject
{
public:
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    const std::string& name() const noexcept { return name_; }
    uint32_t refCount() const noexcept { return refs_.load(); }
    // Releases that came while the count was already 0 (a caller's fault; the
    // count stays at 0 and the object alive).
    uint32_t overReleases() const noexcept { return overReleases_.load(); }
    const std::shared_ptr<CallRecorder>& recorder() const noexcept { return recorder_; }

    // Switchable answers: a refused identifier is answered with
    // kResultNoInterface and a null pointer (IID_IACFUnknown included).
    void refuse(const Uid& iid);
    void allow(const Uid& iid);
    void allowAll();
    bool refuses(const Uid& iid) const;

    // Forced results: operation `operation` (its name as recorded) returns
    // `result` instead of its normal answer (outputs are still written).
    void setResult(const std::string& operation, Result result);
    void clearResult(const std::string& operation);
    void clearResults();

    // Host-side reference handling, not recorded. releaseRef() may delete.
    uint32_t retain() noexcept;
    uint32_t releaseRef() noexcept;
    // Host-side query, not recorded; adds one reference on success.
    Result query(const Uid& iid, void** out) noexcept;
    // The primary interface (the pointer handed out for IID_IACFUnknown); no reference added.
    virtual IACFUnknown* primaryInterface() noexcept = 0;

    // The host object behind an interface pointer, or null when the pointer is
    // null or not one of ours (e.g. a plug-in object). No reference is added.
    static HostObject* fromUnknown(IACFUnknown* unknown) noexcept;

    // Host objects constructed and not yet destroyed, process-wide.
    static int64_t liveCount() noexcept;
    // Their names (for leak reports), in no particular order.
    static std::vector<std::string> liveNames();

protected:
    HostObject(std::string name, std::shared_ptr<CallRecorder> recorder);
    virtual ~HostObject();

    // The interface pointer for `iid` (never IID_IACFUnknown, which the base
    // answers), or null when the object does not offer it.
    virtual void* findInterface(const Uid& iid) noexcept = 0;
    // Answers a query the object has not refused; default: findInterface()
    // plus one reference on this object. Override to delegate to another object.
    virtual Result answerQuery(const Uid& iid, void** out) noexcept;

    // Whether the object has a recorder and it is on; an object keeps records
    // of its own (packets, events, ...) only while this holds.
    bool recording() const noexcept;
    // Records a call of `operation` with its arguments (copied now) while
    // recording() holds. Running out of memory here throws std::bad_alloc: an
    // operation that catches it answers the plug-in with an error, a noexcept one
    // ends the process (the tools then say they ran out of memory).
    void record(const char* operation, std::vector<Value> args = {}) const;
    // `normal`, unless a result is forced for `operation`.
    Result answer(const char* operation, Result normal) const;
    // record() and answer() in one, for operations with nothing to do between.
    Result reply(const char* operation, Result normal, std::vector<Value> args = {}) const;

    // For operations that answer a forced result before they read or change
    // anything: records the call and answers whether it goes on, that is its
    // forced result if any, else kAaxErrorNullArgument when one of `required`
    // is null, else kResultOk.
    template <class... Required>
    Result enter(const char* operation, std::vector<Value> args = {}, const Required*... required) const
    {
        const Result forced = reply(operation, kResultOk, std::move(args));
        return forced != kResultOk ? forced : present(required...);
    }

    // kAaxErrorNullArgument when one of `required` is null, else kResultOk.
    template <class... Required>
    static Result present(const Required*... required) noexcept
    {
        return ((required == nullptr) || ...) ? kAaxErrorNullArgument : kResultOk;
    }

    // `first` when it is not kResultOk; otherwise runs `act` and answers what
    // it answers (kResultOk when it answers nothing).
    template <class Act>
    static Result deliver(Result first, Act&& act)
    {
        if (first != kResultOk)
            return first;
        if constexpr (std::is_void_v<std::invoke_result_t<Act&>>)
        {
            act();
            return kResultOk;
        }
        else
        {
            return act();
        }
    }

    // deliver(), with `act` run under `mutex`.
    template <class Act>
    static Result deliver(Result first, std::mutex& mutex, Act&& act)
    {
        return deliver(first,
                       [&]
                       {
                           std::lock_guard<std::mutex> lock(mutex);
                           return act();
                       });
    }

    // The recorded forms of the three base operations, used by HostObjectOf.
    Result queryEntry(const Uid& iid, void** out) noexcept;
    uint32_t addRefEntry() noexcept;
    uint32_t releaseEntry() noexcept;

private:
    bool recordReferenceCalls() const noexcept;

    std::string name_;
    std::shared_ptr<CallRecorder> recorder_;
    std::atomic<uint32_t> refs_{0};
    std::atomic<uint32_t> overReleases_{0};
    mutable std::mutex mutex_;
    std::vector<Uid> refused_;
    std::map<std::string, Result, std::less<>> forced_;
};

// The base to derive host objects from: supplies QueryInterface, AddRef and
// Release for every interface in `Interfaces` (all derived from IACFUnknown).
// The first interface is the primary one. A derived class implements the
// interfaces' operations and findInterface(), e.g.
//
//   class MyObject final : public HostObjectOf<IMyInterface_V2>
//   {
//   public:
//       explicit MyObject(std::shared_ptr<CallRecorder> r) : HostObjectOf("MyObject", std::move(r)) {}
//       Result DoIt(int32_t x) override { return reply("DoIt", kResultOk, {int64_t{x}}); }
//   protected:
//       void* findInterface(const Uid& iid) noexcept override
//       {
//           return iid == IID_MyV1 || iid == IID_MyV2 ? as<IMyInterface_V2>() : nullptr;
//       }
//   };
template <class First, class... Rest>
class HostObjectOf : public First, public Rest..., public HostObject
{
public:
    Result QueryInterface(const Uid& iid, void** out) override { return queryEntry(iid, out); }
    uint32_t AddRef() override { return addRefEntry(); }
    uint32_t Release() override { return releaseEntry(); }

    IACFUnknown* primaryInterface() noexcept override
    {
        return static_cast<IACFUnknown*>(static_cast<First*>(this));
    }

protected:
    HostObjectOf(std::string name, std::shared_ptr<CallRecorder> recorder)
        : HostObject(std::move(name), std::move(recorder))
    {
    }
    ~HostObjectOf() override = default;

    // This object as interface I, ready to return from findInterface().
    template <class I>
    void* as() noexcept
    {
        return static_cast<void*>(static_cast<I*>(this));
    }
};

// A copy of `value` taken under `mutex`.
template <class T>
T lockedCopy(std::mutex& mutex, const T& value)
{
    std::lock_guard<std::mutex> lock(mutex);
    return value;
}

// Owning pointer to a host object, for the host's own use (not recorded).
template <class T>
class HostRef
{
public:
    HostRef() = default;
    // Takes a new reference on `object` (may be null).
    explicit HostRef(T* object) : object_(object)
    {
        if (object_ != nullptr)
            object_->retain();
    }
    HostRef(const HostRef& other) : HostRef(other.object_) {}
    HostRef(HostRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U>
    HostRef(const HostRef<U>& other) : HostRef(static_cast<T*>(other.get()))
    {
    }
    ~HostRef() { reset(); }

    HostRef& operator=(HostRef other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }

    void reset() noexcept
    {
        if (T* old = std::exchange(object_, nullptr))
            old->releaseRef();
    }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

// Creates a host object and holds the first reference.
template <class T, class... Args>
HostRef<T> makeHost(Args&&... args)
{
    return HostRef<T>(new T(std::forward<Args>(args)...));
}

} // namespace aaxhost

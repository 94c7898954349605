#pragma once

#include "aaxhost/Uid.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace aaxhost
{

// A copied block of bytes (a packet, a chunk, ...).
using Bytes = std::vector<uint8_t>;

// One argument of a recorded call, copied when the call was made: texts and
// byte blocks are copied (a null one stays distinguishable as nullptr),
// identifiers by value, pointers only as addresses.
using Value =
    std::variant<std::nullptr_t, bool, int64_t, uint64_t, double, std::string, Uid, const void*, Bytes>;

// Builds a Value from a text that may be null.
Value textValue(const char* text);
// Builds a Value from `size` bytes at `data` (nullptr when data is null).
Value bytesValue(const void* data, std::size_t size);
// Builds a Value from an address (what it points to is not read).
inline Value pointerValue(const void* pointer)
{
    return pointer;
}
// Text form of a value (identifiers by name when known, texts in quotes).
std::string valueToString(const Value& value);

// One call the plug-in made into the host.
struct Call
{
    uint64_t sequence = 0;         // position in the recorder, from 0
    std::string object;            // the host object's name, e.g. "HostServices"
    const void* address = nullptr; // the host object, to tell instances apart
    std::string operation;         // e.g. "Trace"
    std::vector<Value> args;

    // Typed access; throws std::bad_variant_access when the type differs.
    template <class T>
    const T& arg(std::size_t index) const
    {
        return std::get<T>(args.at(index));
    }

    // e.g. HostServices.Trace(134217728, "text")
    std::string toString() const;
};

// Keeps every call, in order. Thread-safe: calls may come from any thread.
class CallRecorder
{
public:
    void record(Call call);

    std::vector<Call> calls() const;
    // Only the calls of one operation (any object).
    std::vector<Call> calls(std::string_view operation) const;
    // Only the calls of one operation on one named kind of object.
    std::vector<Call> calls(std::string_view object, std::string_view operation) const;
    std::size_t count(std::string_view operation) const;
    std::size_t size() const;
    void clear();

    // Whether QueryInterface/AddRef/Release are recorded (default: yes).
    void setRecordReferenceCalls(bool on) { referenceCalls_ = on; }
    bool recordsReferenceCalls() const { return referenceCalls_; }
    // Switches recording off and on (default: on). While it is off, the host
    // objects keep none of their own records of the plug-in's calls either
    // (HostObject::recording()).
    void setEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }

    // One line per call.
    std::string dump() const;

private:
    // The calls `keep` accepts, in order.
    template <class Keep>
    std::vector<Call> select(Keep keep) const;

    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    uint64_t next_ = 0;
    std::atomic<bool> referenceCalls_{true};
    std::atomic<bool> enabled_{true};
};

} // namespace aaxhost

#include "aaxhost/CallRecorder.h"

#include "aaxhost/Identifiers.h"

#include "tambrix/text/Hex.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <type_traits>

namespace aaxhost
{

Value textValue(const char* text)
{
    if (text == nullptr)
        return nullptr;
    return std::string(text);
}

Value bytesValue(const void* data, std::size_t size)
{
    if (data == nullptr)
        return nullptr;
    const auto* bytes = static_cast<const uint8_t*>(data);
    return Bytes(bytes, bytes + size);
}

std::string valueToString(const Value& value)
{
    return std::visit(
        [](const auto& v) -> std::string
        {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
                return "null";
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "true" : "false";
            else if constexpr (std::is_same_v<T, int64_t> || std::is_same_v<T, uint64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
            {
                char text[32];
                std::snprintf(text, sizeof text, "%.17g", v);
                return text;
            }
            else if constexpr (std::is_same_v<T, std::string>)
                return "\"" + v + "\"";
            else if constexpr (std::is_same_v<T, Uid>)
                return describeIdentifier(v);
            else if constexpr (std::is_same_v<T, Bytes>)
                return "[" + tambrix::text::hexBytes(v.data(), v.size(), true, " ") + "]";
            else
            {
                char text[32];
                std::snprintf(text, sizeof text, "%p", v);
                return text;
            }
        },
        value);
}

std::string Call::toString() const
{
    std::string text = object + "." + operation + "(";
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (i > 0)
            text += ", ";
        text += valueToString(args[i]);
    }
    return text + ")";
}

void CallRecorder::record(Call call)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!enabled_)
        return;
    call.sequence = next_++;
    calls_.push_back(std::move(call));
}

std::vector<Call> CallRecorder::calls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

template <class Keep>
std::vector<Call> CallRecorder::select(Keep keep) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Call> result;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result), keep);
    return result;
}

std::vector<Call> CallRecorder::calls(std::string_view operation) const
{
    return select([&](const Call& call) { return call.operation == operation; });
}

std::vector<Call> CallRecorder::calls(std::string_view object, std::string_view operation) const
{
    return select([&](const Call& call) { return call.object == object && call.operation == operation; });
}

std::size_t CallRecorder::count(std::string_view operation) const
{
    return calls(operation).size();
}

std::size_t CallRecorder::size() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_.size();
}

void CallRecorder::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
    next_ = 0;
}

std::string CallRecorder::dump() const
{
    std::string text;
    for (const Call& call : calls())
        text += std::to_string(call.sequence) + ": " + call.toString() + "\n";
    return text;
}

} // namespace aaxhost

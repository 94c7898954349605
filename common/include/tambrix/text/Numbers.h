#pragma once

// Numbers read from the whole of a text (command-line values, script and
// timeline words). Each caller decides which outcomes it accepts.

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tambrix::text
{

enum class NumberRead
{
    ok,
    malformed, // empty, not a number, or something after the number
    overflow,  // beyond the type's range
    underflow, // a real number closer to 0 than the smallest normal double: `value` holds what it rounds to
};

// A real number in a form strtod reads (decimal or hex, nan and inf included).
inline NumberRead readReal(std::string_view text, double& value)
{
    const std::string copy(text); // strtod wants the terminating NUL
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size())
        return NumberRead::malformed;
    if (errno == ERANGE && std::isinf(read))
        return NumberRead::overflow;
    value = read;
    return errno == ERANGE ? NumberRead::underflow : NumberRead::ok;
}

// A whole decimal number with an optional sign; nothing else.
inline NumberRead readWhole(std::string_view text, std::int64_t& value)
{
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (text.size() == sign || text.find_first_not_of("0123456789", sign) != std::string_view::npos)
        return NumberRead::malformed;
    const std::string copy(text);
    errno = 0;
    const long long read = std::strtoll(copy.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return NumberRead::overflow;
    value = read;
    return NumberRead::ok;
}

} // namespace tambrix::text

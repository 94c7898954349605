#pragma once

// Numbers read from the whole of a text (command-line values, script and
// timeline words). Each caller decides which outcomes it accepts.

#include <cstdint>
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
NumberRead readReal(std::string_view text, double& value);

// A whole decimal number with an optional sign; nothing else.
NumberRead readWhole(std::string_view text, std::int64_t& value);

} // namespace tambrix::text

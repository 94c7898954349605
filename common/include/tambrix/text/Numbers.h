#pragma once

// Numbers read from the whole of a text (command-line values, script and
// timeline words): the forms the tools read, and the one way every word is
// checked against the limits of what it stands for.

#include "tambrix/text/Words.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
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

// A real number in a form strtod reads (decimal or hex, nan and inf included),
// nothing before or after it. Closer to 0 than the smallest normal double is an
// underflow however it is written (strtod does not say so of every hex form).
inline NumberRead readReal(std::string_view text, double& value)
{
    const std::string copy(text); // strtod wants the terminating NUL
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(copy.c_str(), &end);
    if (copy.empty() || std::isspace(static_cast<unsigned char>(copy[0])) ||
        end != copy.c_str() + copy.size())
        return NumberRead::malformed;
    if (errno == ERANGE && std::isinf(read))
        return NumberRead::overflow;
    value = read;
    const bool subnormal = read != 0.0 && std::fabs(read) < std::numeric_limits<double>::min();
    return errno == ERANGE || subnormal ? NumberRead::underflow : NumberRead::ok;
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

// A number as a message writes it: the shortest form that reads back as the same
// double, whole numbers below a million in full (86400), others with a plain
// exponent (1e9, 1e-5).
inline std::string numberText(double value)
{
    char text[32];
    int digits = 1;
    for (; digits <= 17; ++digits)
    {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    digits = std::min(digits, 17);
    const double magnitude = std::fabs(value);
    if (magnitude >= 1.0 && magnitude < 1e6)
        std::snprintf(text, sizeof text, "%.*g",
                      std::max(digits, static_cast<int>(std::log10(magnitude)) + 1), value);
    std::string shown = text;
    if (const std::size_t e = shown.find('e'); e != std::string::npos)
    {
        std::size_t digit = e + 1;
        const bool negative = shown[digit] == '-';
        if (shown[digit] == '+' || negative)
            ++digit;
        while (digit + 1 < shown.size() && shown[digit] == '0')
            ++digit;
        shown = shown.substr(0, e + 1) + (negative ? "-" : "") + shown.substr(digit);
    }
    return shown;
}

// What a whole number stands for and the range it must be in.
struct WholeRule
{
    const char* noun; // as a refusal names it: "a whole number of Hz"
    std::int64_t low;
    std::int64_t high;

    std::string limits() const
    {
        return std::string(noun) + " from " + std::to_string(low) + " to " + std::to_string(high);
    }
};

// What a real number stands for and the range it must be in. Every real number
// is finite and not so close to 0 that it underflows, unless `anyDouble`: then
// it is a value a host may send as it is (NaN, infinities and subnormals too).
struct RealRule
{
    const char* noun; // as a refusal names it: "a tempo"
    double low = -std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::max();
    bool aboveLow = false; // `low` itself is refused
    bool anyDouble = false;

    bool admits(double value) const
    {
        if (anyDouble)
            return true;
        return std::isfinite(value) && (aboveLow ? value > low : value >= low) && value <= high;
    }

    // What the number must be, as a refusal says it: "a tempo above 0 and at most 10000".
    std::string limits() const
    {
        std::string text = noun;
        if (anyDouble)
            return text;
        if (aboveLow)
            return text + " above " + numberText(low) + " and at most " + numberText(high);
        if (low == -high)
            return text + " of magnitude at most " + numberText(high);
        return text + " from " + numberText(low) + " to " + numberText(high);
    }
};

// Reads `word` as `rule` says into `value`; otherwise the refusal, naming the
// number as `subject` (an option, a timeline or script argument): "SUBJECT must
// be LIMITS, not 'WORD'", or why a real number cannot be read at all.
inline std::string readNumber(std::string_view word, const WholeRule& rule, const std::string& subject,
                              std::int64_t& value)
{
    std::int64_t read = 0;
    if (readWhole(word, read) != NumberRead::ok || read < rule.low || read > rule.high)
        return subject + " must be " + rule.limits() + ", not '" + printable(word) + "'";
    value = read;
    return {};
}

inline std::string readNumber(std::string_view word, const RealRule& rule, const std::string& subject,
                              double& value)
{
    double read = 0.0;
    const NumberRead outcome = readReal(word, read);
    const std::string shown = "'" + printable(word) + "'";
    if (outcome == NumberRead::underflow && !rule.anyDouble)
        return subject + " cannot be " + shown +
               ": it underflows (closer to 0 than the smallest normal double)";
    if (outcome == NumberRead::overflow && rule.anyDouble)
        return subject + " cannot be " + shown + ": it overflows (beyond the largest double)";
    if (outcome == NumberRead::malformed || outcome == NumberRead::overflow || !rule.admits(read))
        return subject + " must be " + rule.limits() + ", not " + shown;
    value = read;
    return {};
}

} // namespace tambrix::text

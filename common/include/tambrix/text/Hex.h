#pragma once

// Hexadecimal text of numbers and byte blocks, and back.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix::text
{

// "0x" and at least `digits` upper-case hex digits, e.g. hexNumber(255, 4) is "0x00FF".
inline std::string hexNumber(std::uint64_t value, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return buffer;
}

// Two hex digits a byte (lower case unless `upperCase`), `separator` between bytes.
inline std::string hexBytes(const std::uint8_t* data, std::size_t size, bool upperCase = false,
                            std::string_view separator = {})
{
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i)
    {
        if (i > 0)
            hex += separator;
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 0xF];
    }
    return hex;
}

inline std::string hexBytes(const std::vector<std::uint8_t>& bytes)
{
    return hexBytes(bytes.data(), bytes.size());
}

// The value of a hex digit of either case, or -1.
inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes of an even number of hex digits of either case; nothing for anything else.
inline std::optional<std::vector<std::uint8_t>> bytesFromHex(std::string_view hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
    {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

} // namespace tambrix::text

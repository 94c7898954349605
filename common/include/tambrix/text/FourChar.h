#pragma once

// Four-character codes (chunk identifiers, manufacturer and product codes): the
// first character in the most significant byte.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tambrix::text
{

// The code of exactly four characters; nothing for any other length.
constexpr std::optional<std::uint32_t> fourCharCode(std::string_view text)
{
    if (text.size() != 4)
        return std::nullopt;
    std::uint32_t code = 0;
    for (const char c : text)
        code = (code << 8) | static_cast<unsigned char>(c);
    return code;
}

inline bool isPrintableAscii(std::uint32_t c)
{
    return c >= 0x20 && c < 0x7F;
}

// The code's four characters, each outside printable ASCII shown as '?'.
inline std::string fourCharText(std::uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const std::uint32_t c = (code >> shift) & 0xFFu;
        text += isPrintableAscii(c) ? static_cast<char>(c) : '?';
    }
    return text;
}

} // namespace tambrix::text

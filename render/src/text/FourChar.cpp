#include "tambrix/text/FourChar.h"

namespace tambrix::text
{
namespace
{
bool printable(std::uint32_t c)
{
    return c >= 0x20 && c < 0x7F;
}
} // namespace

std::optional<std::uint32_t> fourCharCode(std::string_view text)
{
    if (text.size() != 4)
        return std::nullopt;
    std::uint32_t code = 0;
    for (const char c : text)
        code = (code << 8) | static_cast<unsigned char>(c);
    return code;
}

std::string fourCharText(std::uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const std::uint32_t c = (code >> shift) & 0xFFu;
        text += printable(c) ? static_cast<char>(c) : '?';
    }
    return text;
}

bool isPrintableFourChar(std::uint32_t code)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        if (!printable((code >> shift) & 0xFFu))
            return false;
    return true;
}

} // namespace tambrix::text

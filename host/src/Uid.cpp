#include "aaxhost/Uid.h"

#include "tambrix/text/Hex.h"

#include <cstdio>

namespace aaxhost
{

std::string Uid::toString() const
{
    char text[37];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned>(data1), static_cast<unsigned>(data2), static_cast<unsigned>(data3),
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return text;
}

namespace
{
// Reads `count` hex digits from `text` at `pos`.
bool readHex(std::string_view text, std::size_t pos, std::size_t count, uint32_t& value)
{
    value = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const int digit = tambrix::text::hexDigit(text[pos + i]);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}
} // namespace

std::optional<Uid> Uid::parse(std::string_view text)
{
    // 8-4-4-4-12
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    Uid uid{};
    uint32_t value = 0;
    if (!readHex(text, 0, 8, value))
        return std::nullopt;
    uid.data1 = value;
    if (!readHex(text, 9, 4, value))
        return std::nullopt;
    uid.data2 = static_cast<uint16_t>(value);
    if (!readHex(text, 14, 4, value))
        return std::nullopt;
    uid.data3 = static_cast<uint16_t>(value);
    static constexpr std::size_t bytePositions[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (std::size_t i = 0; i < 8; ++i)
    {
        if (!readHex(text, bytePositions[i], 2, value))
            return std::nullopt;
        uid.data4[i] = static_cast<uint8_t>(value);
    }
    return uid;
}

} // namespace aaxhost

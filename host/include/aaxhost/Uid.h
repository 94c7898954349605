#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace aaxhost
{

// A 16-byte identifier of an interface, a component or a feature, in the
// layout both sides of the interface share: a 32-bit field, two 16-bit fields
// (each in the platform's byte order) and eight single bytes.
struct Uid
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];

    // Text form: XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX (upper-case hex digits).
    std::string toString() const;

    // Reads the text form (either case); nothing on malformed text.
    static std::optional<Uid> parse(std::string_view text);
};

static_assert(sizeof(Uid) == 16, "identifier must be 16 bytes");
static_assert(alignof(Uid) == 4, "identifier alignment follows its 32-bit field");

inline bool operator==(const Uid& a, const Uid& b) noexcept
{
    return std::memcmp(&a, &b, sizeof(Uid)) == 0;
}

inline bool operator!=(const Uid& a, const Uid& b) noexcept
{
    return !(a == b);
}

} // namespace aaxhost

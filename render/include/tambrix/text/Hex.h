#pragma once

// Hexadecimal text of numbers and byte blocks, and back.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix::text
{

// "0x" and at least `digits` upper-case hex digits, e.g. hexNumber(255, 4) is "0x00FF".
std::string hexNumber(std::uint64_t value, int digits);

// Two hex digits a byte (lower case unless `upperCase`), `separator` between bytes.
std::string hexBytes(const std::uint8_t* data, std::size_t size, bool upperCase = false,
                     std::string_view separator = {});

// The value of a hex digit of either case, or -1.
int hexDigit(char c);

// The bytes of an even number of hex digits of either case; nothing for anything else.
std::optional<std::vector<std::uint8_t>> bytesFromHex(std::string_view hex);

} // namespace tambrix::text

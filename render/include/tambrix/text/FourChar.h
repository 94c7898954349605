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
std::optional<std::uint32_t> fourCharCode(std::string_view text);

// The code's four characters, each outside printable ASCII shown as '?'.
std::string fourCharText(std::uint32_t code);

// Whether all four characters are printable ASCII.
bool isPrintableFourChar(std::uint32_t code);

} // namespace tambrix::text

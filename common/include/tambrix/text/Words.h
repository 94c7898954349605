#pragma once

// Words as the tools read them from a line (timeline files, scripts), and as
// they show them back in a message.

#include "tambrix/text/Hex.h"
#include "tambrix/text/InvisibleRanges.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix::text
{

// The next word of `rest`, cut from it with the white space before it; empty
// when no word is left.
inline std::string_view nextWord(std::string_view& rest)
{
    constexpr std::string_view space = " \t\n\v\f\r";
    rest.remove_prefix(std::min(rest.find_first_not_of(space), rest.size()));
    const std::string_view word = rest.substr(0, rest.find_first_of(space));
    rest.remove_prefix(word.size());
    return word;
}

// The first `most` words of a line (views into it), split at white space; `#` starts a
// comment anywhere, which runs to the end of the line. A reader asks for one word more
// than it takes, to tell a line of too many (a line may hold millions).
inline std::vector<std::string_view> lineWords(std::string_view line, std::size_t most)
{
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    for (std::string_view word; words.size() < most && !(word = nextWord(line)).empty();)
        words.push_back(word);
    return words;
}

// The words of a line from its word `first` (counted from 0) on, joined by one space.
inline std::string joinedWords(std::string_view line, std::size_t first)
{
    line = line.substr(0, line.find('#'));
    std::string joined;
    joined.reserve(line.size());
    for (std::size_t n = 0; n < first; ++n)
        nextWord(line);
    for (std::string_view word; !(word = nextWord(line)).empty();)
        joined.append(joined.empty() ? "" : " ").append(word);
    return joined;
}

// Whether a character (a code point) is one a terminal shows nothing of, while
// it reorders, joins, hides or breaks what is around it: a format character
// (the soft hyphen, the bidirectional controls, zero-width characters, the
// byte-order mark, tags, ...) or the line or paragraph separator.
inline bool isInvisible(std::uint32_t c)
{
    return std::any_of(std::begin(invisibleRanges), std::end(invisibleRanges),
                       [c](const CodeRange& range) { return c >= range.first && c <= range.last; });
}

// A text as a message may show it: control characters (C0, DEL and C1), the
// invisible characters above and bytes that are not UTF-8 as \xNN, a backslash as
// \\ (so that no text looks like an escaped byte), and at most `maxCharacters`
// characters (a UTF-8 sequence or an escaped byte counts as one) followed by "…"
// when there are more.
inline std::string printable(std::string_view text, std::size_t maxCharacters = 64)
{
    std::string shown;
    for (std::size_t i = 0, characters = 0; i < text.size(); ++characters)
    {
        if (characters == maxCharacters)
            return shown + "\xE2\x80\xA6"; // …
        // The UTF-8 sequence at i: its length by its first byte's high half (0: none), its code point.
        constexpr std::size_t lengths[] = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 2, 2, 3, 4};
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data() + i);
        std::size_t length = bytes[0] > 0xF4 ? 0 : lengths[bytes[0] >> 4];
        std::uint32_t c = length == 1 ? bytes[0] : bytes[0] & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k)
            if (i + k < text.size() && (bytes[k] & 0xC0) == 0x80)
                c = (c << 6) | (bytes[k] & 0x3Fu);
            else
                length = 0;
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8 either.
        constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
            length = 0;
        const std::size_t unit = std::max<std::size_t>(length, 1);
        // C0, DEL and C1 are the control characters.
        if (length == 0 || c < 0x20 || (c >= 0x7F && c < 0xA0) || isInvisible(c))
            shown += "\\x" + hexBytes(bytes, unit, true, "\\x");
        else
            shown += c == '\\' ? "\\\\" : text.substr(i, unit);
        i += unit;
    }
    return shown;
}

// A file name as a message shows it: control bytes as \xNN, cut only beyond the
// longest path the system takes.
inline std::string printablePath(std::string_view path)
{
    return printable(path, 4096);
}

} // namespace tambrix::text

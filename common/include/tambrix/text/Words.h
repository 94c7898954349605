#pragma once

// Words as the tools read them from a line (timeline files, scripts), and as
// they show them back in a message.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix::text
{

// The words of a line, split at white space; `#` starts a comment anywhere,
// which runs to the end of the line.
inline std::vector<std::string> lineWords(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    const auto space = [](char c)
    {
        return c == ' ' || (c >= '\t' && c <= '\r');
    };
    std::vector<std::string> words;
    for (std::size_t i = 0; i < line.size();)
    {
        if (space(line[i]))
        {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !space(line[i]))
            ++i;
        words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

// Whether a character (a code point) is one a terminal shows nothing of, while
// it reorders, joins, hides or breaks what is around it: the format characters
// (soft hyphen, the bidirectional controls, zero-width characters, the word
// joiner and invisible operators, the byte-order mark, interlinear annotation
// marks, tags) and the line and paragraph separators.
inline bool isInvisible(std::uint32_t c)
{
    return c == 0xAD || c == 0x61C || c == 0x180E || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB) || (c >= 0xE0000 && c <= 0xE007F);
}

// A text as a message may show it: control characters (C0, DEL and C1), the
// invisible characters above and bytes that are not UTF-8 as \xNN, and at most `maxCharacters` characters (a
// UTF-8 sequence or an escaped byte counts as one) followed by "…" when there are more.
inline std::string printable(std::string_view text, std::size_t maxCharacters = 64)
{
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();)
    {
        if (characters++ == maxCharacters)
            return shown + "\xE2\x80\xA6"; // …
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80   ? 1
                             : byte < 0xC2 ? 0
                             : byte < 0xE0 ? 2
                             : byte < 0xF0 ? 3
                             : byte < 0xF5 ? 4
                                           : 0;
        for (std::size_t k = 1; k < length; ++k)
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                length = 0;
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8 either;
        // U+0080 to U+009F are the C1 controls.
        const unsigned next = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((byte == 0xE0 && next < 0xA0) || (byte == 0xED && next > 0x9F) || (byte == 0xF0 && next < 0x90) ||
            (byte == 0xF4 && next > 0x8F))
            length = 0;
        std::uint32_t c = length == 1 ? byte : byte & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        const bool escape = length == 0 || c < 0x20 || (c >= 0x7F && c < 0xA0) || isInvisible(c);
        const std::size_t unit = std::max<std::size_t>(length, 1);
        for (std::size_t k = 0; k < unit; ++k, ++i)
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[i]));
            shown += escape ? std::string(escaped) : std::string(1, text[i]);
        }
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

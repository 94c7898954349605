#pragma once

// Words as the tools read them from a line (timeline files, scripts), and as
// they show them back in a message.

#include <algorithm>
#include <cstddef>
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

// Whether a UTF-8 sequence is a character that reorders or breaks the line a
// terminal shows without being seen itself: the bidirectional controls (U+061C,
// U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069), the line and paragraph
// separators (U+2028, U+2029) and the byte-order mark (U+FEFF).
inline bool isLayoutControl(std::string_view sequence)
{
    if (sequence == "\xD8\x9C" || sequence == "\xEF\xBB\xBF")
        return true;
    if (sequence.size() != 3 || sequence[0] != '\xE2')
        return false;
    const auto second = static_cast<unsigned char>(sequence[1]);
    const auto third = static_cast<unsigned char>(sequence[2]);
    return (second == 0x80 && (third == 0x8E || third == 0x8F || (third >= 0xA8 && third <= 0xAE))) ||
           (second == 0x81 && third >= 0xA6 && third <= 0xA9);
}

// A text as a message may show it: control characters (C0, DEL and C1), the
// characters above and bytes that are not UTF-8 as \xNN, and at most `maxCharacters` characters (a UTF-8
// sequence or an escaped byte counts as one) followed by "…" when there are more.
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
        const bool escape = length == 0 || byte < 0x20 || byte == 0x7F || (byte == 0xC2 && next < 0xA0) ||
                            isLayoutControl(text.substr(i, length));
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

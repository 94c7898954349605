#pragma once

// Words as the tools read them from a line (timeline files, scripts), and as
// they show them back in a message.

#include <cstddef>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix::text
{

// The words of a line, split at white space; `#` starts a comment anywhere,
// which runs to the end of the line.
inline std::vector<std::string> lineWords(std::string_view line)
{
    std::istringstream s(std::string(line.substr(0, line.find('#'))));
    std::vector<std::string> words;
    for (std::string word; s >> word;)
        words.push_back(std::move(word));
    return words;
}

// A text as a message may show it: control bytes as \xNN, and at most
// `maxCharacters` characters (a UTF-8 sequence counts as one) followed by "…"
// when there are more.
inline std::string printable(std::string_view text, std::size_t maxCharacters = 64)
{
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation && characters++ == maxCharacters)
            return shown + "\xE2\x80\xA6"; // …
        if (byte < 0x20 || byte == 0x7F)
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
        else
        {
            shown += text[i];
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

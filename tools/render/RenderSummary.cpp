#include "RenderSummary.h"

#include <sstream>

namespace tambrix::render
{

std::string summaryJson(const RenderSummary& summary, const std::string& out)
{
    std::ostringstream s;
    s << "{\"out\":\"";
    // The file name's bytes as a JSON string: quote, backslash and control
    // characters escaped, everything else (UTF-8 included) as it is.
    for (const char c : out)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            s << '\\' << c;
        else if (byte < 0x20)
            s << "\\u00"
              << "0123456789abcdef"[byte >> 4] << "0123456789abcdef"[byte & 0xfu];
        else
            s << c;
    }
    s << "\""
      << ",\"samples\":" << summary.samples << ",\"channels\":" << summary.channels
      << ",\"rate\":" << summary.rate << ",\"pulses\":" << summary.pulses << "}";
    return s.str();
}

} // namespace tambrix::render

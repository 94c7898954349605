#include "tambrix/text/Numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tambrix::text
{

NumberRead readReal(std::string_view text, double& value)
{
    const std::string copy(text); // strtod wants the terminating NUL
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size())
        return NumberRead::malformed;
    if (errno == ERANGE && std::isinf(read))
        return NumberRead::overflow;
    value = read;
    return errno == ERANGE ? NumberRead::underflow : NumberRead::ok;
}

NumberRead readWhole(std::string_view text, std::int64_t& value)
{
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (text.size() == sign || text.find_first_not_of("0123456789", sign) != std::string_view::npos)
        return NumberRead::malformed;
    const std::string copy(text);
    errno = 0;
    const long long read = std::strtoll(copy.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return NumberRead::overflow;
    value = read;
    return NumberRead::ok;
}

} // namespace tambrix::text

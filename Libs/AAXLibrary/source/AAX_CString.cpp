#include "AAX_CString.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>

namespace
{
// The text a null pointer stands for.
const char* NonNull(const char* str)
{
    return str != nullptr ? str : "";
}

// Widest fixed-point text of a finite double without its fraction: a sign and
// the 309 digits of the largest double.
constexpr std::size_t kMaxIntegerChars = 1 + std::numeric_limits<double>::max_exponent10 + 1;
} // namespace

AAX_CString::AAX_CString() = default;

AAX_CString::AAX_CString(const char* str) : mString(NonNull(str)) {}

AAX_CString::AAX_CString(const AAX_CString& other) : AAX_IString(), mString(other.mString) {}

AAX_CString::AAX_CString(const AAX_IString& other) : mString(NonNull(other.Get())) {}

AAX_CString::~AAX_CString() = default;

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t>(mString.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::Get() const
{
    return mString.c_str();
}

void AAX_CString::Set(const char* iString)
{
    mString.assign(NonNull(iString));
}

AAX_IString& AAX_CString::operator=(const AAX_IString& iOther)
{
    if (&iOther != this)
        mString.assign(NonNull(iOther.Get()));
    return *this;
}

AAX_IString& AAX_CString::operator=(const char* iString)
{
    Set(iString);
    return *this;
}

AAX_CString& AAX_CString::operator=(const AAX_CString& other)
{
    if (&other != this)
        mString = other.mString;
    return *this;
}

const char* AAX_CString::CString() const
{
    return Get();
}

void AAX_CString::Clear()
{
    mString.clear();
}

AAX_CString& AAX_CString::Erase(uint32_t pos, uint32_t n)
{
    // A position at or past the end removes nothing.
    if (pos < mString.size())
        mString.erase(pos, n);
    return *this;
}

AAX_CString& AAX_CString::AppendNumber(double number, int32_t precision)
{
    // A negative precision means the default of six digits, as for "%.*f".
    const std::size_t digits = precision < 0 ? 6u : static_cast<std::size_t>(precision);
    // Room for the integer part of any double, the point and every requested digit;
    // to_chars formats like "%.*f" in the "C" locale, whatever the process locale is.
    std::string text(kMaxIntegerChars + 1 + digits, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), number,
                                      std::chars_format::fixed, precision < 0 ? 6 : precision);
    if (result.ec == std::errc())
        mString.append(text.data(), result.ptr);
    return *this;
}

bool AAX_CString::ToDouble(double* oValue) const
{
    if (oValue == nullptr)
        return false;

    // Read as a stream does, but always with the "C" locale's number format.
    std::istringstream in(mString.c_str());
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (in.fail())
    {
        *oValue = 0.0;
        return false;
    }
    *oValue = value;
    return true;
}

void AAX_CString::SubString(uint32_t pos, uint32_t n, AAX_IString* outputStr) const
{
    if (outputStr == nullptr)
        return;
    // A position past the end gives the empty text.
    if (pos >= mString.size())
    {
        outputStr->Set("");
        return;
    }
    outputStr->Set(mString.substr(pos, n).c_str());
}

bool AAX_CString::operator==(const AAX_CString& other) const
{
    return std::strcmp(Get(), other.Get()) == 0;
}

bool AAX_CString::operator!=(const AAX_CString& other) const
{
    return !(*this == other);
}

bool AAX_CString::operator!=(const char* otherStr) const
{
    return std::strcmp(Get(), NonNull(otherStr)) != 0;
}

char& AAX_CString::operator[](uint32_t index)
{
    return mString[index];
}

#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <locale>
#include <string>

// glibc keeps the locale search path that it builds from LOCPATH for good.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:__argz_add_sep\n";
}

namespace
{

std::string appended(double number, int32_t precision, const char* start = "")
{
    AAX_CString text(start);
    text.AppendNumber(number, precision);
    return text.Get();
}

// What C's "%.*f" gives in the "C" locale (the tests run in it unless they switch).
std::string printfFixed(double number, int precision)
{
    const int size = std::snprintf(nullptr, 0, "%.*f", precision, number);
    std::string out(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), "%.*f", precision, number);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

// Another implementation of the string interface, as the host would pass one.
class ForeignString final : public AAX_IString
{
public:
    explicit ForeignString(std::string text) : text_(std::move(text)) {}
    uint32_t Length() const override { return static_cast<uint32_t>(text_.size()); }
    uint32_t MaxLength() const override { return 255; }
    const char* Get() const override { return text_.c_str(); }
    void Set(const char* text) override { text_ = text != nullptr ? text : "(null)"; }
    AAX_IString& operator=(const AAX_IString& other) override
    {
        Set(other.Get());
        return *this;
    }
    AAX_IString& operator=(const char* text) override
    {
        Set(text);
        return *this;
    }

private:
    std::string text_;
};

// A number format with a decimal comma and dot grouping, for when the system
// offers no such named locale.
class CommaNumbers final : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Switches the process to a German number format (the C++ global locale, and the
// C locale when the named locale exists) and back.
class GermanLocale
{
public:
    GermanLocale() : previous_(std::locale())
    {
#ifdef LIBRARY_PARAMS_LOCALES
        // The locale built next to the tests, when the system has none installed.
        setenv("LOCPATH", LIBRARY_PARAMS_LOCALES, 0);
#endif
        try
        {
            std::locale::global(std::locale("de_DE.UTF-8")); // also sets the C locale
            named_ = true;
        }
        catch (const std::runtime_error&)
        {
            std::locale::global(std::locale(std::locale::classic(), new CommaNumbers));
        }
    }
    ~GermanLocale()
    {
        std::locale::global(previous_);
        std::setlocale(LC_ALL, "C");
    }
    bool named() const
    {
        return named_;
    }

private:
    std::locale previous_;
    bool named_ = false;
};

TEST(CString, ConstructionAssignmentAndLength)
{
    const AAX_CString empty;
    EXPECT_EQ(empty.Length(), 0u);
    EXPECT_STREQ(empty.Get(), "");
    EXPECT_EQ(empty.MaxLength(), 4294967294u);

    const AAX_CString fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(fromNull.Length(), 0u);
    EXPECT_STREQ(fromNull.Get(), "");

    const AAX_CString longText(std::string(5000, 'x').c_str());
    EXPECT_EQ(longText.Length(), 5000u);
    EXPECT_EQ(longText.MaxLength(), 4294967294u);

    AAX_CString text("abc");
    text.Set(nullptr);
    EXPECT_STREQ(text.Get(), "");
    text = "def";
    EXPECT_STREQ(text.CString(), "def");
    static_cast<AAX_IString&>(text) = static_cast<const char*>(nullptr);
    EXPECT_EQ(text.Length(), 0u);

    // From and to another implementation of the interface.
    const ForeignString foreign("host text");
    AAX_CString copy(foreign);
    EXPECT_STREQ(copy.Get(), "host text");
    ForeignString target("");
    target = copy;
    EXPECT_STREQ(target.Get(), "host text");
    copy = static_cast<const AAX_IString&>(ForeignString("other"));
    EXPECT_STREQ(copy.Get(), "other");

    // Assignment to itself, through either form.
    auto& sameCopy = copy;
    copy = sameCopy;
    EXPECT_STREQ(copy.Get(), "other");
    static_cast<AAX_IString&>(copy) = static_cast<const AAX_IString&>(copy);
    EXPECT_STREQ(copy.Get(), "other");
    copy = copy.Get();
    EXPECT_STREQ(copy.Get(), "other");

    // Copies are independent; operator[] writes in place.
    AAX_CString a("abc");
    AAX_CString b(a);
    b[1] = 'X';
    EXPECT_STREQ(a.Get(), "abc");
    EXPECT_STREQ(b.Get(), "aXc");
    b.Clear();
    EXPECT_EQ(b.Length(), 0u);
}

TEST(CString, Comparison)
{
    EXPECT_TRUE(AAX_CString("abc") == AAX_CString("abc"));
    EXPECT_FALSE(AAX_CString("abc") == AAX_CString("abd"));
    EXPECT_TRUE(AAX_CString("abc") != AAX_CString("abd"));
    EXPECT_FALSE(AAX_CString("abc") != "abc");
    EXPECT_TRUE(AAX_CString("abc") != "ab");
    EXPECT_FALSE(AAX_CString("") != static_cast<const char*>(nullptr));
    EXPECT_TRUE(AAX_CString("a") != static_cast<const char*>(nullptr));

    // Compared up to the first NUL, as C strings.
    AAX_CString cut("abcd");
    cut[2] = '\0';
    EXPECT_TRUE(cut == AAX_CString("ab"));
    EXPECT_FALSE(cut != "ab");
}

TEST(CString, EraseAndSubString)
{
    AAX_CString text("abcdef");
    EXPECT_STREQ(text.Erase(1, 2).Get(), "adef");
    text = "abcdef";
    EXPECT_STREQ(text.Erase(2, 10).Get(), "ab");
    text = "abcdef";
    EXPECT_STREQ(text.Erase(0, 6).Get(), "");
    text = "abcdef";
    EXPECT_STREQ(text.Erase(1, 1).Erase(1, 1).Get(), "adef"); // chained

    // At or past the end nothing changes.
    text = "abc";
    EXPECT_STREQ(text.Erase(3, 1).Get(), "abc");
    EXPECT_STREQ(text.Erase(10, 2).Get(), "abc");
    EXPECT_STREQ(text.Erase(0xFFFFFFFFu, 0xFFFFFFFFu).Get(), "abc");
    EXPECT_STREQ(text.Erase(1, 0xFFFFFFFFu).Get(), "a");

    const AAX_CString source("abcdef");
    AAX_CString part("zz");
    source.SubString(0, 3, &part);
    EXPECT_STREQ(part.Get(), "abc");
    source.SubString(4, 10, &part);
    EXPECT_STREQ(part.Get(), "ef");
    source.SubString(1, 0xFFFFFFFFu, &part);
    EXPECT_STREQ(part.Get(), "bcdef");
    source.SubString(6, 2, &part);
    EXPECT_STREQ(part.Get(), "");
    part = "zz";
    source.SubString(100, 2, &part);
    EXPECT_STREQ(part.Get(), "");
    source.SubString(0xFFFFFFFFu, 0xFFFFFFFFu, &part);
    EXPECT_STREQ(part.Get(), "");
    source.SubString(0, 3, nullptr); // nowhere to write: nothing happens
    EXPECT_STREQ(source.Get(), "abcdef");

    ForeignString foreign("zz");
    source.SubString(2, 2, &foreign);
    EXPECT_STREQ(foreign.Get(), "cd");
}

TEST(CString, AppendNumberFormatsLikePrintfFixed)
{
    EXPECT_EQ(appended(2.0, 3), "2.000");
    EXPECT_EQ(appended(2.0, 3, "x="), "x=2.000");
    EXPECT_EQ(appended(1.23456, 3), "1.235");
    EXPECT_EQ(appended(1234.5, 3), "1234.500");
    EXPECT_EQ(appended(-12.0, 3), "-12.000");
    // Negative values keep their sign when they round to zero, and so does -0.
    EXPECT_EQ(appended(-0.0001, 3), "-0.000");
    EXPECT_EQ(appended(-0.0, 3), "-0.000");
    EXPECT_EQ(appended(0.0, 0), "0");

    // The exact binary value is rounded; exact ties go to the even digit.
    EXPECT_EQ(appended(0.0625, 3), "0.062"); // exactly 0.0625: tie, 2 is even
    EXPECT_EQ(appended(0.1875, 3), "0.188"); // exactly 0.1875: tie, 8 is even
    EXPECT_EQ(appended(2.5, 0), "2");
    EXPECT_EQ(appended(3.5, 0), "4");
    EXPECT_EQ(appended(-2.5, 0), "-2");
    EXPECT_EQ(appended(0.125, 2), "0.12");
    EXPECT_EQ(appended(0.375, 2), "0.38");
    // Decimal ties that are not binary ties: 1.0005 is stored a little below,
    // 0.0005 a little above.
    EXPECT_EQ(appended(1.0005, 3), "1.000");
    EXPECT_EQ(appended(0.0005, 3), "0.001");
    EXPECT_EQ(appended(static_cast<double>(0.0005f), 3), "0.001");
    EXPECT_EQ(appended(0.1, 20), "0.10000000000000000555");
    // A negative precision is the default of six digits.
    EXPECT_EQ(appended(1.5, -1), "1.500000");

    EXPECT_EQ(appended(std::numeric_limits<double>::infinity(), 3), "inf");
    EXPECT_EQ(appended(-std::numeric_limits<double>::infinity(), 3), "-inf");
    EXPECT_EQ(appended(std::numeric_limits<double>::quiet_NaN(), 3), "nan");

    // Texts far longer than any small buffer.
    const std::string huge = appended(1e308, 3);
    EXPECT_EQ(huge.size(), 309u + 4u);
    EXPECT_EQ(huge.substr(0, 20), "10000000000000000109");
    EXPECT_EQ(huge.substr(huge.size() - 4), ".000");
    EXPECT_EQ(huge, printfFixed(1e308, 3));
    EXPECT_EQ(appended(-DBL_MAX, 3), printfFixed(-DBL_MAX, 3));
    EXPECT_EQ(appended(DBL_TRUE_MIN, 1100), printfFixed(DBL_TRUE_MIN, 1100));

    for (const double value : {0.5, 0.3333333333333333, 1e-7, 123456789.987654321, -4.4445, 1e21})
        for (const int precision : {0, 1, 3, 7, 17})
            EXPECT_EQ(appended(value, precision), printfFixed(value, precision)) << value << " " << precision;
}

TEST(CString, ToDoubleReadsALeadingNumber)
{
    double value = 7.0;
    EXPECT_FALSE(AAX_CString("").ToDouble(&value));
    EXPECT_EQ(value, 0.0);
    value = 7.0;
    EXPECT_FALSE(AAX_CString("abc").ToDouble(&value));
    EXPECT_EQ(value, 0.0);
    value = 7.0;
    EXPECT_FALSE(AAX_CString("   ").ToDouble(&value));
    EXPECT_EQ(value, 0.0);

    EXPECT_TRUE(AAX_CString(" 42").ToDouble(&value));
    EXPECT_EQ(value, 42.0);
    EXPECT_TRUE(AAX_CString("0.250").ToDouble(&value));
    EXPECT_EQ(value, 0.25);
    EXPECT_TRUE(AAX_CString("\t-2.5e-1").ToDouble(&value));
    EXPECT_EQ(value, -0.25);
    EXPECT_TRUE(AAX_CString("+3").ToDouble(&value));
    EXPECT_EQ(value, 3.0);

    // Trailing text after a number is not read.
    EXPECT_TRUE(AAX_CString("12abc").ToDouble(&value));
    EXPECT_EQ(value, 12.0);
    EXPECT_TRUE(AAX_CString("0.5 dB").ToDouble(&value));
    EXPECT_EQ(value, 0.5);
    EXPECT_TRUE(AAX_CString("1,5").ToDouble(&value));
    EXPECT_EQ(value, 1.0);

    // No infinities or NaNs, and nothing beyond the range of a double.
    for (const char* text : {"inf", "-inf", "infinity", "nan", "1e999", "-1e999"})
    {
        value = 7.0;
        EXPECT_FALSE(AAX_CString(text).ToDouble(&value)) << text;
        EXPECT_EQ(value, 0.0) << text;
    }

    EXPECT_FALSE(AAX_CString("1").ToDouble(nullptr));
}

TEST(CString, NumbersIgnoreTheProcessLocale)
{
    const GermanLocale german;
    if (german.named())
    {
        // The process really formats with a decimal comma now.
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
        EXPECT_STREQ(buffer, "1,5");
    }
    else
    {
        std::cout << "[ NOTE     ] de_DE.UTF-8 missing; only the C++ global locale is switched\n";
    }

    EXPECT_EQ(appended(1234.5, 3), "1234.500");
    EXPECT_EQ(appended(-0.25, 3), "-0.250");

    double value = 7.0;
    EXPECT_TRUE(AAX_CString("0.250").ToDouble(&value));
    EXPECT_EQ(value, 0.25);
    EXPECT_TRUE(AAX_CString("1.234").ToDouble(&value)); // not a grouped 1234
    EXPECT_EQ(value, 1.234);
    EXPECT_TRUE(AAX_CString("0,25").ToDouble(&value)); // the comma ends the number
    EXPECT_EQ(value, 0.0);
}

} // namespace

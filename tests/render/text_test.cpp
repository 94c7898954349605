// The text helpers: four-character codes, hex and numbers, each both ways where
// it goes both ways.
#include "tambrix/text/FourChar.h"
#include "tambrix/text/Hex.h"
#include "tambrix/text/Numbers.h"
#include "tambrix/text/Words.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

using namespace tambrix::text;

TEST(FourChar, CodesAndTextsBothWays)
{
    EXPECT_EQ(fourCharCode("elck"), 0x656C636Bu);
    EXPECT_EQ(fourCharCode("\xff\x01 A"), 0xFF012041u);
    EXPECT_FALSE(fourCharCode("abc").has_value());
    EXPECT_FALSE(fourCharCode("abcde").has_value());
    EXPECT_EQ(fourCharText(0x6A756365u), "juce");
    EXPECT_EQ(fourCharText(0xFF012041u), "?? A"); // outside printable ASCII: '?'
    EXPECT_EQ(fourCharText(0x7E7F2020u), "~?  ");
}

TEST(Words, OfALineAndAsAMessageShowsThem)
{
    using W = std::vector<std::string_view>;
    EXPECT_EQ(lineWords("  0 play\t120  -2 ", 5), (W{"0", "play", "120", "-2"}));
    EXPECT_EQ(lineWords("0 stop# a comment", 5), (W{"0", "stop"}));
    EXPECT_EQ(lineWords("param get 0 1#c", 3), (W{"param", "get", "0"})); // at most that many
    EXPECT_EQ(lineWords("# only a comment", 5), W{});
    EXPECT_EQ(joinedWords("param parse 0 \t1/4 \v x #c", 3), "1/4 x");
    EXPECT_EQ(printable("plain"), "plain");
    EXPECT_EQ(printable("a\\x00\\"), "a\\\\x00\\\\"); // a backslash cannot pass for an escape
    EXPECT_EQ(printable(std::string("a\0b\x1B[2J\x7F", 8)), "a\\x00b\\x1B[2J\\x7F");
    EXPECT_EQ(printable(std::string(64, 'x')), std::string(64, 'x'));
    EXPECT_EQ(printable(std::string(10000000, 'x')), std::string(64, 'x') + "\u2026");
    EXPECT_EQ(printable("\u00e9\u00e9\u00e9", 2), "\u00e9\u00e9\u2026"); // a character is not cut in two
    // Bytes that are not UTF-8 count one each; C1 controls (an 8-bit CSI) are escaped too.
    EXPECT_EQ(printable(std::string(3000, '\x80'), 3), "\\x80\\x80\\x80\u2026");
    EXPECT_EQ(printable("a\xC2\x9B"
                        "31m\xC2\xA0\xE2\x82"),
              "a\\xC2\\x9B31m\u00a0\\xE2\\x82");
    EXPECT_EQ(printable("\xE0\x80\x9B\xED\xA0\x80\xF4\x90\x80\x80\xF4\x8F\xBF\xBF"),
              "\\xE0\\x80\\x9B\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80\xF4\x8F\xBF\xBF"); // overlong, surrogate,
                                                                                     // too large
    EXPECT_EQ(printable("\xED\x9F\xBF\xED\xA0\x80"), "\xED\x9F\xBF\\xED\\xA0\\x80"); // U+D7FF, a surrogate
    // Invisible characters (a byte-order mark, bidirectional controls, a line separator, a soft
    // hyphen, a zero-width space, a tag) change a line without being seen; a visible one stays.
    EXPECT_EQ(printable("\xEF\xBB\xBF"
                        "a\xE2\x80\xAE"
                        "b\xE2\x81\xA6"
                        "c\xE2\x80\xA8"
                        "d\xC2\xAD\xE2\x80\x8B\xF3\xA0\x80\x81\xE2\x80\xA7"),
              "\\xEF\\xBB\\xBFa\\xE2\\x80\\xAEb\\xE2\\x81\\xA6c\\xE2\\x80\\xA8d\\xC2\\xAD\\xE2\\x80\\x8B\\xF3"
              "\\xA0\\x80\\x81"
              "\xE2\x80\xA7");
    // Every format character is, as the Unicode data has them (U+1D173, U+1D17A, U+13430, U+13438,
    // U+0600, U+0605, U+110BD); the neighbours that are none (U+1D17B, U+0606, U+110BE) are not.
    EXPECT_EQ(
        printable("\xF0\x9D\x85\xB3\xF0\x9D\x85\xBA\xF0\x9D\x85\xBB\xF0\x93\x90\xB0\xF0\x93\x90\xB8\xD8"
                  "\x80\xD8\x85\xD8\x86\xF0\x91\x82\xBD\xF0\x91\x82\xBE"),
        "\\xF0\\x9D\\x85\\xB3\\xF0\\x9D\\x85\\xBA\xF0\x9D\x85\xBB\\xF0\\x93\\x90\\xB0\\xF0\\x93\\x90\\xB8"
        "\\xD8\\x80\\xD8\\x85\xD8\x86\\xF0\\x91\\x82\\xBD\xF0\x91\x82\xBE");
}

TEST(Hex, NumbersBytesAndBack)
{
    EXPECT_EQ(hexNumber(0x20300C96BF5u, 16), "0x0000020300C96BF5");
    EXPECT_EQ(hexNumber(0x10007u, 8), "0x00010007");
    EXPECT_EQ(hexNumber(0x123456789u, 8), "0x123456789"); // never cut short
    const std::uint8_t bytes[] = {0x00, 0x0A, 0xFF, 0x3C};
    EXPECT_EQ(hexBytes(bytes, 4), "000aff3c");
    EXPECT_EQ(hexBytes(bytes, 4, true, " "), "00 0A FF 3C");
    EXPECT_EQ(hexBytes(bytes, 0), "");
    EXPECT_EQ(bytesFromHex("000aFF3c"), std::vector<std::uint8_t>(bytes, bytes + 4));
    EXPECT_EQ(bytesFromHex(""), std::vector<std::uint8_t>{});
    for (const char* bad : {"0", "abc", "0g", "g0", " 0", "0x00"})
        EXPECT_FALSE(bytesFromHex(bad).has_value()) << bad;
    EXPECT_EQ(hexDigit('7'), 7);
    EXPECT_EQ(hexDigit('f'), 15);
    EXPECT_EQ(hexDigit('F'), 15);
    EXPECT_EQ(hexDigit('G'), -1);
}

TEST(Numbers, RealNumbersAndWhatTheyReadAs)
{
    struct Row
    {
        const char* text;
        NumberRead read;
        double value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"0.25", NumberRead::ok, 0.25},        {"-1e3", NumberRead::ok, -1000.0},
        {"0x10", NumberRead::ok, 16.0},        {"inf", NumberRead::ok, inf},
        {"-inf", NumberRead::ok, -inf},        {"1e999", NumberRead::overflow, 0.0},
        {"-1e999", NumberRead::overflow, 0.0}, {"1e-320", NumberRead::underflow, 1e-320},
        {"", NumberRead::malformed, 0.0},      {"1.5x", NumberRead::malformed, 0.0},
        {"fast", NumberRead::malformed, 0.0},  {"1 ", NumberRead::malformed, 0.0},
        {" 1", NumberRead::malformed, 0.0},    {"0x1p-1074", NumberRead::underflow, 4.9e-324},
    };
    for (const Row& row : rows)
    {
        double value = 0.0;
        EXPECT_EQ(readReal(row.text, value), row.read) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
    double nan = 0.0;
    EXPECT_EQ(readReal("nan", nan), NumberRead::ok);
    EXPECT_TRUE(std::isnan(nan));

    // As a message writes them: shortest, whole numbers below a million in full.
    for (const auto& [number, text] :
         std::vector<std::pair<double, std::string>>{{86400.0, "86400"},
                                                     {768000.0, "768000"},
                                                     {1e9, "1e9"},
                                                     {-1e9, "-1e9"},
                                                     {0.2, "0.2"},
                                                     {1.5e-5, "1.5e-5"},
                                                     {0.1 + 0.2, "0.30000000000000004"},
                                                     {0.0, "0"}})
        EXPECT_EQ(numberText(number), text);
}

TEST(Numbers, WholeNumbersTakeASignAndDigitsOnly)
{
    struct Row
    {
        const char* text;
        NumberRead read;
        std::int64_t value;
    };
    const Row rows[] = {
        {"48000", NumberRead::ok, 48000},
        {"-5", NumberRead::ok, -5},
        {"+5", NumberRead::ok, 5},
        {"-9223372036854775808", NumberRead::ok, std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", NumberRead::overflow, 0},
        {"", NumberRead::malformed, 0},
        {"-", NumberRead::malformed, 0},
        {"1.5", NumberRead::malformed, 0},
        {"1e3", NumberRead::malformed, 0},
        {" 5", NumberRead::malformed, 0},
        {"0x10", NumberRead::malformed, 0},
    };
    for (const Row& row : rows)
    {
        std::int64_t value = 0;
        EXPECT_EQ(readWhole(row.text, value), row.read) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
}

} // namespace

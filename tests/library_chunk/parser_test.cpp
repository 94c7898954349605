// The chunk data parser on its own: payload bytes written and read, the name search,
// the typed lookups and the writer's refusals.

#include "chunk_records.h"
#include "library_unknown.h"

#include "AAX_CChunkDataParser.h"
#include "AAX_CHostServices.h"
#include "AAX_Errors.h"

#include "aaxhost/Host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using tambrix::test::Bytes;
using tambrix::test::DeclaredChunk;
using tambrix::test::hex;
using tambrix::test::hexText;
using tambrix::test::kElck;
using tambrix::test::kJuce;
using tambrix::test::PayloadBuilder;

namespace
{

// Exposes the parser's state for the checks.
class Parser : public AAX_CChunkDataParser
{
public:
    int32_t lastHit() const { return mLastFoundIndex; }
    int32_t typeAt(int32_t i) const { return mDataValues.at(static_cast<std::size_t>(i)).mDataType; }
    std::string nameAt(int32_t i) const
    {
        return mDataValues.at(static_cast<std::size_t>(i)).mDataName.Get();
    }
};

// Writes the parser's payload into a record of exactly its size; returns the payload bytes.
Bytes Write(AAX_CChunkDataParser& parser, int32_t* result = nullptr)
{
    const int32_t size = parser.GetChunkDataSize();
    DeclaredChunk record(size, {});
    record.get()->fSize = 0;
    const int32_t r = parser.GetChunkData(record.get());
    if (result)
        *result = r;
    EXPECT_EQ(r == 0 ? size : 0, record.get()->fSize);
    return record.payload(static_cast<std::size_t>(size));
}

class ServicesScope
{
public:
    explicit ServicesScope(aaxhost::Host& host)
    {
        AAX_CHostServices::Set(tambrix::test::asLibrary(host.unknownInterface()));
    }
    ~ServicesScope() { AAX_CHostServices::Set(nullptr); }
};

} // namespace

TEST(ChunkParserWrite, EmptyParserWritesTheMarkerAndReadsBackNothing)
{
    Parser parser;
    EXPECT_EQ(4, parser.GetChunkDataSize());
    const Bytes payload = Write(parser);
    EXPECT_EQ("01 01 01 01", hexText(payload));

    DeclaredChunk record(payload);
    parser.AddInt32("left over", 1);
    parser.LoadChunk(record.get());
    EXPECT_EQ(0, parser.NumEntries());
}

TEST(ChunkParserWrite, WorkedExamplesAreByteExact)
{
    Parser parser;
    parser.AddDouble("0", static_cast<double>(0.2f));
    EXPECT_EQ(16, parser.GetChunkDataSize());
    EXPECT_EQ("01 01 01 01 64 5F 30 00 3F C9 99 99 A0 00 00 00", hexText(Write(parser)));

    parser.Clear();
    parser.AddDouble("0", 0.5);
    EXPECT_EQ("01 01 01 01 64 5F 30 00 3F E0 00 00 00 00 00 00", hexText(Write(parser)));

    parser.Clear();
    parser.AddInt32("Mode", -2);
    parser.AddString("Note", AAX_CString("On"));
    EXPECT_EQ(28, parser.GetChunkDataSize());
    EXPECT_EQ("01 01 01 01 6C 5F 4D 6F 64 65 00 00 FF FF FF FE 72 5F 4E 6F 74 65 00 00 4F 6E 00 00",
              hexText(Write(parser)));
}

TEST(ChunkParserWrite, OnlyTheSizeFieldOfTheHeaderIsWritten)
{
    Parser parser;
    parser.AddInt32("Count", 3);
    DeclaredChunk record(parser.GetChunkDataSize(), {}, kJuce, 42);
    record.get()->fSize = 12345;
    std::memset(record.get()->fName, 0xAB, sizeof record.get()->fName);
    Bytes expected = record.header();
    ASSERT_EQ(0, parser.GetChunkData(record.get()));
    const int32_t size = 4 + 8 + 4;
    std::memcpy(expected.data(), &size, 4);
    EXPECT_EQ(expected, record.header());
}

TEST(ChunkParserWrite, EveryEntryTypeMatchesHandWrittenBytesAndReadsBack)
{
    // Names and strings of every length modulo 4, so every padding length occurs.
    Parser parser;
    parser.AddDouble("a", -1.5);
    parser.AddInt32("bb", std::numeric_limits<int32_t>::min());
    parser.AddString("ccc", AAX_CString("xyz"));
    parser.AddString("dddd", AAX_CString(""));
    parser.AddInt32("eeeee", 0x01020304);
    parser.AddString("f", AAX_CString("four"));
    parser.AddDouble("gg", std::nextafter(0.1, 1.0));
    parser.AddString("hh", AAX_CString("12345"));
    parser.AddInt32("", 5);

    const Bytes expected = PayloadBuilder()
                               .marker()
                               .d("a", -1.5)
                               .l("bb", std::numeric_limits<int32_t>::min())
                               .r("ccc", "xyz")
                               .r("dddd", "")
                               .l("eeeee", 0x01020304)
                               .r("f", "four")
                               .d("gg", std::nextafter(0.1, 1.0))
                               .r("hh", "12345")
                               .l("", 5)
                               .bytes();
    EXPECT_EQ(static_cast<int32_t>(expected.size()), parser.GetChunkDataSize());
    EXPECT_EQ(hexText(expected), hexText(Write(parser)));
    // Spot checks of the hand-written form: -1.5 is BF F8 00..; "xyz" and its zero fill 4 bytes.
    EXPECT_EQ("01 01 01 01 64 5F 61 00 BF F8 00 00 00 00 00 00",
              hexText(Bytes(expected.begin(), expected.begin() + 16)));

    DeclaredChunk record(expected);
    Parser reader;
    reader.LoadChunk(record.get());
    ASSERT_EQ(9, reader.NumEntries());
    double d = 0;
    int32_t i = 0;
    AAX_CString s("untouched");
    EXPECT_TRUE(reader.FindDouble("a", &d));
    EXPECT_EQ(-1.5, d);
    EXPECT_TRUE(reader.FindInt32("bb", &i));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), i);
    EXPECT_TRUE(reader.FindString("ccc", &s));
    EXPECT_STREQ("xyz", s.Get());
    EXPECT_TRUE(reader.FindString("dddd", &s));
    EXPECT_STREQ("", s.Get());
    EXPECT_TRUE(reader.FindInt32("eeeee", &i));
    EXPECT_EQ(0x01020304, i);
    EXPECT_TRUE(reader.FindString("f", &s));
    EXPECT_STREQ("four", s.Get());
    EXPECT_TRUE(reader.FindDouble("gg", &d));
    EXPECT_EQ(std::nextafter(0.1, 1.0), d); // the same 64-bit pattern
    EXPECT_TRUE(reader.FindString("hh", &s));
    EXPECT_STREQ("12345", s.Get());
    EXPECT_TRUE(reader.FindInt32("", &i));
    EXPECT_EQ(5, i);

    // Written again, the list read back gives the same payload.
    EXPECT_EQ(hexText(expected), hexText(Write(reader)));
}

TEST(ChunkParserRead, FloatAndShortEntriesAreKeptButNeverFound)
{
    const Bytes payload = PayloadBuilder().marker().f("Gain", 0.25f).s("Steps", 0xBEEF).l("Count", 2).bytes();
    DeclaredChunk record(payload);
    Parser parser;
    parser.LoadChunk(record.get());
    ASSERT_EQ(3, parser.NumEntries());
    EXPECT_EQ(AAX_CChunkDataParser::eDataType_Float, parser.typeAt(0));
    EXPECT_EQ(AAX_CChunkDataParser::eDataType_Int16, parser.typeAt(1));

    double d = 7.0;
    int32_t i = 7;
    AAX_CString s("seven");
    EXPECT_FALSE(parser.FindDouble("Gain", &d));
    EXPECT_FALSE(parser.FindInt32("Steps", &i));
    EXPECT_FALSE(parser.FindString("Steps", &s));
    EXPECT_EQ(7.0, d);
    EXPECT_EQ(7, i);
    EXPECT_STREQ("seven", s.Get());
    EXPECT_TRUE(parser.FindInt32("Count", &i));
    EXPECT_EQ(2, i);

    // Written back with the same tags and widths ('s': 16 bits and two zero bytes).
    EXPECT_EQ(hexText(payload), hexText(Write(parser)));
    EXPECT_NE(std::string::npos, hexText(payload).find("BE EF 00 00"));
}

TEST(ChunkParserRead, VersionIsTakenEvenWhenNothingIsRead)
{
    Parser parser;
    EXPECT_EQ(-1, parser.GetChunkVersion());
    for (int32_t size : {3, 4})
    {
        DeclaredChunk record(size, {1, 1, 1, 1}, kElck, 17);
        parser.LoadChunk(record.get());
        EXPECT_EQ(17, parser.GetChunkVersion());
        EXPECT_EQ(0, parser.NumEntries());
    }
    DeclaredChunk wrongMarker(PayloadBuilder().raw({1, 1, 0, 1}).l("Count", 2).bytes());
    wrongMarker.get()->fVersion = 3;
    parser.LoadChunk(wrongMarker.get());
    EXPECT_EQ(3, parser.GetChunkVersion());
    EXPECT_EQ(0, parser.NumEntries());

    parser.Clear();
    EXPECT_EQ(-1, parser.GetChunkVersion());
}

TEST(ChunkParserRead, UnknownTagGivesAnUntypedEntryAndTheWalkGoesOnAfterItsName)
{
    // 'x' has no value width: the next entry starts right after the padded name.
    const Bytes payload = PayloadBuilder().marker().name('x', "Odd").l("Count", 4).bytes();
    DeclaredChunk record(payload);
    Parser parser;
    parser.LoadChunk(record.get());
    ASSERT_EQ(2, parser.NumEntries());
    EXPECT_EQ(AAX_CChunkDataParser::eDataType_None, parser.typeAt(0));
    EXPECT_EQ("Odd", parser.nameAt(0));
    int32_t i = 0;
    EXPECT_FALSE(parser.FindInt32("Odd", &i));
    EXPECT_TRUE(parser.FindInt32("Count", &i));
    EXPECT_EQ(4, i);
}

TEST(ChunkParserRead, TheSecondByteIsSkippedWhateverItHolds)
{
    Parser parser;
    DeclaredChunk record(PayloadBuilder().marker().text("l-Abc").raw({0, 0, 0}).raw({0, 0, 0, 9}).bytes());
    parser.LoadChunk(record.get());
    int32_t i = 0;
    EXPECT_TRUE(parser.FindInt32("Abc", &i));
    EXPECT_EQ(9, i);
}

TEST(ChunkParserRead, LongestNameThatFitsTheLookahead)
{
    const std::string longest(252, 'n');
    Parser parser;
    parser.AddInt32(longest.c_str(), 1);
    parser.AddInt32("next", 2);
    const Bytes payload = Write(parser);
    DeclaredChunk record(payload);
    Parser reader;
    reader.LoadChunk(record.get());
    ASSERT_EQ(2, reader.NumEntries());
    EXPECT_EQ(longest, reader.nameAt(0));
    int32_t i = 0;
    EXPECT_TRUE(reader.FindInt32("next", &i));
    EXPECT_EQ(2, i);
}

TEST(ChunkParserFind, DuplicatesAlternateInCircularOrder)
{
    Parser parser;
    parser.AddInt32("A", 1);
    parser.AddInt32("B", 2);
    parser.AddInt32("A", 3);
    parser.AddInt32("C", 4);

    EXPECT_EQ(0, parser.FindName(AAX_CString("A")));
    EXPECT_EQ(2, parser.FindName(AAX_CString("A")));
    EXPECT_EQ(0, parser.FindName(AAX_CString("A")));
    int32_t i = 0;
    EXPECT_TRUE(parser.FindInt32("A", &i));
    EXPECT_EQ(3, i);
    EXPECT_TRUE(parser.FindInt32("A", &i));
    EXPECT_EQ(1, i);

    // A miss leaves the last hit where it was.
    EXPECT_EQ(0, parser.lastHit());
    EXPECT_EQ(-1, parser.FindName(AAX_CString("Z")));
    EXPECT_EQ(0, parser.lastHit());
    // Case matters.
    EXPECT_EQ(-1, parser.FindName(AAX_CString("a")));

    // A hit on the final entry: the next search starts over, and a miss leaves -1.
    EXPECT_EQ(3, parser.FindName(AAX_CString("C")));
    EXPECT_EQ(-1, parser.FindName(AAX_CString("Z")));
    EXPECT_EQ(-1, parser.lastHit());
    EXPECT_EQ(1, parser.FindName(AAX_CString("B")));

    // In entry order every lookup is found right after the previous one.
    EXPECT_EQ(2, parser.FindName(AAX_CString("A")));
    EXPECT_EQ(3, parser.FindName(AAX_CString("C")));

    Parser empty;
    EXPECT_EQ(-1, empty.FindName(AAX_CString("A")));
    EXPECT_EQ(-1, empty.lastHit());
}

TEST(ChunkParserFind, WrongTypeFailsEvenWhenALaterEntryOfTheNameFits)
{
    Parser parser;
    parser.AddInt32("X", 5);
    parser.AddDouble("X", 2.5);
    double d = -9.0;
    EXPECT_FALSE(parser.FindDouble("X", &d)); // finds the 'l' entry first
    EXPECT_EQ(-9.0, d);
    EXPECT_TRUE(parser.FindDouble("X", &d)); // resumes after it: the 'd' entry
    EXPECT_EQ(2.5, d);

    AAX_CString s("keep");
    EXPECT_FALSE(parser.FindString("X", &s));
    EXPECT_STREQ("keep", s.Get());
}

TEST(ChunkParserFind, NullArgumentsFindNothing)
{
    Parser parser;
    parser.AddInt32("", 1);
    int32_t i = 0;
    EXPECT_FALSE(parser.FindInt32(nullptr, &i));
    EXPECT_FALSE(parser.FindInt32("", nullptr));
    EXPECT_FALSE(parser.FindDouble("", nullptr));
    EXPECT_FALSE(parser.FindString("", nullptr));
    EXPECT_TRUE(parser.FindInt32("", &i));
}

TEST(ChunkParserWrite, NullRecordIsRefused)
{
    Parser parser;
    parser.AddInt32("A", 1);
    EXPECT_EQ(AAX_ERROR_NULL_ARGUMENT, parser.GetChunkData(nullptr));
    parser.LoadChunk(nullptr);
    EXPECT_EQ(0, parser.NumEntries());
    EXPECT_EQ(-1, parser.GetChunkVersion());
}

TEST(ChunkParserWrite, EntriesThatCannotBeStoredAreRefusedWithATrace)
{
    aaxhost::Host host;
    ServicesScope services(host);

    const auto refused = [&](AAX_CChunkDataParser& parser, const std::string& why)
    {
        host.services().clear();
        const int32_t size = parser.GetChunkDataSize();
        DeclaredChunk record(size, {});
        record.get()->fSize = 777;
        EXPECT_EQ(-333, parser.GetChunkData(record.get())) << why;
        EXPECT_EQ(777, record.get()->fSize) << why;
        const auto traces = host.services().traces();
        ASSERT_EQ(1u, traces.size()) << why;
        EXPECT_EQ(0x08000000, traces[0].priority);
        EXPECT_EQ(0u, traces[0].message.rfind("AAX_CChunkDataParser::GetChunkData ERROR: aborting: ", 0))
            << traces[0].message;
        // No untagged entry reaches the payload: whatever was written is tagged.
        const Bytes payload = record.payload(static_cast<std::size_t>(size));
        for (std::size_t p = 4; p + 1 < payload.size() && payload[p] != 0; p += 4)
            EXPECT_NE(0, payload[p]);
    };

    // An entry read under an unknown tag has no type to write.
    Parser untyped;
    DeclaredChunk source(PayloadBuilder().marker().l("A", 1).name('x', "B").bytes());
    untyped.LoadChunk(source.get());
    ASSERT_EQ(2, untyped.NumEntries());
    refused(untyped, "untyped entry");

    // A name that the reader could not read back whole.
    Parser longName;
    longName.AddInt32(std::string(253, 'n').c_str(), 1);
    refused(longName, "name of 253 bytes");

    // A string holding a zero byte would read back shorter.
    Parser zeroInString;
    AAX_CString text("abc");
    text[1] = '\0';
    zeroInString.AddString("S", text);
    refused(zeroInString, "zero inside a string");
}

TEST(ChunkParserRead, MalformedPayloadsKeepOnlyWhatIsComplete)
{
    for (const auto& c : tambrix::test::malformedCases())
    {
        DeclaredChunk record(c.declaredSize, c.payload, kElck, 11);
        Parser parser;
        parser.AddInt32("stale", 1);
        parser.LoadChunk(record.get());
        EXPECT_EQ(c.expectedEntries, parser.NumEntries()) << c.name;
        EXPECT_EQ(11, parser.GetChunkVersion()) << c.name;
        int32_t i = 0;
        EXPECT_FALSE(parser.FindInt32("stale", &i)) << c.name;
    }
}

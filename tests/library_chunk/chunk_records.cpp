#include "chunk_records.h"

#include "tambrix/text/Hex.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace tambrix::test
{

namespace
{
constexpr std::size_t kHeaderSize = kAAX_PlugInChunkHeaderSize;
constexpr std::size_t kMapAbove = std::size_t{64} << 20;
} // namespace

DeclaredChunk::DeclaredChunk(int32_t declaredSize, const Bytes& payload, AAX_CTypeID chunkId, int32_t version)
{
    const std::size_t payloadSize = declaredSize > 0 ? static_cast<std::size_t>(declaredSize) : 0;
    allocated_ = kHeaderSize + payloadSize;
    if (allocated_ > kMapAbove)
    {
        void* p = ::mmap(nullptr, allocated_, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        memory_ = static_cast<unsigned char*>(p);
        mapped_ = true;
    }
    else
    {
        memory_ = static_cast<unsigned char*>(std::malloc(allocated_));
        if (!memory_)
            throw std::bad_alloc();
        std::memset(memory_, 0, allocated_);
    }
    AAX_SPlugInChunk* chunk = get();
    chunk->fSize = declaredSize;
    chunk->fVersion = version;
    chunk->fManID = 0x4A656C76; // host-filled fields: arbitrary but recognisable
    chunk->fProductID = 0x74627278;
    chunk->fPlugInID = 0x11223344;
    chunk->fChunkID = chunkId;
    if (!payload.empty() && payloadSize > 0)
        std::memcpy(memory_ + kHeaderSize, payload.data(), std::min(payload.size(), payloadSize));
}

DeclaredChunk::~DeclaredChunk()
{
    if (mapped_)
        ::munmap(memory_, allocated_);
    else
        std::free(memory_);
}

Bytes DeclaredChunk::payload(std::size_t count) const
{
    count = std::min(count, allocated_ - kHeaderSize);
    return Bytes(memory_ + kHeaderSize, memory_ + kHeaderSize + count);
}

Bytes DeclaredChunk::header() const
{
    return Bytes(memory_, memory_ + kHeaderSize);
}

PayloadBuilder& PayloadBuilder::marker()
{
    return raw({1, 1, 1, 1});
}

PayloadBuilder& PayloadBuilder::raw(const Bytes& bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

PayloadBuilder& PayloadBuilder::text(const std::string& text)
{
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

void PayloadBuilder::pad()
{
    while (bytes_.size() % 4 != 0)
        bytes_.push_back(0);
}

PayloadBuilder& PayloadBuilder::name(char tag, const std::string& name)
{
    bytes_.push_back(static_cast<uint8_t>(tag));
    bytes_.push_back('_');
    text(name);
    bytes_.push_back(0);
    pad();
    return *this;
}

PayloadBuilder& PayloadBuilder::f(const std::string& entryName, float value)
{
    name('f', entryName);
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return raw({uint8_t(bits >> 24), uint8_t(bits >> 16), uint8_t(bits >> 8), uint8_t(bits)});
}

PayloadBuilder& PayloadBuilder::l(const std::string& entryName, int32_t value)
{
    name('l', entryName);
    const auto bits = static_cast<uint32_t>(value);
    return raw({uint8_t(bits >> 24), uint8_t(bits >> 16), uint8_t(bits >> 8), uint8_t(bits)});
}

PayloadBuilder& PayloadBuilder::d(const std::string& entryName, double value)
{
    name('d', entryName);
    uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes_.push_back(uint8_t(bits >> shift));
    return *this;
}

PayloadBuilder& PayloadBuilder::s(const std::string& entryName, uint16_t value)
{
    name('s', entryName);
    return raw({uint8_t(value >> 8), uint8_t(value), 0, 0});
}

PayloadBuilder& PayloadBuilder::r(const std::string& entryName, const std::string& value)
{
    name('r', entryName);
    text(value);
    bytes_.push_back(0);
    pad();
    return *this;
}

PayloadBuilder& PayloadBuilder::cut(std::size_t count)
{
    bytes_.resize(bytes_.size() - std::min(count, bytes_.size()));
    return *this;
}

Bytes hex(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == ','; }),
               text.end());
    return tambrix::text::bytesFromHex(text).value();
}

std::string hexText(const Bytes& bytes)
{
    return tambrix::text::hexBytes(bytes.data(), bytes.size(), true, " ");
}

std::vector<MalformedCase> malformedCases()
{
    const auto sized = [](const std::string& name, const Bytes& bytes, int32_t entries)
    {
        return MalformedCase{name, static_cast<int32_t>(bytes.size()), bytes, entries};
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Bytes good = PayloadBuilder().marker().d("Gain", 0.75).l("Count", 9).bytes();

    std::vector<MalformedCase> cases;
    cases.push_back(sized("empty payload", {}, 0));
    cases.push_back(sized("three marker bytes", {1, 1, 1}, 0));
    cases.push_back(sized("marker only", {1, 1, 1, 1}, 0));
    cases.push_back(sized("wrong marker", PayloadBuilder().raw({1, 1, 1, 2}).d("Gain", 0.75).bytes(), 0));
    cases.push_back(sized("no marker", PayloadBuilder().d("Gain", 0.75).d("Freq", 2.0).bytes(), 0));
    cases.push_back({"valid entries behind a size of 4", 4, good, 0});
    cases.push_back({"size -1", -1, good, 0});
    cases.push_back({"size -16", -16, good, 0});
    cases.push_back({"size INT32_MIN", std::numeric_limits<int32_t>::min(), good, 0});
    cases.push_back(
        sized("double cut to 5 bytes", PayloadBuilder().marker().d("Gain", 0.75).cut(3).bytes(), 0));
    cases.push_back(
        sized("double cut to 7 bytes", PayloadBuilder().marker().d("Freq", 2.0).cut(1).bytes(), 0));
    cases.push_back(sized("int32 cut to 3 bytes", PayloadBuilder().marker().l("Count", 7).cut(1).bytes(), 0));
    cases.push_back(sized("bool cut to 1 byte", PayloadBuilder().marker().l("On", 1).cut(3).bytes(), 0));
    cases.push_back(
        sized("float cut to 2 bytes", PayloadBuilder().marker().f("Gain", 0.5f).cut(2).bytes(), 0));
    cases.push_back(sized("short cut to 1 byte", PayloadBuilder().marker().s("Count", 7).cut(3).bytes(), 0));
    cases.push_back(
        sized("value start past the end", PayloadBuilder().marker().text("d_Gain").raw({0}).bytes(), 0));
    cases.push_back(sized("name without its zero", PayloadBuilder().marker().text("d_Gai").bytes(), 0));
    cases.push_back(sized(
        "name without a zero in 255 bytes",
        PayloadBuilder().marker().text("d_Gain").text(std::string(300, 'G')).raw(Bytes(8, 0)).bytes(), 0));
    cases.push_back(sized("string without its zero",
                          PayloadBuilder().marker().name('r', "Label").text("abc").bytes(), 0));
    cases.push_back(
        sized("string start at the end", PayloadBuilder().marker().name('r', "Label").bytes(), 0));
    cases.push_back(sized("valid entry, then a cut one",
                          PayloadBuilder().marker().d("Other", 2.0).l("Count", 7).cut(2).bytes(), 1));
    cases.push_back(sized("NaN for the float", PayloadBuilder().marker().d("Gain", nan).bytes(), 1));
    cases.push_back(sized("infinity for the float", PayloadBuilder().marker().d("Gain", inf).bytes(), 1));
    cases.push_back(sized("beyond the float range", PayloadBuilder().marker().d("Gain", 1e300).bytes(), 1));
    cases.push_back(
        sized("negative beyond the float range", PayloadBuilder().marker().d("Gain", -1e39).bytes(), 1));
    cases.push_back(sized("NaN for the double", PayloadBuilder().marker().d("Freq", nan).bytes(), 1));
    cases.push_back(
        sized("minus infinity for the double", PayloadBuilder().marker().d("Freq", -inf).bytes(), 1));
    cases.push_back(sized("unknown tag shadows the entry",
                          PayloadBuilder().marker().name('x', "Gain").d("Gain", 0.25).bytes(), 2));
    cases.push_back(sized("types swapped",
                          PayloadBuilder().marker().l("Gain", 1).d("Count", 3.0).r("On", "1").bytes(), 3));
    cases.push_back(sized("float and short entries",
                          PayloadBuilder().marker().f("Gain", 0.25f).s("Count", 3).bytes(), 2));
    cases.push_back(sized("one-byte tagged name",
                          PayloadBuilder().marker().raw({'d', 0, 0, 0}).raw(Bytes(8, 0x3F)).bytes(), 1));
    cases.push_back(
        sized("zero bytes after the marker", PayloadBuilder().marker().raw(Bytes(12, 0)).bytes(), 3));
    cases.push_back(sized("names differing in case",
                          PayloadBuilder().marker().d("gain", 0.25).l("COUNT", 3).d("freq", 9.0).bytes(), 3));
    // The record is as large as it claims; the walk must end at the unterminated name
    // without touching the rest.
    cases.push_back({"size INT32_MAX, ends in an endless name", std::numeric_limits<int32_t>::max(),
                     PayloadBuilder().marker().d("Other", 1.0).text("l_").text(std::string(400, 'x')).bytes(),
                     1});
    return cases;
}

} // namespace tambrix::test

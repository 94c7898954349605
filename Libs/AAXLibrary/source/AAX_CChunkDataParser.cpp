#include "AAX_CChunkDataParser.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

// Payload layout (offsets from the payload's first byte, every entry starting at a
// multiple of 4):
//   0..3   marker 01 01 01 01
//   entry  tag letter, '_', name bytes, 0, zero padding to the value start V (the next
//          multiple of 4), then the value big-endian: 'f' and 'l' 4 bytes, 'd' 8 bytes,
//          's' 2 bytes and 2 zero bytes, 'r' the string, its 0 and zero padding to 4.
// The header of the record stays in the machine's byte order; only the payload is
// big-endian. Values are assembled from single bytes, so neither the record's alignment
// nor the machine's byte order matters.

namespace
{

constexpr unsigned char kMarkerByte = 0x01;
constexpr int64_t kMarkerSize = 4;
constexpr unsigned char kSeparator = 0x5F; // '_'

// Longest tagged name (tag, separator and name) that the reader looks for, its
// terminating zero not counted: it looks at no more than 255 bytes.
constexpr int64_t kMaxTaggedNameLookahead = 255;
// Longest name whose tagged form reads back whole.
constexpr uint32_t kMaxNameLength = static_cast<uint32_t>(kMaxTaggedNameLookahead) - 3;

constexpr uint64_t RoundUp4(uint64_t n) noexcept
{
    return (n + 3u) & ~uint64_t{3};
}
constexpr int64_t RoundUp4(int64_t n) noexcept
{
    return (n + 3) & ~int64_t{3};
}

char TagOf(int32_t type) noexcept
{
    switch (type)
    {
    case AAX_CChunkDataParser::eDataType_Float:
        return 'f';
    case AAX_CChunkDataParser::eDataType_Int32:
        return 'l';
    case AAX_CChunkDataParser::eDataType_Double:
        return 'd';
    case AAX_CChunkDataParser::eDataType_Int16:
        return 's';
    case AAX_CChunkDataParser::eDataType_String:
        return 'r';
    default:
        return 0;
    }
}

// Bytes that an entry's value takes in the payload, padding included; 0 for an entry
// without a known type.
uint64_t ValueFootprint(const AAX_CChunkDataParser::DataValue& entry) noexcept
{
    switch (entry.mDataType)
    {
    case AAX_CChunkDataParser::eDataType_Float:
    case AAX_CChunkDataParser::eDataType_Int32:
    case AAX_CChunkDataParser::eDataType_Int16:
        return 4;
    case AAX_CChunkDataParser::eDataType_Double:
        return 8;
    case AAX_CChunkDataParser::eDataType_String:
        return RoundUp4(uint64_t{entry.mStringValue.Length()} + 1u);
    default:
        return 0;
    }
}

uint64_t DoubleBits(double value) noexcept
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double DoubleFromBits(uint64_t bits) noexcept
{
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void StoreBigEndian(unsigned char* out, uint64_t value, int width) noexcept
{
    for (int i = width - 1; i >= 0; --i)
    {
        out[i] = static_cast<unsigned char>(value & 0xFFu);
        value >>= 8;
    }
}

uint64_t LoadBigEndian(const unsigned char* in, int width) noexcept
{
    uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | in[i];
    return value;
}

// Index of the first zero byte in [from, from + count), or -1.
int64_t FindZero(const unsigned char* data, int64_t from, int64_t count) noexcept
{
    if (count <= 0)
        return -1;
    const void* hit = std::memchr(data + from, 0, static_cast<std::size_t>(count));
    if (!hit)
        return -1;
    return static_cast<const unsigned char*>(hit) - data;
}

// True when the text holds a zero byte before its end (it would read back shorter).
bool HasEmbeddedZero(const AAX_CString& text)
{
    return std::memchr(text.Get(), 0, text.Length()) != nullptr;
}

} // namespace

AAX_CChunkDataParser::AAX_CChunkDataParser() : mLastFoundIndex(-1), mChunkVersion(-1), mDataValues() {}

AAX_CChunkDataParser::~AAX_CChunkDataParser() = default;

void AAX_CChunkDataParser::Clear()
{
    mDataValues.clear();
    mLastFoundIndex = -1;
    mChunkVersion = -1;
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value)
{
    DataValue entry;
    entry.mDataType = eDataType_Double;
    entry.mDataName = AAX_CString(name);
    entry.mDoubleValue = value;
    mDataValues.push_back(entry);
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value)
{
    DataValue entry;
    entry.mDataType = eDataType_Int32;
    entry.mDataName = AAX_CString(name);
    entry.mIntValue = value;
    mDataValues.push_back(entry);
}

void AAX_CChunkDataParser::AddString(const char* name, AAX_CString value)
{
    DataValue entry;
    entry.mDataType = eDataType_String;
    entry.mDataName = AAX_CString(name);
    entry.mStringValue = value;
    mDataValues.push_back(entry);
}

int32_t AAX_CChunkDataParser::GetChunkDataSize()
{
    uint64_t total = kMarkerSize;
    for (const DataValue& entry : mDataValues)
        total += RoundUp4(uint64_t{entry.mDataName.Length()} + 3u) + ValueFootprint(entry);
    // A payload beyond the record's signed size field cannot be described: negative.
    if (total > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return -1;
    return static_cast<int32_t>(total);
}

int32_t AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk)
{
    if (!chunk)
        return AAX_ERROR_NULL_ARGUMENT;

    try
    {
        const int32_t total = GetChunkDataSize();
        if (total < 0)
            throw std::length_error("aborting: chunk data exceeds the largest chunk size");

        unsigned char* const payload = reinterpret_cast<unsigned char*>(chunk->fData);
        std::memset(payload, 0, static_cast<std::size_t>(total));
        for (int64_t i = 0; i < kMarkerSize; ++i)
            payload[i] = kMarkerByte;

        uint64_t p = kMarkerSize;
        for (const DataValue& entry : mDataValues)
        {
            const char tag = TagOf(entry.mDataType);
            if (tag == 0)
                throw std::invalid_argument(std::string("aborting: entry '") + entry.mDataName.Get() +
                                            "' has no value type");
            const uint32_t n = entry.mDataName.Length();
            if (n > kMaxNameLength || HasEmbeddedZero(entry.mDataName))
                throw std::invalid_argument("aborting: entry name cannot be stored");
            if (entry.mDataType == eDataType_String && HasEmbeddedZero(entry.mStringValue))
                throw std::invalid_argument(std::string("aborting: string value of entry '") +
                                            entry.mDataName.Get() + "' holds a zero byte");

            unsigned char value[8] = {};
            uint64_t w = 0;
            switch (entry.mDataType)
            {
            case eDataType_Float:
            case eDataType_Int32:
                StoreBigEndian(value, static_cast<uint64_t>(entry.mIntValue) & 0xFFFFFFFFu, 4);
                w = 4;
                break;
            case eDataType_Double:
                StoreBigEndian(value, DoubleBits(entry.mDoubleValue), 8);
                w = 8;
                break;
            case eDataType_Int16:
                StoreBigEndian(value, static_cast<uint64_t>(entry.mIntValue) & 0xFFFFu, 2);
                w = 2;
                break;
            case eDataType_String:
                w = uint64_t{entry.mStringValue.Length()} + 1u;
                break;
            default:
                break;
            }

            if (p + n + w + 3u > static_cast<uint64_t>(total))
                throw std::out_of_range("aborting: chunk data will overflow buffer");

            payload[p] = static_cast<unsigned char>(tag);
            payload[p + 1] = kSeparator;
            std::memcpy(payload + p + 2, entry.mDataName.Get(), n); // its zero is already there
            const uint64_t v = RoundUp4(p + n + 3u);
            if (entry.mDataType == eDataType_String)
            {
                std::memcpy(payload + v, entry.mStringValue.Get(), static_cast<std::size_t>(w - 1));
                p = v + RoundUp4(w);
            }
            else
            {
                std::memcpy(payload + v, value, static_cast<std::size_t>(w));
                p = v + (entry.mDataType == eDataType_Double ? 8u : 4u);
            }
        }

        chunk->fSize = total;
        return AAX_SUCCESS;
    }
    catch (const std::exception& error)
    {
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                                 error.what());
    }
    catch (...)
    {
    }
    return kAAX_ChunkDataParserWriteFailed;
}

void AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk)
{
    Clear();
    if (!chunk)
        return;
    mChunkVersion = chunk->fVersion;

    const int64_t size = chunk->fSize;
    if (size <= kMarkerSize)
        return;
    const unsigned char* const payload = reinterpret_cast<const unsigned char*>(chunk->fData);
    for (int64_t i = 0; i < kMarkerSize; ++i)
        if (payload[i] != kMarkerByte)
            return;

    // Every position below stays within [0, size + 8]; size is at most 2^31 - 1, so
    // 64-bit arithmetic cannot overflow. Nothing is read at or past `size`.
    int64_t p = kMarkerSize;
    while (p < size)
    {
        const int64_t lookahead = std::min<int64_t>(size - p, kMaxTaggedNameLookahead);
        const int64_t nameEnd = FindZero(payload, p, lookahead);
        if (nameEnd < 0)
            return; // no terminated name within reach: the entry is dropped, the walk ends
        const int64_t t = nameEnd - p;
        const int64_t v = RoundUp4(p + t + 1);

        DataValue entry;
        int64_t next = v;
        const auto fits = [&](int64_t width)
        {
            return v + width <= size;
        };
        switch (t > 0 ? payload[p] : 0)
        {
        case 'l':
            if (!fits(4))
                return;
            entry.mDataType = eDataType_Int32;
            entry.mIntValue = static_cast<int32_t>(static_cast<uint32_t>(LoadBigEndian(payload + v, 4)));
            next = v + 4;
            break;
        case 'f':
            if (!fits(4))
                return;
            entry.mDataType = eDataType_Float;
            entry.mIntValue = static_cast<int64_t>(LoadBigEndian(payload + v, 4));
            next = v + 4;
            break;
        case 'd':
            if (!fits(8))
                return;
            entry.mDataType = eDataType_Double;
            entry.mDoubleValue = DoubleFromBits(LoadBigEndian(payload + v, 8));
            next = v + 8;
            break;
        case 's':
            if (!fits(2))
                return;
            entry.mDataType = eDataType_Int16;
            entry.mIntValue = static_cast<int64_t>(LoadBigEndian(payload + v, 2));
            next = v + 4;
            break;
        case 'r':
        {
            const int64_t stringEnd = v < size ? FindZero(payload, v, size - v) : -1;
            if (stringEnd < 0)
                return; // string value without its zero inside the payload
            entry.mDataType = eDataType_String;
            entry.mStringValue.Set(reinterpret_cast<const char*>(payload + v));
            next = v + RoundUp4(stringEnd - v + 1);
            break;
        }
        default:
            entry.mDataType = eDataType_None; // unknown tag: no value, resume after the name
            break;
        }

        // The name is the tagged name without tag and separator; its zero lies at nameEnd.
        if (t >= 2)
            entry.mDataName.Set(reinterpret_cast<const char*>(payload + p + 2));
        mDataValues.push_back(entry);
        p = next;
    }
}

int32_t AAX_CChunkDataParser::FindName(const AAX_CString& name)
{
    const int32_t count = NumEntries();
    if (mLastFoundIndex >= count - 1)
        mLastFoundIndex = -1;

    for (int32_t i = mLastFoundIndex + 1; i < count; ++i)
    {
        if (mDataValues[static_cast<std::size_t>(i)].mDataName == name)
        {
            mLastFoundIndex = i;
            return i;
        }
    }
    if (mLastFoundIndex == -1)
        return -1;
    for (int32_t i = 0; i <= mLastFoundIndex; ++i)
    {
        if (mDataValues[static_cast<std::size_t>(i)].mDataName == name)
        {
            mLastFoundIndex = i;
            return i;
        }
    }
    return -1;
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double* value)
{
    if (!name || !value)
        return false;
    const int32_t index = FindName(AAX_CString(name));
    if (index < 0 || mDataValues[static_cast<std::size_t>(index)].mDataType != eDataType_Double)
        return false;
    *value = mDataValues[static_cast<std::size_t>(index)].mDoubleValue;
    return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t* value)
{
    if (!name || !value)
        return false;
    const int32_t index = FindName(AAX_CString(name));
    if (index < 0 || mDataValues[static_cast<std::size_t>(index)].mDataType != eDataType_Int32)
        return false;
    *value = static_cast<int32_t>(
        static_cast<uint32_t>(static_cast<uint64_t>(mDataValues[static_cast<std::size_t>(index)].mIntValue)));
    return true;
}

bool AAX_CChunkDataParser::FindString(const char* name, AAX_CString* value)
{
    if (!name || !value)
        return false;
    const int32_t index = FindName(AAX_CString(name));
    if (index < 0 || mDataValues[static_cast<std::size_t>(index)].mDataType != eDataType_String)
        return false;
    value->Set(mDataValues[static_cast<std::size_t>(index)].mStringValue.Get());
    return true;
}

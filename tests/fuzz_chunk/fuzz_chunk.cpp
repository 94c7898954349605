// Fuzz target: a stored chunk from a damaged or hostile host document.
//
// Input: one mode byte, then the payload. The record is allocated with exactly the
// header and the payload (so AddressSanitizer sees any read past the declared size).
//   mode & 0x80  the size field is negative (-1 - payload length) and the record
//                holds the header alone
//   mode & 0x40  the record's version is 7 instead of -1
//   mode & 0x20  CompareActiveChunk gets a record whose identifier is not the
//                controls chunk's
//
// Each input goes through the parser (LoadChunk, the typed lookups, writing the list
// back) and through SetChunk and CompareActiveChunk of a test effect. Checked besides
// the sanitizers: a list read back and written is written the same way again, and the
// values SetChunk applied compare equal with a chunk saved right after.

#include "test_effect.h"

#include "AAX_CChunkDataParser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

constexpr uint32_t kElck = 0x656C636Bu;
constexpr uint32_t kJuce = 0x6A756365u;
constexpr std::size_t kHeader = 56;

struct Record
{
    explicit Record(std::size_t payloadBytes)
        : size(kHeader + payloadBytes), memory(static_cast<unsigned char*>(std::calloc(1, size)))
    {
        if (!memory)
            std::abort();
    }
    ~Record() { std::free(memory); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    AAX_SPlugInChunk* get() { return reinterpret_cast<AAX_SPlugInChunk*>(memory); }
    std::size_t size;
    unsigned char* memory;
};

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

tambrix::test::TestEffect* Effect()
{
    static tambrix::test::TestEffect* effect = []()
    {
        auto* made = new tambrix::test::TestEffect();
        made->AddRef(); // kept for the whole run
        Check(made->Initialize(nullptr) == AAX_SUCCESS);
        return made;
    }();
    return effect;
}

// Writes the parser's list into a record of exactly its size; empty on refusal.
std::vector<unsigned char> WriteBack(AAX_CChunkDataParser& parser)
{
    const int32_t size = parser.GetChunkDataSize();
    if (size < 0)
        return {};
    Record record(static_cast<std::size_t>(size));
    if (parser.GetChunkData(record.get()) != AAX_SUCCESS)
        return {};
    Check(record.get()->fSize == size);
    return std::vector<unsigned char>(record.memory + kHeader, record.memory + kHeader + size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1 || size > (std::size_t{1} << 24))
        return 0;
    const uint8_t mode = data[0];
    const uint8_t* payload = data + 1;
    const std::size_t length = size - 1;

    const bool negative = (mode & 0x80) != 0;
    Record record(negative ? 0 : length);
    AAX_SPlugInChunk* chunk = record.get();
    chunk->fSize = negative ? -1 - static_cast<int32_t>(length) : static_cast<int32_t>(length);
    chunk->fVersion = (mode & 0x40) ? 7 : -1;
    chunk->fChunkID = kElck;
    if (!negative && length > 0)
        std::memcpy(chunk->fData, payload, length);

    // The parser on its own.
    {
        AAX_CChunkDataParser parser;
        parser.LoadChunk(chunk);
        Check(parser.GetChunkVersion() == chunk->fVersion);
        double d = 0;
        int32_t i = 0;
        AAX_CString s;
        for (const char* name : {"Gain", "Count", "On", "Freq", "Label", ""})
        {
            parser.FindDouble(name, &d);
            parser.FindInt32(name, &i);
            parser.FindString(name, &s);
        }
        const std::vector<unsigned char> first = WriteBack(parser);
        if (!first.empty())
        {
            Record again(first.size());
            again.get()->fSize = static_cast<int32_t>(first.size());
            std::memcpy(again.get()->fData, first.data(), first.size());
            AAX_CChunkDataParser reader;
            reader.LoadChunk(again.get());
            Check(reader.NumEntries() == parser.NumEntries());
            Check(WriteBack(reader) == first);
        }
    }

    // The chunk operations.
    tambrix::test::TestEffect* effect = Effect();
    Check(effect->SetChunk(kElck, chunk) == AAX_SUCCESS);
    AAX_CBoolean equal = 2;
    chunk->fChunkID = (mode & 0x20) ? kJuce : kElck;
    Check(effect->CompareActiveChunk(chunk, &equal) == AAX_SUCCESS);
    Check(equal == 0 || equal == 1);
    if (mode & 0x20)
        Check(equal == 1);

    // What SetChunk applied is what a fresh save holds.
    uint32_t savedSize = 0;
    Check(effect->GetChunkSize(kElck, &savedSize) == AAX_SUCCESS);
    Record saved(savedSize);
    Check(effect->GetChunk(kElck, saved.get()) == AAX_SUCCESS);
    Check(saved.get()->fSize == static_cast<int32_t>(savedSize));
    equal = 2;
    Check(effect->CompareActiveChunk(saved.get(), &equal) == AAX_SUCCESS);
    Check(equal == 1);
    return 0;
}

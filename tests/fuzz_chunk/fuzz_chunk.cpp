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

#include "chunk_records.h"
#include "test_effect.h"

#include "AAX_CChunkDataParser.h"

#include <cstdint>
#include <vector>

namespace
{

using tambrix::test::DeclaredChunk;
using tambrix::test::kElck;
using tambrix::test::kJuce;

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
std::vector<uint8_t> WriteBack(AAX_CChunkDataParser& parser)
{
    const int32_t size = parser.GetChunkDataSize();
    if (size < 0)
        return {};
    DeclaredChunk record(size, {}, 0, 0);
    record.get()->fSize = 0;
    if (parser.GetChunkData(record.get()) != AAX_SUCCESS)
        return {};
    Check(record.get()->fSize == size);
    return record.payload(static_cast<std::size_t>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1 || size > (std::size_t{1} << 24))
        return 0;
    const uint8_t mode = data[0];
    const uint8_t* payload = data + 1;
    const std::size_t length = size - 1;

    const int32_t declared = static_cast<int32_t>(length);
    DeclaredChunk record((mode & 0x80) ? -1 - declared : declared,
                         std::vector<uint8_t>(payload, payload + length), kElck, (mode & 0x40) ? 7 : -1);
    AAX_SPlugInChunk* chunk = record.get();

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
        const std::vector<uint8_t> first = WriteBack(parser);
        if (!first.empty())
        {
            DeclaredChunk again(first);
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
    DeclaredChunk saved(static_cast<int32_t>(savedSize), {}, kElck, 0);
    saved.get()->fSize = 0;
    Check(effect->GetChunk(kElck, saved.get()) == AAX_SUCCESS);
    Check(saved.get()->fSize == static_cast<int32_t>(savedSize));
    equal = 2;
    Check(effect->CompareActiveChunk(saved.get(), &equal) == AAX_SUCCESS);
    Check(equal == 1);
    return 0;
}

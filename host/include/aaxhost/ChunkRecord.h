#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace aaxhost
{

// The header of a chunk record, in the machine's byte order; the payload follows it.
struct ChunkHeader
{
    int32_t size = 0; // of the payload
    int32_t version = 0;
    uint32_t manufacturerId = 0, productId = 0, plugInId = 0;
    uint32_t chunkId = 0;
    char name[32] = {}; // zero-padded
};
static_assert(sizeof(ChunkHeader) == 56 && offsetof(ChunkHeader, chunkId) == 20 &&
                  offsetof(ChunkHeader, name) == 24,
              "chunk record layout");

// A chunk record as the host hands it to GetChunk, SetChunk and CompareActiveChunk:
// the header and exactly the payload, in memory the allocator aligns.
class ChunkRecord
{
public:
    // Chunk `chunkId` with `payload`, its size field the payload's length.
    ChunkRecord(uint32_t chunkId, const std::vector<uint8_t>& payload, int32_t version)
        : bytes_(sizeof(ChunkHeader) + payload.size())
    {
        const ChunkHeader header{static_cast<int32_t>(payload.size()), version, 0, 0, 0, chunkId};
        std::copy_n(reinterpret_cast<const uint8_t*>(&header), sizeof header, bytes_.begin());
        std::copy(payload.begin(), payload.end(), bytes_.begin() + sizeof header);
    }

    void* get() noexcept { return bytes_.data(); }
    // The header as it is now.
    ChunkHeader header() const
    {
        ChunkHeader header;
        std::copy_n(bytes_.begin(), sizeof header, reinterpret_cast<uint8_t*>(&header));
        return header;
    }
    // The name up to its first zero.
    std::string name() const
    {
        const ChunkHeader h = header();
        return std::string(h.name, std::find(h.name, h.name + sizeof h.name, '\0'));
    }
    // The payload's first `count` bytes (at most all of it).
    std::vector<uint8_t> payload(std::size_t count) const
    {
        const auto begin = bytes_.begin() + sizeof(ChunkHeader);
        return std::vector<uint8_t>(
            begin, begin + static_cast<std::ptrdiff_t>(std::min(count, bytes_.size() - sizeof(ChunkHeader))));
    }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace aaxhost

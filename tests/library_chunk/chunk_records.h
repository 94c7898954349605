#pragma once

// Chunk records as a host hands them over (header plus exactly the declared payload,
// nothing more, so AddressSanitizer catches any read past the end), a builder for
// payload bytes, and the table of damaged payloads shared by the tests and the
// fuzz target's seed corpus.

#include "AAX.h"

#include "tambrix/text/FourChar.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tambrix::test
{

using Bytes = std::vector<uint8_t>;

// The controls chunk and a chunk of the framework's own.
constexpr AAX_CTypeID kElck = *tambrix::text::fourCharCode("elck");
constexpr AAX_CTypeID kJuce = *tambrix::text::fourCharCode("juce");

// A record of the header and max(declaredSize, 0) bytes. The payload bytes are copied in (at most
// as many as fit); the rest of the payload is zero. Very large records are mapped
// lazily so that only the pages touched cost memory.
class DeclaredChunk
{
public:
    DeclaredChunk(int32_t declaredSize, const Bytes& payload, AAX_CTypeID chunkId = kElck,
                  int32_t version = -1);
    explicit DeclaredChunk(const Bytes& payload)
        : DeclaredChunk(static_cast<int32_t>(payload.size()), payload)
    {
    }
    ~DeclaredChunk();
    DeclaredChunk(const DeclaredChunk&) = delete;
    DeclaredChunk& operator=(const DeclaredChunk&) = delete;

    AAX_SPlugInChunk* get() noexcept { return reinterpret_cast<AAX_SPlugInChunk*>(memory_); }
    const AAX_SPlugInChunk* get() const noexcept
    {
        return reinterpret_cast<const AAX_SPlugInChunk*>(memory_);
    }
    std::size_t allocated() const noexcept { return allocated_; }
    // The payload's first `count` bytes.
    Bytes payload(std::size_t count) const;
    // The whole header.
    Bytes header() const;

private:
    unsigned char* memory_ = nullptr;
    std::size_t allocated_ = 0;
    bool mapped_ = false;
};

// Payload bytes, written by hand (big-endian values, zero padding to multiples of 4),
// independent of the parser's writer.
class PayloadBuilder
{
public:
    PayloadBuilder& marker();
    PayloadBuilder& raw(const Bytes& bytes);
    PayloadBuilder& text(const std::string& text);           // bytes without a zero
    PayloadBuilder& name(char tag, const std::string& name); // tag, '_', name, 0, padding
    PayloadBuilder& f(const std::string& name, float value);
    PayloadBuilder& l(const std::string& name, int32_t value);
    PayloadBuilder& d(const std::string& name, double value);
    PayloadBuilder& s(const std::string& name, uint16_t value);
    PayloadBuilder& r(const std::string& name, const std::string& value);
    PayloadBuilder& cut(std::size_t count); // drops the last `count` bytes
    const Bytes& bytes() const noexcept { return bytes_; }

private:
    void pad();
    Bytes bytes_;
};

// A damaged or hostile payload. The names point at the test effect's parameters
// ("Gain" float, "Count" int32, "On" bool, "Freq" double, "Label" string), so a
// reader that accepted too much would change them.
struct MalformedCase
{
    std::string name;
    int32_t declaredSize;    // the record's size field; the record holds max(size, 0) payload bytes
    Bytes payload;           // the first payload bytes (the rest, if any, is zero)
    int32_t expectedEntries; // what the parser keeps
};

std::vector<MalformedCase> malformedCases();

// Parses "01 02 ab" into bytes.
Bytes hex(std::string text);
// Formats bytes as "01 02 AB".
std::string hexText(const Bytes& bytes);

} // namespace tambrix::test

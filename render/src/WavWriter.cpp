#include "tambrix/render/WavWriter.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "WAV data is written in the machine's byte order");

namespace tambrix::render
{
namespace
{
constexpr std::uint32_t headerBytes = 58; // RIFF + fmt (18) + fact + data headers

void put16(std::vector<unsigned char>& b, std::uint32_t v)
{
    b.push_back(static_cast<unsigned char>(v & 0xffu));
    b.push_back(static_cast<unsigned char>((v >> 8) & 0xffu));
}

void put32(std::vector<unsigned char>& b, std::uint32_t v)
{
    put16(b, v & 0xffffu);
    put16(b, v >> 16);
}

void putTag(std::vector<unsigned char>& b, const char* tag)
{
    b.insert(b.end(), tag, tag + 4);
}
} // namespace

WavWriter::~WavWriter()
{
    discard();
}

std::int64_t WavWriter::maxFrames(int channels)
{
    if (channels < 1)
        return 0;
    const std::int64_t maxData = std::numeric_limits<std::uint32_t>::max() - headerBytes;
    return maxData / (4 * static_cast<std::int64_t>(channels));
}

bool WavWriter::fail(const std::string& text)
{
    errorText = text;
    discard();
    return false;
}

void WavWriter::discard()
{
    if (file != nullptr)
    {
        std::fclose(file);
        file = nullptr;
        std::remove(temporaryPath.c_str());
    }
}

bool WavWriter::open(const std::string& path, int channels, int sampleRate, std::int64_t totalFrames)
{
    discard();
    errorText.clear();
    if (channels < 1 || channels > 65535 || sampleRate < 1 || totalFrames < 0 ||
        totalFrames > maxFrames(channels))
        return fail("the WAV format cannot hold " + std::to_string(totalFrames) + " frames of " +
                    std::to_string(channels) + " channels");

    targetPath = path;
    temporaryPath = path + ".partial";
    file = std::fopen(temporaryPath.c_str(), "wb");
    if (file == nullptr)
        return fail("cannot create '" + temporaryPath + "': " + std::strerror(errno));

    numChannels = channels;
    framesExpected = totalFrames;
    framesWritten = 0;

    const auto frameBytes = static_cast<std::uint32_t>(4 * channels);
    const auto dataBytes = static_cast<std::uint32_t>(totalFrames) * frameBytes;
    std::vector<unsigned char> h;
    putTag(h, "RIFF");
    put32(h, headerBytes - 8 + dataBytes);
    putTag(h, "WAVE");
    putTag(h, "fmt ");
    put32(h, 18);
    put16(h, 3); // IEEE float
    put16(h, static_cast<std::uint32_t>(channels));
    put32(h, static_cast<std::uint32_t>(sampleRate));
    put32(h, static_cast<std::uint32_t>(sampleRate) * frameBytes);
    put16(h, frameBytes);
    put16(h, 32);
    put16(h, 0); // no extension
    putTag(h, "fact");
    put32(h, 4);
    put32(h, static_cast<std::uint32_t>(totalFrames));
    putTag(h, "data");
    put32(h, dataBytes);

    if (std::fwrite(h.data(), 1, h.size(), file) != h.size())
        return fail("cannot write '" + temporaryPath + "'");
    return true;
}

bool WavWriter::write(const float* interleaved, std::int64_t numFrames)
{
    if (file == nullptr)
        return fail("no WAV file is open");
    if (numFrames < 0 || framesWritten + numFrames > framesExpected)
        return fail("more frames than announced");

    static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
    const auto count = static_cast<std::size_t>(numFrames) * static_cast<std::size_t>(numChannels);
    // Little-endian 32-bit floats: the machine's own layout on every platform we build for.
    if (std::fwrite(interleaved, sizeof(float), count, file) != count)
        return fail("cannot write '" + temporaryPath + "'");
    framesWritten += numFrames;
    return true;
}

bool WavWriter::finish()
{
    if (file == nullptr)
        return fail("no WAV file is open");
    if (framesWritten != framesExpected)
        return fail("only " + std::to_string(framesWritten) + " of " + std::to_string(framesExpected) +
                    " frames were written");
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!closed)
    {
        std::remove(temporaryPath.c_str());
        return fail("cannot write '" + temporaryPath + "'");
    }
    if (std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0)
    {
        const std::string reason = std::strerror(errno);
        std::remove(temporaryPath.c_str());
        return fail("cannot move the output into '" + targetPath + "': " + reason);
    }
    return true;
}

} // namespace tambrix::render

#include "tambrix/render/WavWriter.h"

#include "tambrix/text/Words.h"

#include <cerrno>
#include <cstring>
#include <limits>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "WAV data is written in the machine's byte order");

namespace tambrix::render
{
namespace
{
// The header of a float WAV file with a fact chunk: RIFF, fmt (18 bytes), fact and
// the data chunk's header, in the machine's (little-endian) byte order.
struct [[gnu::packed]] WavHeader
{
    char riff[4] = {'R', 'I', 'F', 'F'};
    std::uint32_t riffBytes = 0;
    char waveFmt[8] = {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    std::uint32_t fmtBytes = 18;
    std::uint16_t format = 3; // IEEE float
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t frameBytes = 0;
    std::uint16_t bitsPerSample = 32;
    std::uint16_t extensionBytes = 0;
    char fact[4] = {'f', 'a', 'c', 't'};
    std::uint32_t factBytes = 4;
    std::uint32_t frames = 0;
    char data[4] = {'d', 'a', 't', 'a'};
    std::uint32_t dataBytes = 0;
};
constexpr std::uint32_t headerBytes = sizeof(WavHeader);
static_assert(headerBytes == 58);
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
        return fail("cannot create '" + text::printablePath(temporaryPath) + "': " + std::strerror(errno));

    numChannels = channels;
    framesExpected = totalFrames;
    framesWritten = 0;

    WavHeader h;
    h.channels = static_cast<std::uint16_t>(channels);
    h.frameBytes = static_cast<std::uint16_t>(4 * channels);
    h.sampleRate = static_cast<std::uint32_t>(sampleRate);
    h.byteRate = h.sampleRate * h.frameBytes;
    h.frames = static_cast<std::uint32_t>(totalFrames);
    h.dataBytes = h.frames * h.frameBytes;
    h.riffBytes = headerBytes - 8 + h.dataBytes;
    if (std::fwrite(&h, sizeof h, 1, file) != 1)
        return fail("cannot write '" + text::printablePath(temporaryPath) + "'");
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
        return fail("cannot write '" + text::printablePath(temporaryPath) + "'");
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
        return fail("cannot write '" + text::printablePath(temporaryPath) + "'");
    }
    if (std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0)
    {
        const std::string reason = std::strerror(errno);
        std::remove(temporaryPath.c_str());
        return fail("cannot move the output into '" + text::printablePath(targetPath) + "': " + reason);
    }
    return true;
}

} // namespace tambrix::render

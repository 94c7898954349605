#pragma once

// Writes a 32-bit float WAV file of a known length, interleaved frame by frame.
// The data goes to a temporary file beside the target, which replaces the target
// only when every frame has been written, so a failed run leaves nothing behind.

#include <cstdint>
#include <cstdio>
#include <string>

namespace tambrix::render
{

class WavWriter
{
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // The largest number of frames that fit the format's 32-bit sizes.
    static std::int64_t maxFrames(int channels);

    // False (with `error()` set) if the file cannot be created or the sizes do not fit.
    bool open(const std::string& path, int channels, int sampleRate, std::int64_t totalFrames);
    // Appends `numFrames` interleaved frames.
    bool write(const float* interleaved, std::int64_t numFrames);
    // Checks that every announced frame arrived and moves the file into place.
    bool finish();

    const std::string& error() const { return errorText; }

private:
    bool fail(const std::string& text);
    void discard();

    std::FILE* file = nullptr;
    std::string targetPath;
    std::string temporaryPath;
    int numChannels = 0;
    std::int64_t framesExpected = 0;
    std::int64_t framesWritten = 0;
    std::string errorText;
};

} // namespace tambrix::render

#pragma once

// Writes a 32-bit float WAV file of a known length, interleaved frame by frame,
// header first, through an io::OutputFile: a failed run leaves nothing behind.

#include "tambrix/io/Output.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tambrix::render
{

class WavWriter
{
public:
    WavWriter() = default;
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // The largest number of frames that fit the format's 32-bit sizes.
    static std::int64_t maxFrames(int channels);

    // False (with `error()` set) if the sizes do not fit or `path` cannot be
    // written (see io::OutputFile; `inputs` are the run's input files).
    bool open(const std::string& path, const std::vector<io::Input>& inputs, int channels, int sampleRate,
              std::int64_t totalFrames);
    // Appends `numFrames` interleaved frames.
    bool write(const float* interleaved, std::int64_t numFrames);
    // Checks that every announced frame arrived and puts the file in place.
    bool finish();

    const std::string& error() const { return errorText; }
    bool toStandardOutput() const { return file.isStandardOutput(); }

private:
    bool fail(const std::string& text);

    io::OutputFile file;
    int numChannels = 0;
    std::int64_t framesExpected = 0;
    std::int64_t framesWritten = 0;
    std::string errorText;
};

} // namespace tambrix::render

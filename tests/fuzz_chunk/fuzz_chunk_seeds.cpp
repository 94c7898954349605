// Writes the fuzz target's seed corpus into the folder given as the only argument:
// one file per damaged payload of the chunk tests, plus sound chunks of every entry
// type. Each file is the mode byte (see fuzz_chunk.cpp) followed by the payload.

#include "chunk_records.h"

#include <cstdio>
#include <limits>
#include <string>

namespace
{

bool WriteSeed(const std::string& folder, int index, uint8_t mode, const tambrix::test::Bytes& payload)
{
    const std::string path = folder + "/seed-" + std::to_string(index);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(&mode, 1, 1, file) == 1;
    if (!payload.empty())
        ok = ok && std::fwrite(payload.data(), 1, payload.size(), file) == payload.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    int index = 0;
    bool ok = true;

    for (const auto& c : tambrix::test::malformedCases())
    {
        if (c.payload.size() > 4096)
            continue;
        // A negative size field keeps its meaning through the mode byte; every other
        // case is its payload cut to the declared size.
        const bool negative = c.declaredSize < 0;
        tambrix::test::Bytes payload = c.payload;
        if (!negative && c.declaredSize >= 0 && payload.size() > static_cast<std::size_t>(c.declaredSize))
            payload.resize(static_cast<std::size_t>(c.declaredSize));
        ok = WriteSeed(folder, index++, negative ? 0x80 : 0x00, payload) && ok;
    }

    using tambrix::test::PayloadBuilder;
    const tambrix::test::Bytes sound = PayloadBuilder()
                                           .marker()
                                           .d("Gain", 0.25)
                                           .l("Count", 12)
                                           .l("On", 0)
                                           .d("Freq", 1000.5)
                                           .r("Label", "Text")
                                           .bytes();
    ok = WriteSeed(folder, index++, 0x00, sound) && ok;
    ok = WriteSeed(folder, index++, 0x40, sound) && ok;
    ok = WriteSeed(folder, index++, 0x20, sound) && ok;
    ok =
        WriteSeed(
            folder, index++, 0x00,
            PayloadBuilder().marker().f("Gain", 0.5f).s("Count", 3).name('x', "On").r("Label", "").bytes()) &&
        ok;
    ok = WriteSeed(folder, index++, 0x00, PayloadBuilder().marker().d("0", 0.2f).bytes()) && ok;
    ok = WriteSeed(folder, index++, 0x00,
                   PayloadBuilder()
                       .marker()
                       .d("Gain", std::numeric_limits<double>::denorm_min())
                       .d("Freq", -0.0)
                       .bytes()) &&
         ok;
    if (!ok)
    {
        std::fprintf(stderr, "could not write the seed corpus into %s\n", folder.c_str());
        return 1;
    }
    std::printf("%d seeds written into %s\n", index, folder.c_str());
    return 0;
}

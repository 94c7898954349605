#include "host_wrap_fixture.h"

#include "AAX_Errors.h"
#include "AAX_VTransport.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <thread>
#include <utility>

using tambrix::test::ControllerHost;

// Counts allocations made on the current thread while counting is switched on,
// to show that reading the transport allocates nothing.
namespace
{
thread_local bool tCounting = false;
thread_local int tAllocations = 0;
} // namespace

// The replacements pair malloc with free; the compiler cannot see that they match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace
{
void* countedAllocation(std::size_t size) noexcept
{
    if (tCounting)
        ++tAllocations;
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

void* operator new(std::size_t size)
{
    if (void* p = countedAllocation(size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    if (void* p = countedAllocation(size))
        return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

#pragma GCC diagnostic pop

namespace
{

class TransportWrapper : public ::testing::Test
{
protected:
    ControllerHost h;

    std::unique_ptr<AAX_ITransport> makeWrapper()
    {
        return std::make_unique<AAX_VTransport>(h.libraryUnknown());
    }
};

TEST_F(TransportWrapper, ForwardsTheHostsValuesUnchanged)
{
    h.transport->setTempo(97.5);
    h.transport->setPlaying(true);
    h.transport->locate(96000); // 2 s at 48 kHz
    h.transport->setLoop(true, (int64_t{1} << 40) + 1, -960000);
    h.transport->setSelectionStart(-77);
    h.transport->setTimeCode(AAX_eFrameRate_2997DropFrame, -1234);
    h.transport->setFeetFrames(AAX_eFeetFramesRate_25, int64_t{1} << 40);
    h.transport->setMetronome(1);
    auto t = makeWrapper();

    double bpm = 0.0;
    EXPECT_EQ(t->GetCurrentTempo(&bpm), AAX_SUCCESS);
    EXPECT_EQ(bpm, 97.5);
    int32_t num = 0, den = 0;
    EXPECT_EQ(t->GetCurrentMeter(&num, &den), AAX_SUCCESS);
    EXPECT_EQ(num, 4);
    EXPECT_EQ(den, 4);
    bool playing = false;
    EXPECT_EQ(t->IsTransportPlaying(&playing), AAX_SUCCESS);
    EXPECT_TRUE(playing);
    int64_t sample = 0;
    EXPECT_EQ(t->GetCurrentNativeSampleLocation(&sample), AAX_SUCCESS);
    EXPECT_EQ(sample, 96000);
    int64_t ticks = 0;
    EXPECT_EQ(t->GetCurrentTickPosition(&ticks), AAX_SUCCESS);
    EXPECT_EQ(ticks, 3120000); // 97.5 bpm for 2 s = 3.25 quarter notes
    bool looping = false;
    int64_t loopStart = 0, loopEnd = 0;
    EXPECT_EQ(t->GetCurrentLoopPosition(&looping, &loopStart, &loopEnd), AAX_SUCCESS);
    EXPECT_TRUE(looping);
    EXPECT_EQ(loopStart, (int64_t{1} << 40) + 1);
    EXPECT_EQ(loopEnd, -960000);
    uint32_t perQuarter = 0, perBeat = 0;
    EXPECT_EQ(t->GetTicksPerQuarter(&perQuarter), AAX_SUCCESS);
    EXPECT_EQ(perQuarter, 960000u);
    EXPECT_EQ(t->GetCurrentTicksPerBeat(&perBeat), AAX_SUCCESS);
    EXPECT_EQ(perBeat, 960000u);

    int64_t selection = 0;
    EXPECT_EQ(t->GetTimelineSelectionStartPosition(&selection), AAX_SUCCESS);
    EXPECT_EQ(selection, -77);
    AAX_EFrameRate frameRate = AAX_eFrameRate_Undeclared;
    int32_t tcOffset = 0;
    EXPECT_EQ(t->GetTimeCodeInfo(&frameRate, &tcOffset), AAX_SUCCESS);
    EXPECT_EQ(frameRate, AAX_eFrameRate_2997DropFrame);
    EXPECT_EQ(tcOffset, -1234);
    AAX_EFeetFramesRate ffRate = AAX_eFeetFramesRate_23976;
    int64_t ffOffset = 0;
    EXPECT_EQ(t->GetFeetFramesInfo(&ffRate, &ffOffset), AAX_SUCCESS);
    EXPECT_EQ(ffRate, AAX_eFeetFramesRate_25);
    EXPECT_EQ(ffOffset, int64_t{1} << 40);
    int32_t metronome = 0;
    EXPECT_EQ(t->IsMetronomeEnabled(&metronome), AAX_SUCCESS);
    EXPECT_EQ(metronome, 1);
}

TEST_F(TransportWrapper, EachOperationReachesTheHostOperationOfTheSameName)
{
    h.transport->setInstrumented(true);
    auto t = makeWrapper();
    double d;
    int32_t a, b;
    int64_t x, y;
    bool f;
    uint32_t u;
    AAX_EFrameRate fr;
    AAX_EFeetFramesRate ff;
    t->GetCurrentTempo(&d);
    t->GetCurrentMeter(&a, &b);
    t->IsTransportPlaying(&f);
    t->GetCurrentTickPosition(&x);
    t->GetCurrentLoopPosition(&f, &x, &y);
    t->GetCurrentNativeSampleLocation(&x);
    t->GetCustomTickPosition(&x, 11);
    t->GetBarBeatPosition(&a, &b, &x, 12);
    t->GetTicksPerQuarter(&u);
    t->GetCurrentTicksPerBeat(&u);
    t->GetTimelineSelectionStartPosition(&x);
    t->GetTimeCodeInfo(&fr, &a);
    t->GetFeetFramesInfo(&ff, &x);
    t->IsMetronomeEnabled(&a);
    EXPECT_EQ(h.operations("Transport"),
              (std::vector<std::string>{"GetCurrentTempo", "GetCurrentMeter", "IsTransportPlaying",
                                        "GetCurrentTickPosition", "GetCurrentLoopPosition",
                                        "GetCurrentNativeSampleLocation", "GetCustomTickPosition",
                                        "GetBarBeatPosition", "GetTicksPerQuarter", "GetCurrentTicksPerBeat",
                                        "GetTimelineSelectionStartPosition", "GetTimeCodeInfo",
                                        "GetFeetFramesInfo", "IsMetronomeEnabled"}));
    // The sample location given by value arrives unchanged.
    EXPECT_EQ(h.host.recorder().calls("Transport", "GetCustomTickPosition").at(0).arg<int64_t>(0), 11);
    EXPECT_EQ(h.host.recorder().calls("Transport", "GetBarBeatPosition").at(0).arg<int64_t>(0), 12);
}

TEST_F(TransportWrapper, TickPositionsFollowTheHostClockBeyond32BitsAndBelowZero)
{
    h.transport->setPlaying(true); // a playing host: positions move with the sample location
    auto t = makeWrapper();
    int64_t ticks = 0;

    // 120 bpm at 48 kHz: 2 quarter notes a second, 40 ticks a sample.
    h.transport->locate(int64_t{1} << 30);
    EXPECT_EQ(t->GetCurrentTickPosition(&ticks), AAX_SUCCESS);
    EXPECT_EQ(ticks, int64_t{10} << 32);
    EXPECT_DOUBLE_EQ(static_cast<double>(ticks) / 960000.0, 44739.24266666667); // as the play head reads it

    h.transport->locate(-48000);
    EXPECT_EQ(t->GetCurrentTickPosition(&ticks), AAX_SUCCESS);
    EXPECT_EQ(ticks, -1920000);

    // At 44.1 kHz a sample falls between ticks (43.54 ticks a sample): the nearest
    // whole tick.
    h.transport->setSampleRate(44100.0);
    EXPECT_EQ(t->GetCustomTickPosition(&ticks, 44100), AAX_SUCCESS);
    EXPECT_EQ(ticks, 1920000);
    EXPECT_EQ(t->GetCustomTickPosition(&ticks, 1), AAX_SUCCESS);
    EXPECT_EQ(ticks, 44);
    EXPECT_EQ(t->GetCustomTickPosition(&ticks, -1), AAX_SUCCESS);
    EXPECT_EQ(ticks, -44);
    // Half a tick a sample (1 bpm at 32 kHz): halves away from zero.
    h.transport->setSampleRate(32000.0);
    h.transport->setTempo(1.0);
    for (const auto& [sample, expected] : {std::pair<int64_t, int64_t>{1, 1}, {-1, -1}, {3, 2}, {-3, -2}})
    {
        EXPECT_EQ(t->GetCustomTickPosition(&ticks, sample), AAX_SUCCESS);
        EXPECT_EQ(ticks, expected) << sample;
    }

    // The clock moves only while playing.
    h.transport->setPlaying(false);
    h.transport->locate(0);
    EXPECT_EQ(h.transport->advance(512), 0);
    h.transport->setPlaying(true);
    EXPECT_EQ(h.transport->advance(512), 512);
    EXPECT_EQ(h.transport->advance(512), 1024);
    int64_t sample = 0;
    EXPECT_EQ(t->GetCurrentNativeSampleLocation(&sample), AAX_SUCCESS);
    EXPECT_EQ(sample, 1024);
}

TEST_F(TransportWrapper, BarAndBeatAreAnsweredOnlyWithAMeterOfTheHostsOwn)
{
    h.transport->setPlaying(true); // a playing host: positions move with the sample location
    auto t = makeWrapper();
    int32_t bars = -1, beats = -1;
    int64_t display = -1;
    EXPECT_EQ(t->GetBarBeatPosition(&bars, &beats, &display, 100000), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(bars, -1);
    EXPECT_EQ(beats, -1);
    EXPECT_EQ(display, -1);

    ASSERT_TRUE(h.transport->setHostMeter(7, 8));
    int32_t num = 0, den = 0;
    EXPECT_EQ(t->GetCurrentMeter(&num, &den), AAX_SUCCESS);
    EXPECT_EQ(num, 7);
    EXPECT_EQ(den, 8);
    uint32_t perBeat = 0;
    EXPECT_EQ(t->GetCurrentTicksPerBeat(&perBeat), AAX_SUCCESS);
    EXPECT_EQ(perBeat, 480000u);

    // Sample 100000 = 4000000 ticks; a 7/8 bar is 3360000 ticks, an eighth 480000:
    // bar 2, beat 2, 160000 ticks into the beat.
    EXPECT_EQ(t->GetBarBeatPosition(&bars, &beats, &display, 100000), AAX_SUCCESS);
    EXPECT_EQ(bars, 2);
    EXPECT_EQ(beats, 2);
    EXPECT_EQ(display, 160000);
    // One sample before the start: the last eighth of bar 0.
    EXPECT_EQ(t->GetBarBeatPosition(&bars, &beats, &display, -1), AAX_SUCCESS);
    EXPECT_EQ(bars, 0);
    EXPECT_EQ(beats, 7);
    EXPECT_EQ(display, 479960);

    EXPECT_FALSE(h.transport->setHostMeter(3, 0));
    EXPECT_EQ(t->GetCurrentMeter(&num, &den), AAX_SUCCESS);
    EXPECT_EQ(den, 8);
}

TEST_F(TransportWrapper, BarAndBeatAtTheEndsOfTheTimelineNeverOverflow)
{
    h.transport->setPlaying(true); // a playing host: positions move with the sample location
    auto t = makeWrapper();
    int32_t bars = 0, beats = 0;
    int64_t display = 0;
    const int64_t lowest = std::numeric_limits<int64_t>::min();
    const int64_t highest = std::numeric_limits<int64_t>::max();

    // 4/4: the bar number does not fit 32 bits; the host refuses and writes nothing.
    ASSERT_TRUE(h.transport->setHostMeter(4, 4));
    EXPECT_EQ(t->GetBarBeatPosition(&bars, &beats, &display, lowest), aaxhost::hostresult::InvalidArgument);
    EXPECT_EQ(bars, 0);

    // The longest bar the host accepts: 2147483647 whole notes. Tick positions are
    // held at the 64-bit limits; bars and beats computed by hand from them.
    ASSERT_TRUE(h.transport->setHostMeter(std::numeric_limits<int32_t>::max(), 1));
    EXPECT_EQ(t->GetBarBeatPosition(&bars, &beats, &display, lowest), AAX_SUCCESS);
    EXPECT_EQ(bars, -1118);
    EXPECT_EQ(beats, 1114399729);
    EXPECT_EQ(display, 2824192);
    EXPECT_EQ(t->GetBarBeatPosition(&bars, &beats, &display, highest), AAX_SUCCESS);
    EXPECT_EQ(bars, 1119);
    EXPECT_EQ(beats, 1033083919);
    EXPECT_EQ(display, 1015807);
}

TEST(TransportWrapperWithoutHost, NullUnknownGivesTheMissingResultsAndTouchesNoOutput)
{
    AAX_VTransport t(nullptr);
    double bpm = 33.0;
    EXPECT_EQ(t.GetCurrentTempo(&bpm), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(bpm, 33.0);
    int32_t num = 4, den = 4;
    EXPECT_EQ(t.GetCurrentMeter(&num, &den), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(num, 4);
    EXPECT_EQ(den, 4);
    AAX_EFrameRate rate = AAX_eFrameRate_50Frame;
    int32_t offset = 12;
    EXPECT_EQ(t.GetTimeCodeInfo(&rate, &offset), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(rate, AAX_eFrameRate_50Frame);
    EXPECT_EQ(offset, 12);
    int32_t metronome = 5;
    EXPECT_EQ(t.IsMetronomeEnabled(&metronome), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(metronome, 5);
}

TEST_F(TransportWrapper, VersionOneHostStoppedPlayHeadFallsBackToTheNativeSampleLocation)
{
    h.transport->refuse(aaxhost::IID_IAAXTransportV2);
    h.transport->setInstrumented(true);
    h.transport->locate(4800);
    auto t = makeWrapper();

    // The play head's position read while stopped.
    bool playing = true;
    ASSERT_EQ(t->IsTransportPlaying(&playing), AAX_SUCCESS);
    int64_t samples = 0;
    const bool found = (!playing && t->GetTimelineSelectionStartPosition(&samples) == AAX_SUCCESS) ||
                       t->GetCurrentNativeSampleLocation(&samples) == AAX_SUCCESS;
    EXPECT_TRUE(found);
    EXPECT_EQ(samples, 4800);
    EXPECT_EQ(h.operations("Transport"),
              (std::vector<std::string>{"IsTransportPlaying", "GetCurrentNativeSampleLocation"}));

    int64_t feetOffset = 9;
    AAX_EFeetFramesRate feetRate = AAX_eFeetFramesRate_24;
    EXPECT_EQ(t->GetFeetFramesInfo(&feetRate, &feetOffset), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(feetRate, AAX_eFeetFramesRate_24);
    EXPECT_EQ(feetOffset, 9);
}

TEST_F(TransportWrapper, HostWithoutVersionOneAnswersNullObjectButKeepsVersionTwo)
{
    h.transport->refuse(aaxhost::IID_IAAXTransportV1);
    h.transport->setMetronome(1);
    auto t = makeWrapper();
    double bpm = 1.0;
    EXPECT_EQ(t->GetCurrentTempo(&bpm), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(bpm, 1.0);
    int32_t metronome = 0;
    EXPECT_EQ(t->IsMetronomeEnabled(&metronome), AAX_SUCCESS);
    EXPECT_EQ(metronome, 1);
}

TEST_F(TransportWrapper, AMeterErrorFromTheHostLeavesTheCallersFourFour)
{
    h.transport->setHostMeter(3, 8);
    h.transport->setInstrumented(true);
    h.transport->setResult("GetCurrentMeter", AAX_ERROR_NULL_OBJECT);
    auto t = makeWrapper();
    int32_t num = 4, den = 4;
    EXPECT_EQ(t->GetCurrentMeter(&num, &den), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(num, 4);
    EXPECT_EQ(den, 4);
}

TEST_F(TransportWrapper, ReadingTheTransportAllocatesNothing)
{
    h.transport->setPlaying(true);
    h.transport->setHostMeter(5, 4);
    auto t = makeWrapper();
    double d;
    int32_t a, b;
    int64_t x, y;
    bool f;
    uint32_t u;
    AAX_EFrameRate fr;
    AAX_EFeetFramesRate ff;

    tAllocations = 0;
    tCounting = true;
    for (int block = 0; block < 100; ++block)
    {
        t->GetCurrentTempo(&d);
        t->GetCurrentMeter(&a, &b);
        t->IsTransportPlaying(&f);
        t->GetCurrentTickPosition(&x);
        t->GetCurrentLoopPosition(&f, &x, &y);
        t->GetCurrentNativeSampleLocation(&x);
        t->GetCustomTickPosition(&x, block);
        t->GetBarBeatPosition(&a, &b, &x, block);
        t->GetTicksPerQuarter(&u);
        t->GetCurrentTicksPerBeat(&u);
        t->GetTimelineSelectionStartPosition(&x);
        t->GetTimeCodeInfo(&fr, &a);
        t->GetFeetFramesInfo(&ff, &x);
        t->IsMetronomeEnabled(&a);
        h.transport->advance(64);
    }
    tCounting = false;
    EXPECT_EQ(tAllocations, 0);
}

TEST_F(TransportWrapper, AudioThreadReadsWhileTheHostMovesTheClock)
{
    auto t = makeWrapper();
    h.transport->setPlaying(true);
    std::atomic<bool> done{false};
    std::thread host(
        [&]
        {
            for (int i = 0; i < 20000; ++i)
            {
                h.transport->advance(32);
                h.transport->setTempo(i % 2 == 0 ? 120.0 : 90.0);
                h.transport->setLoop(i % 3 == 0, i, i + 960000);
            }
            done = true;
        });
    int64_t last = 0;
    bool monotonic = true;
    while (!done)
    {
        int64_t sample = 0, ticks = 0;
        double bpm = 0.0;
        t->GetCurrentNativeSampleLocation(&sample);
        t->GetCurrentTickPosition(&ticks);
        t->GetCurrentTempo(&bpm);
        monotonic = monotonic && sample >= last;
        last = sample;
        EXPECT_TRUE(bpm == 120.0 || bpm == 90.0);
    }
    host.join();
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(h.transport->sampleLocation(), 20000 * 32);
}

TEST_F(TransportWrapper, ReferencesAreBalancedAfterTheWrapperIsDestroyed)
{
    const uint32_t refs = h.transport->refCount();
    {
        auto t = makeWrapper();
        EXPECT_EQ(h.transport->refCount(), refs + 2);
    }
    EXPECT_EQ(h.transport->refCount(), refs);
    EXPECT_EQ(h.transport->overReleases(), 0u);
}

} // namespace

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace
{

using Taper = AAX_CLinearTaperDelegate<float, 0>;
using Display = AAX_CNumberDisplayDelegate<float, 3u, 0u>;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::string shown(float value)
{
    AAX_CString text("old");
    EXPECT_TRUE(Display().ValueToString(value, &text));
    return text.Get();
}

std::string shown(float value, int32_t limit)
{
    AAX_CString text("old");
    EXPECT_TRUE(Display().ValueToString(value, limit, &text));
    return text.Get();
}

TEST(LinearTaper, RisingRange)
{
    const Taper taper(0.0f, 1.0f);
    EXPECT_EQ(taper.NormalizedToReal(0.25), 0.25f);
    EXPECT_EQ(taper.NormalizedToReal(1.5), 1.0f);
    EXPECT_EQ(taper.NormalizedToReal(-0.2), 0.0f);
    EXPECT_EQ(taper.RealToNormalized(2.0f), 1.0);
    EXPECT_EQ(taper.RealToNormalized(0.75f), 0.75);
    EXPECT_EQ(taper.ConstrainRealValue(-3.0f), 0.0f);
    EXPECT_EQ(taper.ConstrainRealValue(0.4f), 0.4f);

    const Taper wide(-12.0f, 12.0f);
    EXPECT_EQ(wide.NormalizedToReal(0.5), 0.0f);
    EXPECT_EQ(wide.RealToNormalized(6.0f), 0.75);
    EXPECT_EQ(wide.GetMinimumValue(), -12.0f);
    EXPECT_EQ(wide.GetMaximumValue(), 12.0f);
}

TEST(LinearTaper, FallingAndEmptyRanges)
{
    const Taper falling(1.0f, 0.0f);
    EXPECT_EQ(falling.NormalizedToReal(0.25), 0.75f);
    EXPECT_EQ(falling.RealToNormalized(0.75f), 0.25);
    EXPECT_EQ(falling.ConstrainRealValue(2.0f), 1.0f);
    EXPECT_EQ(falling.ConstrainRealValue(-2.0f), 0.0f);
    EXPECT_EQ(falling.NormalizedToReal(1.5), 0.0f);

    const Taper point(5.0f, 5.0f);
    for (const float value : {-100.0f, 0.0f, 5.0f, 1e30f})
    {
        EXPECT_EQ(point.ConstrainRealValue(value), 5.0f);
        EXPECT_EQ(point.RealToNormalized(value), 0.5);
    }
    for (const double normalized : {-1.0, 0.0, 0.3, 1.0, 7.0, kNaN, kInf})
        EXPECT_EQ(point.NormalizedToReal(normalized), 5.0f);
}

TEST(LinearTaper, NaNAndHugeValuesStayInRange)
{
    const Taper taper(0.0f, 1.0f);
    const float nanF = std::numeric_limits<float>::quiet_NaN();
    // Not a number becomes the minimum (the real value at normalised 0).
    EXPECT_EQ(taper.ConstrainRealValue(nanF), 0.0f);
    EXPECT_EQ(taper.NormalizedToReal(kNaN), 0.0f);
    EXPECT_EQ(taper.RealToNormalized(nanF), 0.0);
    const Taper falling(1.0f, 0.0f);
    EXPECT_EQ(falling.ConstrainRealValue(nanF), 1.0f);
    EXPECT_EQ(falling.NormalizedToReal(kNaN), 1.0f);
    EXPECT_EQ(falling.RealToNormalized(nanF), 0.0);

    EXPECT_EQ(taper.NormalizedToReal(kInf), 1.0f);
    EXPECT_EQ(taper.NormalizedToReal(-kInf), 0.0f);
    EXPECT_EQ(taper.NormalizedToReal(1e300), 1.0f);

    // Products beyond the float range saturate instead of overflowing the narrowing.
    const Taper full(-FLT_MAX, FLT_MAX);
    EXPECT_EQ(full.NormalizedToReal(1e300), FLT_MAX);
    EXPECT_EQ(full.NormalizedToReal(-1e300), -FLT_MAX);
    EXPECT_EQ(full.NormalizedToReal(2.0), FLT_MAX);
    EXPECT_EQ(full.NormalizedToReal(0.5), 0.0f);
    EXPECT_EQ(full.RealToNormalized(FLT_MAX), 1.0);
}

// A taper that holds real values to quarters: both conversions must use it.
class QuarterTaper : public Taper
{
public:
    float ConstrainRealValue(float value) const override
    {
        return std::round(Taper::ConstrainRealValue(value) * 4.0f) / 4.0f;
    }
};

TEST(LinearTaper, ConversionsUseTheConstraintOfADerivedTaper)
{
    const QuarterTaper taper;
    EXPECT_EQ(taper.NormalizedToReal(0.3), 0.25f);
    EXPECT_EQ(taper.RealToNormalized(0.7f), 0.75);
}

TEST(LinearTaper, CloneOutlivesItsSource)
{
    std::unique_ptr<AAX_ITaperDelegate<float>> clone;
    {
        const auto source = std::make_unique<Taper>(0.0f, 1.0f);
        clone.reset(source->Clone());
    }
    EXPECT_EQ(clone->GetMinimumValue(), 0.0f);
    EXPECT_EQ(clone->GetMaximumValue(), 1.0f);
    EXPECT_EQ(clone->NormalizedToReal(0.5), 0.5f);
}

TEST(NumberDisplay, ThreeDecimalsRounded)
{
    EXPECT_EQ(shown(0.5f), "0.500");
    EXPECT_EQ(shown(-12.0f), "-12.000");
    EXPECT_EQ(shown(1.23456f), "1.235");
    EXPECT_EQ(shown(-0.0f), "-0.000");
    EXPECT_EQ(shown(-0.0001f), "-0.000");
    // Exact binary ties go to the even digit; others follow the stored value.
    EXPECT_EQ(shown(0.0625f), "0.062");
    EXPECT_EQ(shown(2.1875f), "2.188");
    EXPECT_EQ(shown(0.0005f), "0.001"); // stored as 0.000500000024
    EXPECT_EQ(shown(1.0005f), "1.000"); // stored as 1.000499964
    EXPECT_EQ(shown(FLT_MAX).size(), 39u + 4u);
    EXPECT_FALSE(Display().ValueToString(0.5f, nullptr));
    EXPECT_FALSE(Display().ValueToString(0.5f, 3, nullptr));
}

TEST(NumberDisplay, LimitCutsWithoutRounding)
{
    EXPECT_EQ(shown(0.5f, 10), "0.500");
    EXPECT_EQ(shown(0.5f, 5), "0.500");
    EXPECT_EQ(shown(0.5f, 3), "0.5");
    EXPECT_EQ(shown(0.5f, 2), "0"); // "0." loses its point
    EXPECT_EQ(shown(0.5f, 1), "0");
    EXPECT_EQ(shown(0.5f, 0), "");
    EXPECT_EQ(shown(0.5f, -4), "");
    EXPECT_EQ(shown(12.3456f, 4), "12.3");
    EXPECT_EQ(shown(12.3456f, 3), "12");
    EXPECT_EQ(shown(1234.5f, 3), "123");
    EXPECT_EQ(shown(-0.25f, 2), "-0");
    EXPECT_EQ(shown(0.999f, 3), "0.9");   // not rounded up to 1.0
    EXPECT_EQ(shown(9.9996f, 4), "10.0"); // rounded to three decimals first: 10.000
}

TEST(NumberDisplay, StringToValue)
{
    const Display display;
    float value = 7.0f;
    EXPECT_TRUE(display.StringToValue(AAX_CString("0.75"), &value));
    EXPECT_EQ(value, 0.75f);
    EXPECT_TRUE(display.StringToValue(AAX_CString("-3 dB"), &value));
    EXPECT_EQ(value, -3.0f);

    value = 7.0f;
    EXPECT_FALSE(display.StringToValue(AAX_CString(""), &value));
    EXPECT_EQ(value, 0.0f);
    value = 7.0f;
    EXPECT_FALSE(display.StringToValue(AAX_CString("abc"), &value));
    EXPECT_EQ(value, 0.0f);
    value = 7.0f;
    EXPECT_FALSE(display.StringToValue(AAX_CString("inf"), &value));
    EXPECT_EQ(value, 0.0f);

    // A double beyond the float range saturates.
    EXPECT_TRUE(display.StringToValue(AAX_CString("1e300"), &value));
    EXPECT_EQ(value, FLT_MAX);
    EXPECT_TRUE(display.StringToValue(AAX_CString("-1e300"), &value));
    EXPECT_EQ(value, -FLT_MAX);

    EXPECT_FALSE(display.StringToValue(AAX_CString("1"), nullptr));

    std::unique_ptr<AAX_IDisplayDelegate<float>> clone(display.Clone());
    EXPECT_TRUE(clone->StringToValue(AAX_CString("0.5"), &value));
    EXPECT_EQ(value, 0.5f);
}

} // namespace

// Many load / describe / unload cycles in one process: each leaves no live
// plug-in object and no host object held by the plug-in.
#include "Describe.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(BundleCycles, AHundredLoadDescribeUnloadCyclesLeaveNothingBehind)
{
    for (int cycle = 0; cycle < 100; ++cycle)
    {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        const aaxhost::tool::DescribeResult result = aaxhost::tool::describeBundle(TAMBRIX_BUNDLE);
        ASSERT_TRUE(result.loaded) << result.error;
        const aaxhost::tool::Json& report = result.report;
        ASSERT_EQ(report["register_result"].asInteger(), 0);
        ASSERT_EQ(report["effects"].size(), 1u);
        ASSERT_EQ(report["parameters"].size(), 2u);
        ASSERT_EQ(report["can_unload_now"].asInteger(), 0);
        ASSERT_EQ(report["host_objects_left"].asInteger(), 0);
        ASSERT_EQ(report["traces"].size(), 0u) << report["traces"].dump();
        ASSERT_TRUE(result.clean);
    }
}

} // namespace

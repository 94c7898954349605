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
        ASSERT_EQ(report.at("register_result").get<int64_t>(), 0);
        ASSERT_EQ(report.at("effects").size(), 1u);
        ASSERT_EQ(report.at("parameters").size(), 2u);
        ASSERT_EQ(report.at("can_unload_now").get<int64_t>(), 0);
        ASSERT_EQ(report.at("host_objects_left").get<int64_t>(), 0);
        ASSERT_EQ(report.at("traces").size(), 0u) << report.at("traces").dump();
        ASSERT_TRUE(result.clean);
    }
}

} // namespace

// The shell command runner: what the command writes and how it ended.
#include "subprocess.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(Subprocess, CollectsOutputAndExitStatus)
{
    const auto done = tambrix::test::run("printf 'one\\ntwo\\0three'; echo lost >&2; exit 3");
    EXPECT_EQ(done.exitCode, 3);
    EXPECT_EQ(done.out, std::string("one\ntwo\0three", 13));

    EXPECT_EQ(tambrix::test::run("exit 0").exitCode, 0);
    EXPECT_EQ(tambrix::test::run(tambrix::test::quoted("/bin/echo") + " 'a  b'").out, "a  b\n");
    EXPECT_EQ(tambrix::test::run("kill -9 $$").exitCode, -1); // killed, not exited
}

} // namespace

#pragma once

// Runs a program through the shell, as a user would from a terminal, and
// collects what it writes to standard output and how it ended.

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace tambrix::test
{

struct CommandOutput
{
    int exitCode = -1; // -1 when the command did not exit normally
    std::string out;
};

inline CommandOutput run(const std::string& command)
{
    CommandOutput result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// A path as one shell word.
inline std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

} // namespace tambrix::test

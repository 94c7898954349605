#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace tambrix::test
{

struct CommandOutput
{
    int exitCode = -1;
    std::string out;
};

// Runs a shell command and collects its standard output and exit status.
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

inline std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

} // namespace tambrix::test

// aaxhost: the host stand-in from the command line.
//
//   aaxhost describe BUNDLE [--json]
//   aaxhost render BUNDLE [--bypass] [options]   (RenderCommand.h)
//   aaxhost script BUNDLE SCRIPT|-                (ScriptCommand.h)
//
// BUNDLE is an `X.aaxplugin` folder or the shared object itself. Exit status:
// 0 when the plug-in behaved (see DescribeResult::clean), 1 when it loaded but
// did not, 2 on a usage error or when it could not be loaded.
#include "Describe.h"
#include "RenderCommand.h"
#include "ScriptCommand.h"

#include <iostream>
#include <vector>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
int usage()
{
    std::fprintf(stderr, "usage: aaxhost describe BUNDLE [--json]\n"
                         "       aaxhost render BUNDLE [--bypass] [tambrix-render options]\n"
                         "       aaxhost script BUNDLE SCRIPT|-\n"
                         "  BUNDLE: an X.aaxplugin folder or a plug-in shared object\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "-h" || command == "--help")
    {
        usage();
        return 0;
    }
    if (command == "render")
        return aaxhost::render::runRenderCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                                 std::cerr);
    if (command == "script")
        return aaxhost::script::runScriptCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                                                 std::cerr);
    if (command != "describe")
    {
        std::fprintf(stderr, "aaxhost: unknown command '%s'\n", command.c_str());
        return usage();
    }

    std::string bundle;
    bool json = false;
    for (int i = 2; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--json") == 0)
            json = true;
        else if (argv[i][0] == '-' && argv[i][1] != '\0')
        {
            std::fprintf(stderr, "aaxhost: unknown option '%s'\n", argv[i]);
            return usage();
        }
        else if (bundle.empty())
            bundle = argv[i];
        else
            return usage();
    }
    if (bundle.empty())
        return usage();

    const aaxhost::tool::DescribeResult result = aaxhost::tool::describeBundle(bundle);
    if (!result.loaded)
    {
        std::fprintf(stderr, "aaxhost: cannot load %s: %s\n", bundle.c_str(), result.error.c_str());
        return 2;
    }
    const std::string text = json ? result.report.dump(2) + "\n" : aaxhost::tool::describeText(result.report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return result.clean ? 0 : 1;
}

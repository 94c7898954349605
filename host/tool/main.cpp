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

#include "tambrix/text/Words.h"

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace
{

using Args = std::vector<std::string>;

int usage(std::ostream& err);

int describe(const Args& args, std::ostream& out, std::ostream& err)
{
    std::string bundle;
    bool json = false;
    for (const std::string& arg : args)
    {
        if (arg == "--json")
            json = true;
        else if (arg.size() > 1 && arg[0] == '-')
            return usage(err << "aaxhost: unknown option '" << tambrix::text::printable(arg) << "'\n");
        else if (bundle.empty())
            bundle = arg;
        else
            return usage(err);
    }
    if (bundle.empty())
        return usage(err);

    const aaxhost::tool::DescribeResult result = aaxhost::tool::describeBundle(bundle);
    if (!result.loaded)
    {
        err << "aaxhost: cannot load " << tambrix::text::printablePath(bundle) << ": " << result.error
            << "\n";
        return 2;
    }
    out << (json ? tambrix::text::jsonText(result.report, 2) + "\n"
                 : aaxhost::tool::describeText(result.report));
    return result.clean ? 0 : 1;
}

struct Command
{
    const char* name;
    int (*run)(const Args& args, std::ostream& out, std::ostream& err);
    std::size_t minArgs;
    std::size_t maxArgs;
    const char* usage; // the arguments
};

const Command commands[] = {
    {"describe", describe, 0, SIZE_MAX, "BUNDLE [--json]"},
    {"render", aaxhost::render::runRenderCommand, 0, SIZE_MAX, "BUNDLE [--bypass] [tambrix-render options]"},
    {"script", aaxhost::script::runScriptCommand, 2, 2, "BUNDLE SCRIPT|-"},
};

int usage(std::ostream& err)
{
    const char* lead = "usage: ";
    for (const Command& command : commands)
    {
        err << lead << "aaxhost " << command.name << " " << command.usage << "\n";
        lead = "       ";
    }
    err << "  BUNDLE: an X.aaxplugin folder or a plug-in shared object\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage(std::cerr);
    const std::string name = argv[1];
    if (name == "-h" || name == "--help")
    {
        usage(std::cerr);
        return 0;
    }
    const Args args(argv + 2, argv + argc);
    for (const Command& command : commands)
    {
        if (name != command.name)
            continue;
        if (args.size() < command.minArgs || args.size() > command.maxArgs)
        {
            std::cerr << "usage: aaxhost " << command.name << " " << command.usage << "\n";
            return 2;
        }
        return command.run(args, std::cout, std::cerr);
    }
    return usage(std::cerr << "aaxhost: unknown command '" << tambrix::text::printable(name) << "'\n");
}

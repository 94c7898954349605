// aaxhost: the host stand-in from the command line.
//
//   aaxhost describe BUNDLE [--json]
//   aaxhost render BUNDLE [--bypass] [options]   (RenderCommand.h)
//   aaxhost script BUNDLE SCRIPT|-                (ScriptCommand.h)
//
// BUNDLE is an `X.aaxplugin` folder or the shared object itself. Exit status
// (tambrix::io::ExitStatus): 0 when the plug-in behaved (see
// DescribeResult::clean), 1 when it failed while running (it loaded but did not
// behave, or an output could not be written), 2 on a usage error or an input or
// output that cannot be used (a bundle that cannot be loaded among them).
// -h or --help, alone or right after a command, prints the usage on standard output.
#include "Describe.h"
#include "RenderCommand.h"
#include "ScriptCommand.h"

#include "tambrix/io/Output.h"

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
            return usage(err << "aaxhost describe: unknown option '" << tambrix::text::printable(arg)
                             << "'\n");
        else if (bundle.empty())
            bundle = arg;
        else
            return usage(err << "aaxhost describe: more than one BUNDLE\n");
    }
    if (bundle.empty())
        return usage(err << "aaxhost describe: missing BUNDLE\n");

    const aaxhost::tool::DescribeResult result = aaxhost::tool::describeBundle(bundle);
    if (!result.loaded)
    {
        err << "aaxhost describe: " << result.error << "\n";
        return tambrix::io::exitUsage;
    }
    out << (json ? tambrix::text::jsonText(result.report, 2) + "\n"
                 : aaxhost::tool::describeText(result.report));
    return result.clean ? tambrix::io::exitSuccess : tambrix::io::exitFailure;
}

struct Command
{
    const char* name;
    int (*run)(const Args& args, std::ostream& out, std::ostream& err);
    std::size_t minArgs, maxArgs;
    const char* usage;     // the arguments
    std::string (*help)(); // the whole usage text, or null for the usage line
};

const Command commands[] = {
    {"describe", describe, 0, SIZE_MAX, "BUNDLE [--json]", nullptr},
    {"render", aaxhost::render::runRenderCommand, 0, SIZE_MAX, "BUNDLE [--bypass] [tambrix-render options]",
     aaxhost::render::renderUsage},
    {"script", aaxhost::script::runScriptCommand, 2, 2, "BUNDLE SCRIPT|-", nullptr},
};

const char* const bundleNote = "  BUNDLE: an X.aaxplugin folder or a plug-in shared object\n";

std::string usageText()
{
    std::string text;
    const char* lead = "usage: ";
    for (const Command& command : commands)
    {
        text += std::string(lead) + "aaxhost " + command.name + " " + command.usage + "\n";
        lead = "       ";
    }
    return text + "       aaxhost --help\n" + bundleNote;
}

int usage(std::ostream& err)
{
    err << usageText();
    return tambrix::io::exitUsage;
}

bool isHelp(const std::string& arg)
{
    return arg == "-h" || arg == "--help";
}

int run(int argc, char** argv)
{
    if (argc < 2)
        return usage(std::cerr << "aaxhost: missing command\n");
    const std::string name = argv[1];
    if (isHelp(name))
    {
        std::cout << usageText();
        return tambrix::io::exitSuccess;
    }
    const Args args(argv + 2, argv + argc);
    for (const Command& command : commands)
    {
        if (name != command.name)
            continue;
        if (!args.empty() && isHelp(args[0]))
        {
            std::cout << (command.help != nullptr
                              ? command.help()
                              : "usage: aaxhost " + name + " " + command.usage + "\n" + bundleNote);
            return tambrix::io::exitSuccess;
        }
        if (args.size() < command.minArgs || args.size() > command.maxArgs)
        {
            std::cerr << "aaxhost " << command.name << ": "
                      << (args.size() < command.minArgs ? "too few" : "too many")
                      << " arguments\nusage: aaxhost " << command.name << " " << command.usage << "\n";
            return tambrix::io::exitUsage;
        }
        return command.run(args, std::cout, std::cerr);
    }
    return usage(std::cerr << "aaxhost: unknown command '" << tambrix::text::printable(name) << "'\n");
}

} // namespace

int main(int argc, char** argv)
{
    return tambrix::io::runTool("aaxhost", argc, argv, run);
}

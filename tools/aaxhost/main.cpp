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
// -h or --help wherever an option may stand prints the usage (of the command,
// when one is named before it) on standard output.
#include "BundleArgument.h"
#include "Describe.h"
#include "RenderCommand.h"
#include "ScriptCommand.h"

#include "tambrix/io/Tool.h"
#include "tambrix/text/Words.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace
{

using Args = std::vector<std::string>;

struct Command
{
    const char* name;
    // Runs the command on the arguments after its name, -h and --help included.
    int (*run)(const Args& args, std::ostream& out, std::ostream& err);
    const char* arguments; // as the usage line shows them
};

const Command commands[] = {
    {"describe", aaxhost::tool::runDescribeCommand, "BUNDLE [--json]"},
    {"render", aaxhost::tool::runRenderCommand, "BUNDLE [--bypass] [tambrix-render options]"},
    {"script", aaxhost::script::runScriptCommand, "BUNDLE SCRIPT|-"},
};

std::string usageText()
{
    std::string text;
    const char* lead = "usage: ";
    for (const Command& command : commands)
    {
        text += std::string(lead) + "aaxhost " + command.name + " " + command.arguments + "\n";
        lead = "       ";
    }
    return text + "       aaxhost --help\n" + aaxhost::tool::bundleNote;
}

int run(int argc, char** argv)
{
    const Args args(argv + 1, argv + argc);
    const Command* command = args.empty()
                                 ? nullptr
                                 : std::find_if(std::begin(commands), std::end(commands),
                                                [&args](const Command& c) { return args[0] == c.name; });
    if (command == std::end(commands))
        command = nullptr;
    if (command == nullptr && std::any_of(args.begin(), args.end(), tambrix::io::isHelp))
    {
        std::cout << usageText();
        return tambrix::io::exitSuccess;
    }
    if (command == nullptr)
        return tambrix::io::usageError(std::cerr, "aaxhost",
                                       args.empty()
                                           ? "missing command"
                                           : "unknown command '" + tambrix::text::printable(args[0]) +
                                                 "' (describe, render or script)");
    tambrix::io::setToolName(std::string("aaxhost ") + command->name);
    return command->run(Args(args.begin() + 1, args.end()), std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    return tambrix::io::runTool("aaxhost", argc, argv, run);
}

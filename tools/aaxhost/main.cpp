// aaxhost: the host stand-in from the command line, one command a run (describe,
// render, script: the table below), ending as every tool ends (tambrix/io/Tool.h).
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

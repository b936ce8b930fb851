// qelhost: a command-line stand-in for the catalogue program. It loads the
// plug-in by its file name and calls one of its six exports with arguments
// from the command line, or writes and shows host part block files.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "tools/qelhost/ExportCall.h"
#include "tools/qelhost/HostCommandLine.h"
#include "tools/qelhost/PartCommands.h"
#include "tools/qelhost/PluginHost.h"

using namespace qel::test;

namespace
{

int RunPartCommand(const CHostCommandLine& commandLine)
{
    const std::vector<std::string>& args = commandLine.Arguments();
    if (commandLine.Command() == "make-part")
        return MakePart(args[0], args[1]);
    return ShowPart(args[0]);
}

int RunExportCommand(const CHostCommandLine& commandLine)
{
    CExportCall call;
    std::string error;
    if (!call.Prepare(commandLine, error))
    {
        std::fprintf(stderr, "qelhost: %s\n", error.c_str());
        return kExitUsage;
    }
    CPluginHost host;
    for (const std::string& path : commandLine.Preloads())
    {
        if (!host.Preload(path, error))
        {
            std::fprintf(stderr, "qelhost: %s\n", error.c_str());
            return kExitNotLoadable;
        }
    }
    if (!host.LoadPlugin(commandLine.PluginPath(), error))
    {
        std::fprintf(stderr, "qelhost: %s\n", error.c_str());
        return kExitNotLoadable;
    }
    return call.Run(host);
}

} // namespace

int main(int argc, char** argv)
{
    // Lines end in a bare line feed, on a console and in a pipe alike.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    CHostCommandLine commandLine;
    std::string error;
    if (!commandLine.Parse(argc, argv, error))
    {
        std::fprintf(stderr, "qelhost: %s\n%s", error.c_str(), CHostCommandLine::Usage());
        return kExitUsage;
    }
    if (!commandLine.IsExportCommand())
        return RunPartCommand(commandLine);
    return RunExportCommand(commandLine);
}

// The command line of qelhost:
//   qelhost [--plugin PATH] [--preload PATH]... COMMAND ARGUMENTS...
// COMMAND is one of the six exports of the plug-in, make-part or show-part.
#pragma once

#include <string>
#include <vector>

namespace qel::test
{

// Exit codes of qelhost.
enum HostExitCode
{
    kExitCalled = 0,      // the export was called (whatever it returned); make/show-part done
    kExitPartError = 1,   // make-part or show-part: bad description or block
    kExitUsage = 2,       // bad command line or unreadable input file
    kExitNotLoadable = 3, // plug-in, preloaded library or export could not be loaded
    kExitBufferFault = 4, // the export wrote past its buffer or left it unterminated
};

class CHostCommandLine
{
public:
    // False with the reason in error when the options, the command or the
    // number of its arguments are wrong.
    bool Parse(int argc, char** argv, std::string& error);

    // The plug-in to load: the --plugin path, else "QelSW99_3D.dll".
    const std::string& PluginPath() const { return m_pluginPath; }
    const std::vector<std::string>& Preloads() const { return m_preloads; }
    const std::string& Command() const { return m_command; }
    const std::vector<std::string>& Arguments() const { return m_arguments; }
    bool IsExportCommand() const;

    static const char* Usage();

private:
    std::string m_pluginPath = "QelSW99_3D.dll";
    std::vector<std::string> m_preloads;
    std::string m_command;
    std::vector<std::string> m_arguments;
};

} // namespace qel::test

#include "tests/tools/ChildProcess.h"

#include <windows.h>

#include <memory>

#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"

namespace qel::test
{

namespace
{

struct HandleCloser
{
    void operator()(HANDLE handle) const
    {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

std::string Quote(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    return "\"" + argument + "\"";
}

OwnedHandle InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
    return OwnedHandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

ProcessOutcome RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder)
{
    CScratchFolder folder;
    ProcessOutcome outcome;
    std::string commandLine = Quote(program);
    for (const std::string& argument : arguments)
        commandLine += " " + Quote(argument);
    {
        OwnedHandle output = InheritableFile(folder.PathOf("stdout.txt"));
        OwnedHandle errors = InheritableFile(folder.PathOf("stderr.txt"));
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output.get();
        startup.hStdError = errors.get();
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                            &process))
            return outcome;
        OwnedHandle processHandle(process.hProcess);
        OwnedHandle threadHandle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        outcome.exitCode = static_cast<int>(exitCode);
    }
    outcome.output = ReadFileText(folder.PathOf("stdout.txt"));
    outcome.errors = ReadFileText(folder.PathOf("stderr.txt"));
    return outcome;
}

} // namespace qel::test

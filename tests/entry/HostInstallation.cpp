#include "HostInstallation.h"

#include <sstream>
#include <stdexcept>

#include <windows.h>

#include "common/WinOwners.h"

namespace qel::test
{

namespace
{

std::string FileNameOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string QuoteArgument(const std::string& argument)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument)
    {
        if (c == '\\')
        {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

// What the child wrote until it ended. Reading stops when the child ends,
// not when the pipe closes: a process the child started (Wine's desktop
// process, say) may hold the write end for much longer.
std::string ReadAll(HANDLE pipe, HANDLE process)
{
    std::string text;
    char chunk[4096];
    for (bool ended = false; !ended;)
    {
        ended = WaitForSingleObject(process, 20) == WAIT_OBJECT_0;
        DWORD available = 0;
        while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0)
        {
            DWORD got = 0;
            if (!ReadFile(pipe, chunk, sizeof(chunk), &got, nullptr) || got == 0)
                break;
            text.append(chunk, got);
        }
    }
    std::string clean;
    for (char c : text)
        if (c != '\r')
            clean += c;
    return clean;
}

} // namespace

CHostInstallation::CHostInstallation(const std::vector<std::string>& files)
{
    std::vector<std::string> all = {"qelhost.exe", "QelSW99_3D.dll"};
    all.insert(all.end(), files.begin(), files.end());
    for (const std::string& file : all)
    {
        std::string source = BinFolder() + "\\" + file;
        for (char& c : source)
            if (c == '/')
                c = '\\';
        if (!CopyFileA(source.c_str(), PathOf(FileNameOf(file)).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + source);
    }
}

HostRun CHostInstallation::Run(const std::vector<std::string>& arguments,
                               const std::string& workingDirectory) const
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        throw std::runtime_error("cannot create a pipe");
    CHandle reader(readEnd);
    CHandle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = QuoteArgument(PathOf("qelhost.exe"));
    for (const std::string& argument : arguments)
        commandLine += " " + QuoteArgument(argument);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string directory = workingDirectory.empty() ? m_folder.Path() : workingDirectory;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        directory.c_str(), &startup, &process))
        throw std::runtime_error("cannot start qelhost.exe");
    CHandle processHandle(process.hProcess);
    CHandle threadHandle(process.hThread);
    writer.Reset(); // the child holds the only write end now

    HostRun run;
    run.output = ReadAll(readEnd, process.hProcess);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

std::string OutputField(const std::string& output, const std::string& key)
{
    std::istringstream lines(output);
    std::string line;
    std::string prefix = key + ": ";
    while (std::getline(lines, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return line.substr(prefix.size());
    return std::string();
}

} // namespace qel::test

#include "HostInstallation.h"

#include <cstdio>
#include <fstream>
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

std::string ReadAll(HANDLE pipe)
{
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(pipe, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        text.append(chunk, got);
    std::string clean;
    for (char c : text)
        if (c != '\r')
            clean += c;
    return clean;
}

} // namespace

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

CScratchFolder::CScratchFolder(const std::string& name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "qel-" + name + "-" + std::to_string(GetCurrentProcessId());
    RemoveTree(m_path);
    if (!CreateDirectoryA(m_path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + m_path);
}

CScratchFolder::~CScratchFolder()
{
    RemoveTree(m_path);
}

CHostInstallation::CHostInstallation(const std::vector<std::string>& files)
{
    static int s_serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "qel-host-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++s_serial);
    RemoveTree(m_folder);
    CreateDirectoryA(m_folder.c_str(), nullptr);
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

CHostInstallation::~CHostInstallation()
{
    RemoveTree(m_folder);
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
    std::string directory = workingDirectory.empty() ? m_folder : workingDirectory;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        directory.c_str(), &startup, &process))
        throw std::runtime_error("cannot start qelhost.exe");
    CHandle processHandle(process.hProcess);
    CHandle threadHandle(process.hThread);
    writer.Reset(); // the child holds the only write end now

    HostRun run;
    run.output = ReadAll(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    return run;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
            {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
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

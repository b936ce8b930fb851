// contentionhost.exe: a catalogue host for the tests of one part directory
// shared by several workstations (tests/contention/contention.sh runs it in
// two Wine prefixes at once; see README.md).
//   contentionhost race HOST ROUNDS START PERIOD SEED
//       ROUNDS insertions of parts 0..19, round k starting at START + k *
//       PERIOD (milliseconds of the system clock, which every prefix shares).
//       Every other round all hosts take the same part (picked from SEED),
//       the others one of their own. Prints "round K part P existed E result R"
//       per call; exit code 0 when every call returned 1.
//   contentionhost insert PART       one insertion; prints result and error text
//   contentionhost hold DIR MARKER   holds DIR's lock until killed (MARKER
//       is written once it is held)
//   contentionhost verify DIR        every part file's imported SAT identity
//       equals its properties and its name; the lock is free. Exit code 0 when so.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

#include "cad/PartDirectoryLock.h"
#include "entry/QelSW99_3D.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/PartBlockBuilder.h"

namespace
{

constexpr int kParts = 20;

std::string Designation(int part)
{
    char text[16];
    std::snprintf(text, sizeof(text), "Part%02d", part);
    return text;
}

std::vector<uint8_t> PartBlock(int part)
{
    qel::test::CPartBlockBuilder builder;
    builder.AddAttribute("Designation", Designation(part));
    builder.AddAttribute("Standard", "DIN933");
    return builder.Build();
}

std::string PartFileName(int part)
{
    return Designation(part) + "_DIN933.SLDPRT";
}

// The part directory of the settings, as the plug-in reads it.
std::string PartDirectory()
{
    char directory[MAX_PATH] = {};
    GetPrivateProfileStringA("Options", "PartPath", "", directory, sizeof(directory),
                             "QelSW99_3D.ini");
    std::string text = directory;
    if (!text.empty() && text.back() != '\\')
        text += '\\';
    return text;
}

long long NowMs()
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return static_cast<long long>(
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000);
}

QelCreate2Proc LoadCreate2()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string plugin = path;
    plugin = plugin.substr(0, plugin.find_last_of('\\') + 1) + "QelSW99_3D.dll";
    HMODULE module = LoadLibraryA(plugin.c_str()); // kept for the life of the host
    return module != nullptr ? reinterpret_cast<QelCreate2Proc>(
                                   reinterpret_cast<void*>(GetProcAddress(module, "QelCreate_2")))
                             : nullptr;
}

int Insert(QelCreate2Proc create, int part, std::string* error)
{
    const std::vector<uint8_t> block = PartBlock(part);
    char buffer[1024] = {};
    const int result = create(block.data(), "ShowMessages=0", buffer, sizeof(buffer));
    *error = buffer;
    return result;
}

unsigned Mix(unsigned value)
{
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    return value ^ (value >> 16);
}

int Race(QelCreate2Proc create, int host, int rounds, long long start, int period, unsigned seed)
{
    int failures = 0;
    const std::string directory = PartDirectory();
    for (int round = 0; round < rounds; ++round)
    {
        const long long wait = start + static_cast<long long>(round) * period - NowMs();
        if (wait > 0)
            Sleep(static_cast<DWORD>(wait));
        const unsigned pick = round % 2 == 0 ? Mix(seed * 1000u + round)
                                             : Mix(seed * 1000u + round + 7919u * (host + 1));
        const int part = static_cast<int>(pick % kParts);
        const bool existed = qel::test::FileExists(directory + PartFileName(part));
        std::string error;
        const int result = Insert(create, part, &error);
        std::printf("round %d part %d existed %d result %d%s%s\n", round, part, existed ? 1 : 0,
                    result, error.empty() ? "" : " error ", error.c_str());
        failures += result == 1 ? 0 : 1;
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

// "sat" identity and "name=value;..." properties of a simulator document file.
bool PartFileMatches(const std::string& directory, const std::string& name)
{
    const std::string text = qel::test::ReadFileText(directory + name);
    const std::size_t sat = text.find(" sat=\"");
    const std::size_t satEnd = sat == std::string::npos ? sat : text.find("\"\r\n", sat + 6);
    if (satEnd == std::string::npos)
        return false;
    std::string properties;
    std::string values;
    for (std::size_t line = satEnd + 3; line < text.size();)
    {
        const std::size_t end = text.find("\r\n", line);
        const std::string property = text.substr(line, end - line);
        properties += (properties.empty() ? "" : ";") + property;
        values += (values.empty() ? "" : "_") + property.substr(property.find('=') + 1);
        line = end == std::string::npos ? text.size() : end + 2;
    }
    return text.substr(sat + 6, satEnd - sat - 6) == properties && values + ".SLDPRT" == name;
}

int Verify(const std::string& directory)
{
    int parts = 0;
    int wrong = 0;
    const std::string folder = directory.substr(0, directory.find_last_not_of('\\') + 1);
    for (const std::string& name : qel::test::FileNamesIn(folder))
    {
        if (name.size() < 7 || name.compare(name.size() - 7, 7, ".SLDPRT") != 0)
            continue;
        ++parts;
        if (!PartFileMatches(directory, name))
        {
            ++wrong;
            std::printf("wrong part: %s\n%s\n", name.c_str(),
                        qel::test::ReadFileText(directory + name).c_str());
        }
    }
    qel::CPartDirectoryLock lock(directory.c_str());
    const bool free = lock.TryAcquire() == qel::WaitOutcome::Done;
    std::printf("parts %d wrong %d lock %s\n", parts, wrong, free ? "free" : "held");
    return parts > 0 && wrong == 0 && free ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "verify" && argc == 3)
        return Verify(argv[2]);
    if (mode == "hold" && argc == 4)
    {
        qel::CPartDirectoryLock lock(argv[2]);
        if (lock.TryAcquire() != qel::WaitOutcome::Done)
            return 1;
        std::ofstream(argv[3]) << "held\n";
        Sleep(INFINITE);
    }
    QelCreate2Proc create = LoadCreate2();
    if (create == nullptr)
        return 3;
    if (mode == "insert" && argc == 3)
    {
        std::string error;
        const int result = Insert(create, std::atoi(argv[2]), &error);
        std::printf("result %d%s%s\n", result, error.empty() ? "" : " error ", error.c_str());
        return result == 1 ? 0 : 1;
    }
    if (mode == "race" && argc == 7)
        return Race(create, std::atoi(argv[2]), std::atoi(argv[3]), std::atoll(argv[4]),
                    std::atoi(argv[5]), static_cast<unsigned>(std::atoi(argv[6])));
    std::fprintf(stderr, "usage: contentionhost race HOST ROUNDS START PERIOD SEED | insert PART "
                         "| hold DIR MARKER | verify DIR\n");
    return 2;
}

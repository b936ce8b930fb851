// Stand-in for the maker's SAT writer QelSatWr.dll: remembers the save version
// and writes a small SAT text file holding the attributes of the host part
// block. The block is read only within the total size at its offset 0.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "tools/partblock/PartBlockReader.h"
#include "tools/qelmain/StandinLog.h"
#include "tools/qelsatwr/SatFileText.h"

using qel::test::AppendStandinLog;
using qel::test::CPartBlockReader;
using qel::test::LogText;

// The variant with a dependency of its own imports this from qeldep.dll.
#ifdef QEL_STANDIN_WITH_DEPENDENCY
extern "C" __declspec(dllimport) int __stdcall QelSatWrDependency_Version();
#endif

// An older or foreign build of the writer: the same functions, __cdecl (the
// caller removes the arguments).
#ifdef QEL_STANDIN_CDECL
#define QEL_STANDIN_CALL __cdecl
#else
#define QEL_STANDIN_CALL __stdcall
#endif

namespace
{

const char kLibrary[] = "QelSatWr.dll";

// The save version of this load of the library; none until SaveVersion.
struct SaveVersion
{
    bool set = false;
    int major = 0;
    int minor = 0;
};
SaveVersion g_saveVersion;

int LogCall(const std::string& call, int result)
{
    AppendStandinLog(std::string(kLibrary) + " " + call + " -> " + std::to_string(result));
    return result;
}

std::string CurrentDate()
{
    std::time_t now = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y", std::localtime(&now));
    return text;
}

// The part's attributes, or false when the block is not a readable part.
bool ReadPart(const void* block, qel::test::CSatFileText& sat)
{
    if (block == nullptr)
        return false;
    const uint8_t* data = static_cast<const uint8_t*>(block);
    uint32_t totalSize = 0;
    std::memcpy(&totalSize, data, sizeof totalSize);
    CPartBlockReader reader;
    std::vector<CPartBlockReader::Attribute> attributes;
    std::string error;
    if (!reader.Read(data, totalSize) || !reader.HasStandardFormat() ||
        !reader.Attributes(attributes, error))
        return false;
    for (const CPartBlockReader::Attribute& attribute : attributes)
        sat.AddAttribute(attribute.name, attribute.value);
    return true;
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool WriteWholeFile(const char* fileName, const std::string& text)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "wb"));
    if (!file)
        return false;
#ifdef QEL_STANDIN_FAILS_HALFWAY
    // A writer that fails in the middle (a full disk, a geometry fault): the
    // file is cut where it stopped.
    std::fwrite(text.data(), 1, text.size() / 2, file.get());
    return false;
#endif
    bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    // Closing flushes: a failure there is a failed write too.
    return std::fclose(file.release()) == 0 && written;
}

[[maybe_unused]] int CreateSatFile(const void* block, const char* fileName)
{
    if (!g_saveVersion.set || fileName == nullptr || fileName[0] == '\0')
        return 0;
    qel::test::CSatFileText sat(g_saveVersion.major, g_saveVersion.minor);
    if (!ReadPart(block, sat))
        return 0;
    return WriteWholeFile(fileName, sat.Text(CurrentDate())) ? 1 : 0;
}

} // namespace

extern "C"
{

    int QEL_STANDIN_CALL QelSatWriter_SaveVersion(int major, int minor)
    {
#ifdef QEL_STANDIN_WITH_DEPENDENCY
        QelSatWrDependency_Version(); // the import must be resolved at load time
#endif
        std::string call = "SaveVersion " + std::to_string(major) + " " + std::to_string(minor);
#ifdef QEL_STANDIN_SAVEVERSION_FAILS
        return LogCall(call, 0);
#else
        if (major < 1 || major > 99 || minor < 0 || minor > 99)
            return LogCall(call, 0);
        g_saveVersion = SaveVersion{true, major, minor};
        return LogCall(call, 1);
#endif
    }

#ifndef QEL_STANDIN_NO_CREATESATFILE
    int QEL_STANDIN_CALL QelSatWriter_CreateSatFile(const void* block, const char* fileName)
    {
        return LogCall("CreateSatFile " + LogText(fileName), CreateSatFile(block, fileName));
    }
#endif

    BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
    {
        if (reason == DLL_PROCESS_ATTACH)
            AppendStandinLog(std::string(kLibrary) + " attach");
        else if (reason == DLL_PROCESS_DETACH)
            AppendStandinLog(std::string(kLibrary) + " detach");
        return TRUE;
    }

} // extern "C"

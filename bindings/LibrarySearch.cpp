#include "bindings/LibrarySearch.h"

#include <atomic>
#include <cstring>
#include <string>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/Trace.h"
#include "common/WinOwners.h"

// The image header of the module that holds this code (the linker's symbol).
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace qel
{

namespace
{

// Keeps the folder of a full file name; false when there is none.
bool CutToFolder(char* path)
{
    const std::size_t lastSeparator = FindLastSeparator(path);
    if (lastSeparator == std::string::npos)
        return false;
    path[lastSeparator] = '\0';
    return true;
}

// The full file name of module; false when it does not fit.
bool ModulePath(HMODULE module, char* buffer, std::size_t size)
{
    DWORD length = GetModuleFileNameA(module, buffer, static_cast<DWORD>(size));
    // A name that fills the buffer was cut.
    return length != 0 && length < size;
}

// The folder of module's file; false when the name does not fit.
bool ModuleFolder(HMODULE module, char* buffer, std::size_t size)
{
    return ModulePath(module, buffer, size) && CutToFolder(buffer);
}

bool PluginFolder(char* buffer, std::size_t size)
{
    // The module's own base address is its handle, on every Windows version.
    return ModuleFolder(reinterpret_cast<HMODULE>(&__ImageBase), buffer, size);
}

bool SystemFolder(char* buffer, std::size_t size)
{
    UINT length = GetSystemDirectoryA(buffer, static_cast<UINT>(size));
    return length != 0 && length < size;
}

// folder + "\" + fileName into path; false when the whole does not fit (a cut
// path could name another file).
bool JoinPath(char* path, std::size_t size, const char* folder, const char* fileName)
{
    std::size_t length = CopyBounded(path, size, folder);
    if (length == 0 || BoundedLength(folder, size) != length)
        return false;
    length = AppendSeparatorIfMissing(path, size);
    std::size_t nameLength = BoundedLength(fileName, size);
    return length + nameLength < size && AppendBounded(path, size, fileName) == length + nameLength;
}

bool IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Set by tests only: takes the way of systems without the restricted flags.
std::atomic<bool> g_forceAlteredSearchPath{false};

// Held while a load moves the process's one current directory: two host
// threads loading at once would each put back what the other had set, and
// leave the process in a library's folder.
std::atomic_flag g_currentDirectoryMoved = ATOMIC_FLAG_INIT;

class CMovedDirectoryTurn
{
public:
    CMovedDirectoryTurn()
    {
        while (g_currentDirectoryMoved.test_and_set(std::memory_order_acquire))
            Sleep(1);
    }
    CMovedDirectoryTurn(const CMovedDirectoryTurn&) = delete;
    CMovedDirectoryTurn& operator=(const CMovedDirectoryTurn&) = delete;
    ~CMovedDirectoryTurn() { g_currentDirectoryMoved.clear(std::memory_order_release); }
};

// Without the restricted flags (Windows 2000, XP before SP2) the library's
// dependencies are looked for in its folder, then in the usual order, which
// there takes the current directory before the system folder. The library's
// own folder stands in for the current directory during the load.
HMODULE LoadLibraryAltered(const char* path)
{
    char folder[MAX_PATH];
    const CMovedDirectoryTurn turn; // taken before the directory is saved, given back after
    const CCurrentDirectory restore;
    if (!restore.IsSaved() || CopyBounded(folder, sizeof folder, path) != std::strlen(path) ||
        !CutToFolder(folder) || !SetCurrentDirectoryA(folder))
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Loads the library at path. Its own dependencies come from its folder and
// the system folder only, never from the current directory (a part folder
// anybody may write to).
HMODULE LoadLibraryRestricted(const char* path)
{
    if (g_forceAlteredSearchPath)
        return LoadLibraryAltered(path);
    HMODULE module = LoadLibraryExA(
        path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryAltered(path);
    return module;
}

// A library of this name that the host has loaded already (its own
// QelMain.dll, from a folder of its own): one more reference on that copy, so
// that the plug-in shares its state instead of loading a second one.
HMODULE ReferenceLoadedLibrary(const char* fileName)
{
    HMODULE loaded = GetModuleHandleA(fileName);
    char path[MAX_PATH];
    if (loaded == nullptr || !ModulePath(loaded, path, sizeof path))
        return nullptr;
    HMODULE module = LoadLibraryRestricted(path);
    if (module != nullptr)
        CTrace::Line("library already loaded by the host: %s", path);
    return module;
}

} // namespace

bool GetLibrarySearchFolder(int index, char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return false;
    switch (index)
    {
    case 0:
        return ModuleFolder(nullptr, buffer, size);
    case 1:
        return PluginFolder(buffer, size);
    case 2:
        return SystemFolder(buffer, size);
    default:
        return false;
    }
}

void ForceAlteredSearchPathForTests(bool force)
{
    g_forceAlteredSearchPath = force;
}

HMODULE LoadLibraryFromSearchFolders(const char* fileName, DWORD& errorCode)
{
    if (HMODULE module = ReferenceLoadedLibrary(fileName))
    {
        errorCode = ERROR_SUCCESS;
        return module;
    }
    std::string searched; // for the trace
    for (int i = 0; i < kLibrarySearchFolderCount; ++i)
    {
        char folder[MAX_PATH];
        char path[MAX_PATH];
        const bool known = GetLibrarySearchFolder(i, folder, sizeof folder);
        if (CTrace::IsOn())
            searched.append(searched.empty() ? "" : ", ").append(known ? folder : "(unknown)");
        if (!known || !JoinPath(path, sizeof path, folder, fileName) || !IsFile(path))
            continue;
        // The first file found is the one: a broken library is reported, not
        // replaced by another copy further down the list.
        HMODULE module = LoadLibraryRestricted(path);
        errorCode = module != nullptr ? ERROR_SUCCESS : GetLastError();
        if (module != nullptr)
            CTrace::Line("library loaded: %s", path);
        else
            CTrace::Line("library not loaded: %s (error %lu)", path, errorCode);
        return module;
    }
    errorCode = ERROR_MOD_NOT_FOUND;
    CTrace::Line("library %s: not found in %s", fileName, searched.c_str());
    return nullptr;
}

} // namespace qel

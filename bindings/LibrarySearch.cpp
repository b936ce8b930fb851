#include "bindings/LibrarySearch.h"

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/Trace.h"

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

// The folder of module's file; false when the name does not fit.
bool ModuleFolder(HMODULE module, char* buffer, std::size_t size)
{
    DWORD length = GetModuleFileNameA(module, buffer, static_cast<DWORD>(size));
    // A name that fills the buffer was cut.
    if (length == 0 || length >= size)
        return false;
    return CutToFolder(buffer);
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

// Loads the library at path. Its own dependencies come from its folder and
// the system folder only, never from the current directory (a part folder
// anybody may write to). Systems without the restricted search flags fall
// back to the library's folder first, then the usual order.
HMODULE LoadLibraryRestricted(const char* path)
{
    HMODULE module = LoadLibraryExA(
        path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
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

HMODULE LoadLibraryFromSearchFolders(const char* fileName, DWORD& errorCode)
{
    for (int i = 0; i < kLibrarySearchFolderCount; ++i)
    {
        char folder[MAX_PATH];
        char path[MAX_PATH];
        if (!GetLibrarySearchFolder(i, folder, sizeof folder) ||
            !JoinPath(path, sizeof path, folder, fileName) || !IsFile(path))
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
    CTrace::Line("library %s: not found in the search folders", fileName);
    return nullptr;
}

} // namespace qel

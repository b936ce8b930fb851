// Where the maker's libraries are loaded from. A library the host has loaded
// already (its own QelMain.dll, from wherever) is the one used. Otherwise they
// are looked for by full path in the host's application folder, then in the
// plug-in's own folder, then in the system folder, and never in the process's
// current directory: the plug-in itself moves that into part folders, where a
// planted library must not be picked up. The process-wide library search path
// is left alone.
#pragma once

#include <cstddef>

#include <windows.h>

namespace qel
{

// Number of folders searched, in order: 0 the host's application folder (the
// folder of the process's program), 1 the folder of the module holding this
// code (the plug-in), 2 the system folder.
constexpr int kLibrarySearchFolderCount = 3;

// Writes search folder index (no trailing separator) into buffer. False when
// the folder is unknown or does not fit.
bool GetLibrarySearchFolder(int index, char* buffer, std::size_t size);

// Loads the library fileName: the copy the process has loaded already (the
// host's own), else the one of the first search folder that holds it, whose
// own dependencies are then looked for in its folder first. Returns null on
// failure, with errorCode set: ERROR_MOD_NOT_FOUND (126) when no folder holds
// the file, else the error of the failed load.
HMODULE LoadLibraryFromSearchFolders(const char* fileName, DWORD& errorCode);

// Tests only: loads as on systems that lack the restricted search flags.
void ForceAlteredSearchPathForTests(bool force);

} // namespace qel

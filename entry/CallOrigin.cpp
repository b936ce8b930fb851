#include "entry/CallOrigin.h"

#include <cstring>

#include <windows.h>

#include "common/BoundedString.h"

// The image header of the module that holds this code (the linker's symbol).
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace qel
{

namespace
{

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    return length != 0 && length < sizeof path ? std::string(path, length) : std::string("?");
}

// The file version of the module's version resource ("1.0.0.0").
std::string FileVersion(HMODULE module)
{
    const HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO),
                                     MAKEINTRESOURCEA(16)); // RT_VERSION
    const HGLOBAL loaded = info != nullptr ? LoadResource(module, info) : nullptr;
    const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = info != nullptr ? SizeofResource(module, info) : 0;
    // The fixed part follows the block's header and key, 32-bit aligned.
    for (DWORD offset = 0; data != nullptr && offset + sizeof(VS_FIXEDFILEINFO) <= size;
         offset += 4)
    {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, data + offset, sizeof fixed);
        if (fixed.dwSignature != 0xFEEF04BD)
            continue;
        char text[48];
        FormatBounded(text, sizeof text, "%u.%u.%u.%u", unsigned{HIWORD(fixed.dwFileVersionMS)},
                      unsigned{LOWORD(fixed.dwFileVersionMS)},
                      unsigned{HIWORD(fixed.dwFileVersionLS)},
                      unsigned{LOWORD(fixed.dwFileVersionLS)});
        return text;
    }
    return "?";
}

// The version the system tells this program (Windows 8.1 and later tell a
// program without a manifest 6.2).
std::string WindowsVersion()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return "?";
    char servicePack[sizeof version.szCSDVersion + 1] = {};
    CopyBounded(servicePack, sizeof servicePack, version.szCSDVersion);
    char text[200];
    FormatBounded(text, sizeof text, "%lu.%lu.%lu%s%s%s", version.dwMajorVersion,
                  version.dwMinorVersion, version.dwBuildNumber & 0xFFFF,
                  version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? " (Windows 9x)" : "",
                  servicePack[0] != '\0' ? " " : "", servicePack);
    return text;
}

} // namespace

std::string DescribeCallOrigin()
{
    const auto plugin = reinterpret_cast<HMODULE>(&__ImageBase);
    return "plug-in " + FileVersion(plugin) + " " + ModulePath(plugin) + ", host " +
           ModulePath(nullptr) + ", Windows " + WindowsVersion() + ", ANSI code page " +
           std::to_string(GetACP());
}

} // namespace qel

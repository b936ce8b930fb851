#include "cad/OsVersion.h"

namespace qel
{

COsVersion::COsVersion()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = 148; // the single-byte version record
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return;
#pragma GCC diagnostic pop
    m_dwMajor = info.dwMajorVersion;
    m_dwMinor = info.dwMinorVersion;
    m_dwBuild = info.dwBuildNumber;
    m_dwPlatformId = info.dwPlatformId;
}

bool COsVersion::IsWindows98OrLater() const
{
    return m_dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
           (m_dwMajor > 4 || (m_dwMajor == 4 && m_dwMinor > 0));
}

bool COsVersion::IsWindowsNT5() const
{
    return m_dwPlatformId == VER_PLATFORM_WIN32_NT && m_dwMajor == 5;
}

} // namespace qel

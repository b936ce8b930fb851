// The platform's version record, read once at construction, and the two
// tests that decide whether the foreground lock must be lifted.
#pragma once

#include <windows.h>

namespace qel
{

class COsVersion
{
public:
    COsVersion();

    // The Windows 95 family from Windows 98 on.
    bool IsWindows98OrLater() const;
    // Windows 2000 and XP.
    bool IsWindowsNT5() const;

private:
    DWORD m_dwMajor = 0;
    DWORD m_dwMinor = 0;
    DWORD m_dwBuild = 0;
    DWORD m_dwPlatformId = 0;
};

} // namespace qel

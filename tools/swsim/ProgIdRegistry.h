// Registers a program id for a class id under HKLM\Software\Classes (Wine
// does not merge the per-user classes into HKEY_CLASSES_ROOT), so that
// CLSIDFromProgID resolves it. The entries stay after the simulator ends.
#pragma once

#include <windows.h>

namespace swsim
{

class CProgIdRegistry
{
public:
    // Returns ERROR_SUCCESS or the first registry error.
    static LONG Register(const wchar_t* progId, const CLSID& clsid);
};

} // namespace swsim

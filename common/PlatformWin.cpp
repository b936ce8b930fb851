#include "common/Platform.h"

#include <windows.h>

#include "common/ThreadSlot.h"

namespace qel
{

namespace
{

// One index per load of the library: implicit TLS is not used (see ThreadSlot.h).
CThreadSlot<CErrorMessage> s_errorMessage;

} // namespace

unsigned short SystemDefaultLangId()
{
    return GetSystemDefaultLangID();
}

std::string UpperCaseCodePage(const std::string& text)
{
    std::string upper(text);
    if (!upper.empty())
        CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

bool IsLeadByte(char c)
{
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c)) != FALSE;
}

FileContent FileContentAt(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
    {
        // A file that another program holds without sharing exists all the same.
        return GetLastError() == ERROR_SHARING_VIOLATION ? FileContent::Some : FileContent::None;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileContent::None;
    return data.nFileSizeLow == 0 && data.nFileSizeHigh == 0 ? FileContent::Empty
                                                             : FileContent::Some;
}

CErrorMessage* ThreadErrorMessage()
{
    return s_errorMessage.Get();
}

bool SetThreadErrorMessage(CErrorMessage* keeper)
{
    return s_errorMessage.Set(keeper);
}

} // namespace qel

#include "common/Platform.h"

#include <windows.h>

namespace qel
{

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

} // namespace qel

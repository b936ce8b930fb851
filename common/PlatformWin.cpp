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

bool EqualsIgnoreCaseCodePage(const char* left, const char* right)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left, -1, right, -1) == CSTR_EQUAL;
}

} // namespace qel

// Native stand-in for the Windows platform calls: the C locale's single-byte
// rules, and a language identifier settable through QEL_LANGID for tests.
#include "common/Platform.h"

#include <cctype>
#include <cstdlib>

namespace qel
{

unsigned short SystemDefaultLangId()
{
    const char* langId = std::getenv("QEL_LANGID");
    if (langId != nullptr && *langId != '\0')
        return static_cast<unsigned short>(std::strtoul(langId, nullptr, 0));
    return 0x0409; // English (United States)
}

std::string UpperCaseCodePage(const std::string& text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace qel

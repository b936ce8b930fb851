// Native stand-in for the Windows platform calls: the C locale's single-byte
// rules, and a language identifier settable through QEL_LANGID for tests.
// QEL_CODEPAGE=932 makes the ANSI code page Japanese (Shift JIS) for tests.
#include "common/Platform.h"

#include <cctype>
#include <cstdlib>

#include <pthread.h>
#include <sys/stat.h>

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

bool IsLeadByte(char c)
{
    static const unsigned long s_codePage = []
    {
        const char* codePage = std::getenv("QEL_CODEPAGE");
        return codePage != nullptr ? std::strtoul(codePage, nullptr, 10) : 1252ul;
    }();
    const auto byte = static_cast<unsigned char>(c);
    // Shift JIS: 81-9F and E0-FC open a pair.
    return s_codePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

FileContent FileContentAt(const char* path)
{
    struct stat status = {};
    if (path == nullptr || stat(path, &status) != 0 || !S_ISREG(status.st_mode))
        return FileContent::None;
    return status.st_size == 0 ? FileContent::Empty : FileContent::Some;
}

namespace
{

pthread_key_t ErrorMessageKey()
{
    static const pthread_key_t s_key = []
    {
        pthread_key_t key = 0;
        pthread_key_create(&key, nullptr);
        return key;
    }();
    return s_key;
}

} // namespace

CErrorMessage* ThreadErrorMessage()
{
    return static_cast<CErrorMessage*>(pthread_getspecific(ErrorMessageKey()));
}

bool SetThreadErrorMessage(CErrorMessage* keeper)
{
    return pthread_setspecific(ErrorMessageKey(), keeper) == 0;
}

} // namespace qel

#include "common/DeviceName.h"

#include <string>

#include "common/BoundedString.h"

namespace qel
{

namespace
{

bool IsDeviceDigit(char c)
{
    // 0-9, and ¹ ² ³ as code page 1252 writes them.
    return (c >= '0' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

bool IsDeviceWord(const std::string& word)
{
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    {
        if (EqualsIgnoringAsciiCase(word.c_str(), device))
            return true;
    }
    return word.size() == 4 && IsDeviceDigit(word[3]) &&
           (EqualsIgnoringAsciiCase(word.substr(0, 3).c_str(), "COM") ||
            EqualsIgnoringAsciiCase(word.substr(0, 3).c_str(), "LPT"));
}

} // namespace

std::size_t DeviceWordLength(const char* name)
{
    // A dot and a colon are never half a character.
    std::string word(name);
    word = word.substr(0, word.find_first_of(".:"));
    word.erase(word.find_last_not_of(' ') + 1);
    return IsDeviceWord(word) ? word.size() : 0;
}

} // namespace qel

#include "common/AnsiPath.h"

#include <cstring>

#include "common/BoundedString.h"
#include "common/Platform.h"

namespace qel
{

const char* NextCharacter(const char* text)
{
    return text + (IsLeadByte(text[0]) && text[1] != '\0' ? 2 : 1);
}

bool IsLoneLeadByte(const char* c)
{
    return IsLeadByte(c[0]) && static_cast<unsigned char>(c[1]) < 0x40;
}

std::size_t LengthWithoutLoneLeadByte(const char* text)
{
    const char* last = nullptr;
    const char* c = text;
    for (; *c != '\0'; c = NextCharacter(c))
        last = c;
    const bool loneAtEnd = last != nullptr && last + 1 == c && IsLeadByte(*last);
    return static_cast<std::size_t>((loneAtEnd ? last : c) - text);
}

std::size_t WholeCharactersLength(const char* text, std::size_t length)
{
    std::size_t whole = 0;
    while (whole < length)
    {
        const std::size_t next = whole + (IsLeadByte(text[whole]) ? 2 : 1);
        if (next > length)
            break;
        whole = next;
    }
    return whole;
}

char LastCharacter(const char* path)
{
    const char* last = nullptr;
    for (const char* c = path; *c != '\0'; c = NextCharacter(c))
        last = c;
    // A two-byte character is no separator nor any other single character.
    return last != nullptr && last[1] == '\0' ? *last : '\0';
}

std::size_t AppendSeparatorIfMissing(char* path, std::size_t size)
{
    const std::size_t length = BoundedLength(path, size);
    if (length == 0 || length == size || IsPathSeparator(LastCharacter(path)))
        return length;
    path[LengthWithoutLoneLeadByte(path)] = '\0';
    return AppendBounded(path, size, "\\");
}

void AppendSeparatorIfMissing(std::string& path)
{
    if (!path.empty() && !IsPathSeparator(LastCharacter(path.c_str())))
    {
        path.resize(LengthWithoutLoneLeadByte(path.c_str()));
        path += '\\';
    }
}

std::size_t FindSeparator(const char* path, std::size_t from)
{
    const char* c = path + from;
    while (*c != '\0' && !IsPathSeparator(*c))
        c = NextCharacter(c);
    return static_cast<std::size_t>(c - path);
}

std::size_t FindLastSeparator(const char* path)
{
    std::size_t last = std::string::npos;
    for (std::size_t at = FindSeparator(path, 0); path[at] != '\0';
         at = FindSeparator(path, at + 1))
        last = at;
    return last;
}

std::size_t FindCharacterOf(const char* text, const char* set)
{
    for (const char* c = text; *c != '\0'; c = NextCharacter(c))
    {
        if (NextCharacter(c) == c + 1 && std::strchr(set, *c) != nullptr)
            return static_cast<std::size_t>(c - text);
    }
    return std::string::npos;
}

} // namespace qel

#include "common/BoundedString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/AnsiPath.h"

namespace qel
{

std::size_t CopyAtMost(char* dest, std::size_t destSize, const char* source, std::size_t maxChars)
{
    if (dest == nullptr || destSize == 0)
        return 0;
    std::size_t limit = destSize - 1 < maxChars ? destSize - 1 : maxChars;
    std::size_t length = source == nullptr ? 0 : BoundedLength(source, limit);
    if (length == limit)
        length = WholeCharactersLength(source, length); // a cut never halves a character
    if (length > 0)
        std::memmove(dest, source, length);
    dest[length] = '\0';
    return length;
}

std::size_t CopyBounded(char* dest, std::size_t destSize, const char* source)
{
    return CopyAtMost(dest, destSize, source, destSize);
}

std::size_t AppendBounded(char* dest, std::size_t destSize, const char* source)
{
    if (dest == nullptr || destSize == 0)
        return 0;
    std::size_t used = BoundedLength(dest, destSize - 1);
    return used + CopyBounded(dest + used, destSize - used, source);
}

std::size_t FormatBounded(char* dest, std::size_t destSize, const char* format, ...)
{
    if (dest == nullptr || destSize == 0)
        return 0;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(dest, destSize, format, args);
    va_end(args);
    if (written < 0)
    {
        dest[0] = '\0';
        return 0;
    }
    if (static_cast<std::size_t>(written) >= destSize)
        dest[WholeCharactersLength(dest, destSize - 1)] = '\0';
    return BoundedLength(dest, destSize - 1);
}

namespace
{
char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

bool EqualsIgnoringAsciiCase(const char* left, const char* right)
{
    if (left == nullptr || right == nullptr)
        return left == right;
    for (; *left != '\0' && *right != '\0'; ++left, ++right)
        if (AsciiUpper(*left) != AsciiUpper(*right))
            return false;
    return *left == *right;
}

std::size_t BoundedLength(const char* text, std::size_t maxLen)
{
    if (text == nullptr)
        return 0;
    const void* end = std::memchr(text, '\0', maxLen);
    return end == nullptr ? maxLen : static_cast<const char*>(end) - text;
}

} // namespace qel

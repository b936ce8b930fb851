// Paths in the system's ANSI code page, read by character. On Japanese,
// Chinese and Korean systems a character can be two bytes whose second byte
// is 0x5C ('\') or 0x7C ('|') (表 is 95 5C in code page 932): such a byte is
// half a character, never a separator or a bar of its own. Every join and
// split of a path goes through these.
#pragma once

#include <cstddef>
#include <string>

namespace qel
{

// Backslash and forward slash both separate the parts of a path.
constexpr bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The character after the one at text, which must not be the terminator. A
// lead byte just before the terminator counts as a character of its own.
const char* NextCharacter(const char* text);

// True when the byte at c is a lead byte without its second byte: it ends
// the text, or the next byte is one that no double-byte code page takes as a
// second byte (below 0x40: a dot, a blank, a digit, a control character).
// Windows would read the byte after it (".", "_", "\\") as its second half.
bool IsLoneLeadByte(const char* c);

// The length of text without a lead byte that ends it alone: the whole length
// when text ends in a whole character.
std::size_t LengthWithoutLoneLeadByte(const char* text);

// The length of the longest start of text's first length bytes that ends on
// a character boundary: a lead byte in the last place, whose second byte was
// cut off, is left out. Every cut of an ANSI text to a fixed length uses it.
std::size_t WholeCharactersLength(const char* text, std::size_t length);

// The last character of path when it is a single byte; '\0' for an empty
// path and for one that ends in a two-byte character.
char LastCharacter(const char* path);

// Appends a backslash to a non-empty path (a buffer of size bytes) whose last
// character is no separator, as far as the buffer holds it. A lone lead byte
// at the end, no character, gives way to the backslash, which would otherwise
// be read as its second half. Returns the length.
std::size_t AppendSeparatorIfMissing(char* path, std::size_t size);
void AppendSeparatorIfMissing(std::string& path);

// Index of the first separator at or after index from (a character boundary),
// or of the terminator when none follows: the end of one part of the path.
std::size_t FindSeparator(const char* path, std::size_t from);

// Index of the last separator in path, or std::string::npos.
std::size_t FindLastSeparator(const char* path);

// True when path names the same place whatever the current directory and
// drive: a drive with its root ("C:\parts", "C:/parts") or a UNC or device
// path ("\\server\share", "\\?\C:\"). "parts", "\parts" and "C:parts" are not.
constexpr bool IsFullPath(const char* path)
{
    if (IsPathSeparator(path[0]))
        return IsPathSeparator(path[1]);
    const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    return letter && path[1] == ':' && IsPathSeparator(path[2]);
}

// Index of the first character of text that is one of the single-byte
// characters in set, or std::string::npos.
std::size_t FindCharacterOf(const char* text, const char* set);

} // namespace qel

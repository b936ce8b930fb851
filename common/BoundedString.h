// The one bounded copy and the one bounded format of the system. Every copy
// into a fixed buffer (the 260-byte path buffers above all) goes through them.
#pragma once

#include <cstddef>

namespace qel
{

// Size of the system's path buffers: at most 259 characters and a terminator.
constexpr std::size_t kPathBufferSize = 260;

// Copies at most destSize - 1 bytes of source and terminates the result; a
// null source gives the empty text. Returns the length copied. Nothing is
// written when destSize is 0. Every cut of these helpers ends on a character
// boundary of the ANSI code page: a two-byte character that does not fit
// whole is left out whole.
std::size_t CopyBounded(char* dest, std::size_t destSize, const char* source);

// As CopyBounded, but keeps at most maxChars bytes of source (and never more
// than destSize - 1).
std::size_t CopyAtMost(char* dest, std::size_t destSize, const char* source, std::size_t maxChars);

// Appends source behind the text in dest, keeping the whole within destSize
// bytes (terminator included). Returns the new length.
std::size_t AppendBounded(char* dest, std::size_t destSize, const char* source);

// snprintf into dest, always terminated; a result that does not fit is cut.
std::size_t FormatBounded(char* dest, std::size_t destSize, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// True when both texts are equal with ASCII letters compared without regard to
// case; every other byte must match exactly (no locale rules apply).
bool EqualsIgnoringAsciiCase(const char* left, const char* right);

// Length of text, looking at no more than maxLen bytes.
std::size_t BoundedLength(const char* text, std::size_t maxLen);

} // namespace qel

// The thin seam between the portable code and the platform. The portable code
// (attribute lists, host part block reading, parameter texts, file names,
// transform math) calls only these functions; PlatformWin.cpp implements them
// with Win32, PlatformPosix.cpp for the native Linux build of the tests and
// fuzzers.
#pragma once

#include <string>

namespace qel
{

class CErrorMessage;

// The system default language identifier (primary language in the low 10 bits).
unsigned short SystemDefaultLangId();

// Upper-cases a byte text in the current multibyte code page.
std::string UpperCaseCodePage(const std::string& text);

// True when c opens a two-byte character in the system's ANSI code page
// (Japanese, Chinese and Korean systems); never on single-byte code pages.
bool IsLeadByte(char c);

// What a path names on disk, told by its attributes without opening it.
enum class FileContent
{
    None,  // nothing, or a directory
    Empty, // a file of 0 bytes
    Some,  // a file with content, or one whose size cannot be told (held without sharing)
};
FileContent FileContentAt(const char* path);

// The keeper of the error texts of the export call the calling thread runs;
// null outside one. Set returns false when the thread cannot have one.
CErrorMessage* ThreadErrorMessage();
bool SetThreadErrorMessage(CErrorMessage* keeper);

} // namespace qel

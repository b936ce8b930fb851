// The journal of the stand-in libraries: when the environment variable
// QEL_STANDIN_LOG names a file, every load, unload and exported call appends
// one line to it, so tests can see what the plug-in did with the library.
#pragma once

#include <string>

namespace qel::test
{

// Appends line and a line feed to the file named by QEL_STANDIN_LOG; does
// nothing when the variable is not set or the file cannot be opened.
void AppendStandinLog(const std::string& line);

// The text as it appears in a journal line: "(null)" for a null pointer.
std::string LogText(const char* text);

} // namespace qel::test

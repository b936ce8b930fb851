// The escapes of part descriptions and of qelhost's output: \n, \t, \r, \\ and
// \xHH (two hex digits), so that any byte (cp1252 letters such as \xFC, control
// characters) can be written and shown in plain ASCII.
#pragma once

#include <string>

namespace qel::test
{

// Replaces the escapes in text; false (reason in error) on an unknown escape,
// a \x without two hex digits or a trailing backslash.
bool UnescapeText(const std::string& text, std::string& result, std::string& error);

// For display, undone exactly by UnescapeText: printable ASCII stays, a
// backslash is doubled, \n \t \r are named, every other byte becomes \xHH
// (upper-case digits).
std::string EscapeText(const std::string& text);

} // namespace qel::test

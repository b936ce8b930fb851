// Windows' rule for names that open a device instead of a file: the name up
// to its first dot or colon, blanks at its end left out, is CON, PRN, AUX,
// NUL, COM0-COM9 or LPT0-LPT9 in any letter case ("nul.txt", "Aux. bracket",
// "NUL:"). COM and LPT with the superscript digits of code page 1252 (bytes
// B9, B2, B3) count as well. Windows 11 only takes the bare names; every
// file name of the plug-in keeps to the older, wider rule.
#pragma once

#include <cstddef>

namespace qel
{

// The length of the device word at the start of name (a file name without
// its directory), or 0 when name names no device.
std::size_t DeviceWordLength(const char* name);

} // namespace qel

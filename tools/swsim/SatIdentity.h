// What a SAT file of the stand-in writer makes of a part, as the simulator
// keeps it with the document it imports into: the part's attributes as the
// file carries them.
#pragma once

#include <string>

namespace swsim
{

// "name=value;name=value..." of the file's string attributes, in file order
// (UTF-8, from the ANSI code page); empty for a file without any or one that
// cannot be read.
std::string SatIdentity(const std::wstring& path);

} // namespace swsim

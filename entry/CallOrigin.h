// Where a call comes from, for the first line of its trace: which plug-in
// (version and path), which host program, which Windows and which ANSI code
// page. Support reads a customer's trace with these in hand.
#pragma once

#include <string>

namespace qel
{

// "plug-in 1.0.0.0 C:\cat\QelSW99_3D.dll, host C:\cat\catalog.exe, Windows
// 5.1.2600 Service Pack 3, ANSI code page 1252". A value that cannot be told
// shows as "?".
std::string DescribeCallOrigin();

} // namespace qel

// The file name rule of the direct-file exports: a name gets ".sat" unless it
// ends in it already, in any letter case (DIN 933 M6x1.5 becomes
// DIN 933 M6x1.5.sat); a name that Windows takes for a device (CON, NUL,
// COM1, ..., with or without an extension) is refused.
#pragma once

#include <cstddef>

namespace qel
{

// True when the name ends in ".sat", in any letter case.
bool EndsWithSatExtension(const char* name);

// True when the path's last component names a device by Windows' rule
// (common/DeviceName.h: con, "CON .sat", nul.txt, NUL:, COM¹).
bool NamesDevice(const char* path);

// Completes the host's file name buffer in place; a lone lead byte at the
// name's end gives way to ".sat". False when the buffer holds no name, holds
// no terminator within size, names a device, or has no room for ".sat"; the
// buffer is then unchanged, and reason (when given) names which, for the
// trace.
bool CompleteSatFileName(char* buffer, std::size_t size, const char** reason = nullptr);

} // namespace qel

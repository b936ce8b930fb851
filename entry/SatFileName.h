// The file name rule of the direct-file exports: a name without an extension
// gets ".sat"; a name with any extension (an empty one too) stays as it is.
#pragma once

#include <cstddef>

namespace qel
{

// True when the name of length n has an extension: walking back from its end,
// a '.' is met before any '\' or '/'.
bool HasFileExtension(const char* name, std::size_t length);

// Completes the host's file name buffer in place. False when the buffer holds
// no name, holds no terminator within size, or has no room for ".sat"; the
// buffer is then unchanged.
bool CompleteSatFileName(char* buffer, std::size_t size);

} // namespace qel

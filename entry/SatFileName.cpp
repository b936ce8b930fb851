#include "entry/SatFileName.h"

#include <cstring>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"

namespace qel
{

bool HasFileExtension(const char* name)
{
    const std::size_t separator = FindLastSeparator(name);
    return std::strchr(name + (separator == std::string::npos ? 0 : separator + 1), '.') != nullptr;
}

bool CompleteSatFileName(char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return false;
    // The host's buffer must hold its terminator within the size it states.
    std::size_t length = BoundedLength(buffer, size);
    if (length == 0 || length == size)
        return false;
    if (HasFileExtension(buffer))
        return true;
    if (length + 5 > size)
        return false;
    std::memcpy(buffer + length, ".sat", 5);
    return true;
}

} // namespace qel

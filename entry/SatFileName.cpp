#include "entry/SatFileName.h"

#include <cstring>

#include "common/BoundedString.h"

namespace qel
{

bool HasFileExtension(const char* name, std::size_t length)
{
    for (std::size_t i = length; i-- > 0;)
    {
        if (name[i] == '\\' || name[i] == '/')
            return false;
        if (name[i] == '.')
            return true;
    }
    return false;
}

bool CompleteSatFileName(char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return false;
    // The host's buffer must hold its terminator within the size it states.
    std::size_t length = BoundedLength(buffer, size);
    if (length == 0 || length == size)
        return false;
    if (HasFileExtension(buffer, length))
        return true;
    if (length + 5 > size)
        return false;
    std::memcpy(buffer + length, ".sat", 5);
    return true;
}

} // namespace qel

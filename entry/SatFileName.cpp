#include "entry/SatFileName.h"

#include <cstring>
#include <string>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"

namespace qel
{

namespace
{

constexpr const char kSatExtension[] = ".sat";
constexpr std::size_t kSatExtensionLength = sizeof(kSatExtension) - 1;

bool IsNumberedDevice(const std::string& name)
{
    return name.size() == 4 && name[3] >= '0' && name[3] <= '9' &&
           (EqualsIgnoringAsciiCase(name.substr(0, 3).c_str(), "COM") ||
            EqualsIgnoringAsciiCase(name.substr(0, 3).c_str(), "LPT"));
}

} // namespace

bool EndsWithSatExtension(const char* name)
{
    // A dot is never half a character, so neither are the letters after it.
    const std::size_t length = std::strlen(name);
    return length >= kSatExtensionLength &&
           EqualsIgnoringAsciiCase(name + length - kSatExtensionLength, kSatExtension);
}

bool NamesDevice(const char* path)
{
    const std::size_t separator = FindLastSeparator(path);
    std::string name = path + (separator == std::string::npos ? 0 : separator + 1);
    name = name.substr(0, name.find('.'));
    name.erase(name.find_last_not_of(' ') + 1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    {
        if (EqualsIgnoringAsciiCase(name.c_str(), device))
            return true;
    }
    return IsNumberedDevice(name);
}

bool CompleteSatFileName(char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return false;
    // The host's buffer must hold its terminator within the size it states.
    std::size_t length = BoundedLength(buffer, size);
    if (length == 0 || length == size || NamesDevice(buffer))
        return false;
    if (EndsWithSatExtension(buffer))
        return true;
    if (length + kSatExtensionLength + 1 > size)
        return false;
    std::memcpy(buffer + length, kSatExtension, kSatExtensionLength + 1);
    return true;
}

} // namespace qel

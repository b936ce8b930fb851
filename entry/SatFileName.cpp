#include "entry/SatFileName.h"

#include <cstring>
#include <string>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/DeviceName.h"

namespace qel
{

namespace
{

constexpr const char kSatExtension[] = ".sat";
constexpr std::size_t kSatExtensionLength = sizeof(kSatExtension) - 1;

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
    const char* name = path + (separator == std::string::npos ? 0 : separator + 1);
    // A drive without a directory ("C:NUL") is no part of the name.
    if (separator == std::string::npos && name[0] != '\0' && name[1] == ':')
        name += 2;
    return DeviceWordLength(name) != 0;
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
    // A lone lead byte at the end is no character: it would take the dot of
    // ".sat" as its second half, and the file would have no extension.
    const std::size_t kept = LengthWithoutLoneLeadByte(buffer);
    if (kept == 0 || kept + kSatExtensionLength + 1 > size)
        return false;
    std::memcpy(buffer + kept, kSatExtension, kSatExtensionLength + 1);
    return true;
}

} // namespace qel

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

bool CompleteSatFileName(char* buffer, std::size_t size, const char** reason)
{
    const char* refused = nullptr;
    // The host's buffer must hold its terminator within the size it states.
    const std::size_t length = buffer != nullptr ? BoundedLength(buffer, size) : 0;
    // A lone lead byte at the end is no character: it would take the dot of
    // ".sat" as its second half, and the file would have no extension.
    const std::size_t kept = length != 0 && length < size ? LengthWithoutLoneLeadByte(buffer) : 0;
    if (buffer == nullptr || size == 0)
        refused = "no file name buffer";
    else if (length == size)
        refused = "no terminator within the file name buffer's size";
    else if (length == 0)
        refused = "an empty file name";
    else if (NamesDevice(buffer))
        refused = "the file name names a device";
    else if (EndsWithSatExtension(buffer))
        return true;
    else if (kept == 0)
        refused = "a file name without a whole character";
    else if (kept + kSatExtensionLength + 1 > size)
        refused = "no room for \".sat\"";
    else
    {
        std::memcpy(buffer + kept, kSatExtension, kSatExtensionLength + 1);
        return true;
    }
    if (reason != nullptr)
        *reason = refused;
    return false;
}

} // namespace qel

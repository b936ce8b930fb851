#include "cad/PartFileName.h"

#include <cstring>
#include <string>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/DeviceName.h"
#include "common/Platform.h"

namespace qel
{

namespace
{

constexpr const char* kSatFileName = "TempSW.sat";
constexpr std::size_t kSatDirectoryMax = 248; // 260 - 2 - strlen("TempSW.sat")
constexpr std::size_t kPartDirectoryMax = 258;
constexpr int kDirectoryAndStemMax = 245; // 244 characters and the terminator

} // namespace

void MakeSatFilePath(const char* partDir, char* out, std::size_t outSize)
{
    char buffer[kPathBufferSize] = {};
    CopyAtMost(buffer, sizeof(buffer), partDir, kSatDirectoryMax);
    AppendSeparatorIfMissing(buffer, sizeof(buffer));
    AppendBounded(buffer, sizeof(buffer), kSatFileName);
    CopyBounded(out, outSize, buffer);
}

std::size_t CopyPartDirectory(const char* partDir, char* buffer, std::size_t bufferSize)
{
    CopyAtMost(buffer, bufferSize, partDir, kPartDirectoryMax);
    AppendSeparatorIfMissing(buffer, bufferSize);
    return BoundedLength(buffer, bufferSize);
}

int StemCapacity(std::size_t directoryLength)
{
    // Signed: a directory longer than 245 characters leaves a negative room.
    std::size_t length = directoryLength < kPathBufferSize ? directoryLength : kPathBufferSize;
    return kDirectoryAndStemMax - static_cast<int>(length);
}

bool StemFits(int capacity)
{
    return capacity > 1;
}

void DropExtensionOfNewName(char* path)
{
    // The part file's extension is the text after the last dot (a dot is never
    // half a character); index 0 is never examined: a name that is all
    // extension keeps its dot.
    if (PartFileTypeOfExtension(path) == kDocTypeUnknown)
        return;
    char* dot = std::strrchr(path, '.');
    if (dot != path)
        *dot = '\0';
}

void CutNewName(char* path)
{
    // A part file's extension typed with the name stays behind the cut.
    char* extension =
        PartFileTypeOfExtension(path) == kDocTypeUnknown ? nullptr : std::strrchr(path, '.');
    const std::size_t stemLength = extension != nullptr ? static_cast<std::size_t>(extension - path)
                                                        : BoundedLength(path, kPathBufferSize);
    const std::size_t bound = kDirectoryAndStemMax - 1;
    if (stemLength <= bound)
        return;
    const std::size_t cut = WholeCharactersLength(path, bound);
    if (extension != nullptr)
        std::memmove(path + cut, extension, std::strlen(extension) + 1);
    else
        path[cut] = '\0';
}

int PartFileTypeOfExtension(const char* path)
{
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr)
        return kDocTypeUnknown;
    if (EqualsIgnoringAsciiCase(dot + 1, "SLDPRT"))
        return kDocTypePart;
    if (EqualsIgnoringAsciiCase(dot + 1, "SLDASM"))
        return kDocTypeAssembly;
    return kDocTypeUnknown;
}

const char* PartFileExtension(int docType)
{
    return docType == kDocTypeAssembly ? ".SLDASM" : ".SLDPRT";
}

bool HoldsPartFile(const char* path)
{
    return FileContentAt(path) == FileContent::Some;
}

bool NamesDeviceFile(const char* path)
{
    const std::size_t separator = FindLastSeparator(path);
    return DeviceWordLength(path + (separator == std::string::npos ? 0 : separator + 1)) != 0;
}

void KeepTypedNameClearOfDevices(char* path, std::size_t bufferSize)
{
    const std::size_t separator = FindLastSeparator(path);
    char* name = path + (separator == std::string::npos ? 0 : separator + 1);
    const std::size_t word = DeviceWordLength(name);
    if (word == 0 || BoundedLength(path, bufferSize) + 1 >= bufferSize)
        return;
    std::memmove(name + word + 1, name + word, std::strlen(name + word) + 1);
    name[word] = '_';
}

int FindPartFile(char* path, std::size_t bufferSize)
{
    if (path == nullptr || bufferSize == 0 || path[0] == '\0')
        return kDocTypeUnknown;
    // Only the stem and a part file's extension: a stem that ends in one
    // (a value "Y.SLDPRT") names Y.SLDPRT.SLDPRT, never another part's Y.SLDPRT.
    for (int type : {kDocTypePart, kDocTypeAssembly})
    {
        std::string candidate = std::string(path) + PartFileExtension(type);
        if (candidate.size() < bufferSize && !NamesDeviceFile(candidate.c_str()) &&
            HoldsPartFile(candidate.c_str()))
        {
            CopyBounded(path, bufferSize, candidate.c_str());
            return type;
        }
    }
    return kDocTypeUnknown;
}

} // namespace qel

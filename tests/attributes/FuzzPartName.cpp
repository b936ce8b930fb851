// Feeds any attribute values through both joins, behind any part directory,
// under the ANSI code page that QEL_CODEPAGE names (CTest runs it under 1252,
// 932, 936, 949 and 950). Whatever the values, the part file name made of the
// directory, the stem and ".SLDPRT" must be one that Windows keeps as given:
// - the stem starts on a character boundary behind the directory's separator;
// - no control character and none of the nine reserved ones nor the @ SolidWorks refuses;
// - no device name by Windows' rule (the name up to its first dot or colon,
//   blanks at its end left out);
// - not ending in a dot or a blank;
// - no lead byte without its second byte;
// - directory and stem within 244 characters.
//
// Input: the part directory, then the values, each ended by a NUL byte.
#include "cad/AttributeList.h"
#include "cad/PartFileName.h"
#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/Platform.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

constexpr std::size_t kDirectoryAndStemMost = 244;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Windows' device rule, written out here on its own.
bool IsDeviceName(const std::string& name)
{
    std::string word = name.substr(0, name.find_first_of(".:"));
    while (!word.empty() && word.back() == ' ')
        word.pop_back();
    for (char& c : word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (word == "CON" || word == "PRN" || word == "AUX" || word == "NUL")
        return true;
    const bool numbered =
        word.size() == 4 && (word.compare(0, 3, "COM") == 0 || word.compare(0, 3, "LPT") == 0);
    return numbered && std::strchr("0123456789\xB9\xB2\xB3", word[3]) != nullptr;
}

void CheckName(const char* path, std::size_t stemStart)
{
    const std::string name = std::string(path + stemStart) + ".SLDPRT";
    Check(stemStart + name.size() - 7 <= kDirectoryAndStemMost);
    Check(!IsDeviceName(name));
    Check(name.back() != '.' && name.back() != ' ');
    // Walked by character from the path's start: the stem starts on a boundary.
    const char* c = path;
    while (c < path + stemStart)
        c = qel::NextCharacter(c);
    Check(c == path + stemStart);
    for (c = name.c_str(); *c != '\0'; c = qel::NextCharacter(c))
    {
        Check(!qel::IsLoneLeadByte(c));
        const auto byte = static_cast<unsigned char>(*c);
        if (!qel::IsLeadByte(*c))
            Check(byte >= 0x20 && std::strchr("\\/:*?\"<>|@", *c) == nullptr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t end = input.find('\0');
    const std::string directory = input.substr(0, end);
    qel::CAttributeList list;
    while (end != std::string::npos && end < input.size())
    {
        const std::size_t next = input.find('\0', end + 1);
        list.Add("Value", input.substr(end + 1, next - end - 1).c_str(), {}, {}, 0);
        end = next;
    }
    char path[qel::kPathBufferSize];
    const std::size_t length = qel::CopyPartDirectory(directory.c_str(), path, sizeof(path));
    const int capacity = qel::StemCapacity(length);
    if (length == 0 || !qel::StemFits(capacity))
        return 0;
    for (int mode = 0; mode < 2; ++mode)
    {
        const unsigned room = static_cast<unsigned>(capacity);
        const int result = mode == 0 ? list.JoinValuesAlnum(path + length, room)
                                     : list.JoinValuesFileSafe(path + length, room);
        if (result != 0)
            CheckName(path, length);
    }
    return 0;
}

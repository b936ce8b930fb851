#include "settings/TempPath.h"

#include <cstring>
#include <new>
#include <string>

#include <windows.h>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/WinOwners.h"

namespace qel
{
namespace
{

bool HasWildcard(const char* first, const char* last)
{
    for (const char* c = first; c != last; ++c)
    {
        if (*c == '*' || *c == '?')
            return true;
    }
    return false;
}

// Looks up the one entry that path names and gives its name as the directory
// listing spells it. The search handle is closed at once.
bool FindListedName(const char* path, std::string& name)
{
    WIN32_FIND_DATAA entry;
    CFindHandle search(FindFirstFileA(path, &entry));
    if (!search.IsValid())
        return false;
    name.assign(entry.cFileName, BoundedLength(entry.cFileName, sizeof entry.cFileName));
    return true;
}

// Looks up the path up to (and including) the component that ends at 'end':
// the input is cut there for the search and restored afterwards. A component
// with wildcards would match other entries, so it counts as not found.
bool FindComponent(char* input, std::size_t begin, std::size_t end, std::string& name)
{
    if (end == begin || HasWildcard(input + begin, input + end))
        return false;
    char cut = input[end];
    input[end] = '\0';
    bool found = FindListedName(input, name);
    input[end] = cut;
    return found;
}

// Walks input from 'pos' to 'length' and appends the listed name of every
// component, each behind the separator that stands in front of it.
bool AppendLongComponents(char* input, std::size_t pos, std::size_t length, char pending,
                          std::string& longPath)
{
    if (pos >= length)
        return true;
    for (;;)
    {
        std::size_t end = FindSeparator(input, pos);
        if (pending != '\0')
            longPath += pending;
        std::string name;
        if (!FindComponent(input, pos, end, name))
            return false;
        longPath += name;
        if (end == length)
            return true;
        pending = input[end];
        pos = end + 1;
    }
}

} // namespace

std::unique_ptr<char[]> CTempPath::GetTempDir() const
{
    DWORD needed = GetTempPathA(0, nullptr);
    std::size_t size = static_cast<std::size_t>(needed) + 30;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer)
        return buffer;
    buffer[0] = '\0';
    DWORD stated = needed + 20;
    DWORD length = GetTempPathA(stated, buffer.get());
    // A path that grew in between does not arrive whole: take none of it.
    if (length == 0 || length >= stated)
        buffer[0] = '\0';
    if (length > 0 && length < stated)
        AppendSeparatorIfMissing(buffer.get(), size);
    return buffer;
}

int CTempPath::GetLongTempDir(char* output, std::size_t outputSize) const
{
    CopyBounded(output, outputSize, "");
    std::unique_ptr<char[]> tempDir = GetTempDir();
    if (!tempDir || tempDir[0] == '\0')
        return 1;
    // A directory whose long form cannot be had (on a share, say: a network
    // path has no listed names for its server and share) is used as the
    // system gives it, when it fits.
    const std::size_t length = std::strlen(tempDir.get());
    const char last = tempDir[length - 1];
    if (MakeLongPath(tempDir.get(), output, outputSize) == 0 && length < outputSize)
    {
        tempDir[length - 1] = last; // the long form's walk cut the trailing separator
        CopyBounded(output, outputSize, tempDir.get());
    }
    return 1;
}

int CTempPath::MakeLongPath(char* input, char* output, std::size_t outputSize) const
{
    if (input == nullptr || output == nullptr || input[0] == '\0')
        return 0;
    CopyBounded(output, outputSize, "");

    std::string longPath;
    std::size_t pos = 0;
    char pending = '\0';
    if (IsPathSeparator(input[0]))
    {
        longPath += input[0];
        pos = 1;
    }
    else if (input[1] == ':')
    {
        longPath.append(input, 2);
        pos = 2;
        if (IsPathSeparator(input[2]))
        {
            pending = input[2];
            pos = 3;
        }
    }

    std::size_t length = std::strlen(input);
    char trailing = '\0';
    if (pos < length && IsPathSeparator(LastCharacter(input)))
    {
        trailing = input[length - 1];
        input[--length] = '\0';
    }

    try
    {
        if (!AppendLongComponents(input, pos, length, pending, longPath))
            return 0;
        if (trailing != '\0')
            longPath += trailing;
    }
    catch (const std::bad_alloc&)
    {
        // A long form that cannot be held fails like one that does not fit.
        return 0;
    }

    if (longPath.size() + 1 > outputSize)
        return 0;
    CopyBounded(output, outputSize, longPath.c_str());
    return 1;
}

} // namespace qel

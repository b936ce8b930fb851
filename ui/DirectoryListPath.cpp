#include "ui/DirectoryListPath.h"

#include "common/AnsiPath.h"

namespace qel
{
namespace
{

// The root and one level per component of directory ("C:\parts\" has two).
std::size_t LevelCount(const std::string& directory)
{
    std::size_t pos = directory.size() >= 2 && directory[1] == ':' ? 2 : 0;
    std::size_t levels = 1;
    while (pos < directory.size())
    {
        const std::size_t end = FindSeparator(directory.c_str(), pos);
        if (end > pos)
            ++levels;
        pos = end + 1;
    }
    return levels;
}

} // namespace

std::string DirectoryListPath(const std::vector<std::string>& items, std::size_t selected,
                              const std::string& currentDirectory)
{
    if (selected >= items.size())
        return std::string();
    const std::size_t levels = LevelCount(currentDirectory);
    std::string path;
    for (std::size_t i = 0; i <= selected; ++i)
    {
        // Subdirectories listed before the selected one are no level of it.
        if (i >= levels && i != selected)
            continue;
        // The root item ends in its backslash already.
        if (i > 0)
            AppendSeparatorIfMissing(path);
        path += items[i];
    }
    return path;
}

} // namespace qel

// The directory that an item of the old-style file dialog's directory list
// names. Windows fills that list with the drive root ("c:\"), one item per
// level down to the dialog's current directory, and then the current
// directory's subdirectories. Portable: the chooser hands the texts in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qel
{

// The path of items[selected] ("" when selected is past the list). The levels
// are the root and one item per component of currentDirectory; an item
// behind them is a subdirectory of the last level, joined alone.
std::string DirectoryListPath(const std::vector<std::string>& items, std::size_t selected,
                              const std::string& currentDirectory);

} // namespace qel

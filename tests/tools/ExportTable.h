// The names in the export table of a loaded module, read from its image.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qel::test
{

// Every exported name of module, sorted.
std::vector<std::string> ExportedNames(HMODULE module);

} // namespace qel::test

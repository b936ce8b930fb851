// Small file helpers of the Windows test programs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel::test
{

// The folder of the running test program: the build's bin folder, which also
// holds the plug-in, the stand-ins and the simulator.
std::string BinFolder();

bool FileExists(const std::string& path);
// The names of the files (not folders) in folder.
std::vector<std::string> FileNamesIn(const std::string& folder);
// The whole file as bytes ("" when it cannot be read).
std::string ReadFileText(const std::string& path);
// The lines of the file without their line ends (none when it is missing).
std::vector<std::string> ReadFileLines(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace qel::test

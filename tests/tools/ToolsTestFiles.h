// File helpers of the Windows tests of the test equipment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel::test
{

// The folder of the running test program, with a trailing backslash: every
// program and library of the build lands there.
std::string BinFolder();

bool FileExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteWholeFile(const std::string& path, const std::string& text);

// The lines of path without their line feeds (empty when the file is missing).
std::vector<std::string> ReadLines(const std::string& path);

} // namespace qel::test

// Whole-file reading and writing for qelhost's part and description files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel::test
{

bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes);
bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace qel::test

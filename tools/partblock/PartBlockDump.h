// A readable dump of a host part block, one line per header field and item,
// as "qelhost show-part" prints it. Texts are escaped (\xHH for bytes that are
// not printable ASCII).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qel::test
{

// The dump of the block in data[0, size). valid is false when the block
// cannot be read whole (the dump then ends with an "error:" line).
std::string DumpPartBlock(const uint8_t* data, std::size_t size, bool& valid);

} // namespace qel::test

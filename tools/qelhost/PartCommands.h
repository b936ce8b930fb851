// The two part commands of qelhost: make-part turns a part description into a
// block file, show-part prints the dump of a block file.
#pragma once

#include <string>

namespace qel::test
{

// Exit code 0, 1 for a bad description, 2 when a file cannot be read or written.
int MakePart(const std::string& descriptionPath, const std::string& blockPath);

// Exit code 0, 1 when the block cannot be read whole, 2 when the file cannot be read.
int ShowPart(const std::string& blockPath);

} // namespace qel::test

// The readable part description that "qelhost make-part" and tests turn into
// host part blocks. One statement per line; blank lines and lines starting
// with '#' are ignored:
//   attr NAME = VALUE              attribute item (escapes \n \t \r \\ \xHH)
//   attr-long NAME = CHAR x COUNT  attribute whose value is COUNT times CHAR
//   item CODE [HEX-PAYLOAD]        any item with a raw payload
//   format W4 W8 W12 W16           the four format words
//   total-size N                   value written at offset 0
//   item-count N                   value written at offset 20
//   next-payload-length N          payload length claimed by the next item
//   truncate N                     the finished block is cut to N bytes
// Numbers are decimal or 0x-prefixed hexadecimal.
#pragma once

#include <string>

#include "tools/partblock/PartBlockBuilder.h"

namespace qel::test
{

// Applies every statement of text to builder. On the first bad line returns
// false with error "line N: reason" (lines counted from 1).
bool ParsePartDescription(const std::string& text, CPartBlockBuilder& builder, std::string& error);

} // namespace qel::test

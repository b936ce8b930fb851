// Splits an option text into its key=value items. Items are separated by
// blanks; a double quote starts or ends a quoted stretch in which blanks are
// kept (the quotes themselves are dropped), and \" stands for a double quote.
// Example: fail-call="app:0x31:Cannot load file" docs=part,assembly
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace swsim
{

using OptionItem = std::pair<std::wstring, std::wstring>;

// Throws std::invalid_argument for an item without key or '=' and for an
// unterminated quote.
std::vector<OptionItem> SplitOptionText(const std::wstring& text);

// The command line of this process without the program name.
std::wstring CommandLineArguments(const std::wstring& commandLine);

} // namespace swsim

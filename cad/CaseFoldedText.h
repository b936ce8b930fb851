// Texts compared and hashed as the duplicate check of the attribute list sees
// them: upper-cased in the current code page. A text of ASCII characters only
// (nearly every catalogue text) reads the same in every ANSI code page, so its
// letters are raised here, eight at a time; any other text goes to the code
// page's own rules.
#pragma once

#include <cstdint>
#include <string_view>

namespace qel
{

class CCaseFoldedText
{
public:
    // A hash of the upper-cased text: texts that upper-case alike hash alike.
    static std::uint64_t Hash(std::string_view text);

    // Whether the two texts are equal once upper-cased.
    static bool Equal(std::string_view left, std::string_view right);
};

} // namespace qel

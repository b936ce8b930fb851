// Error texts: a failure meant for the user travels as a thrown pointer to a
// NUL-terminated text (ErrorText) and is caught only at the exports. The text
// belongs to the step that throws it: each such step keeps one CErrorMessage
// (a function-local static) that lives until the library is unloaded; the
// step's next failure overwrites it.
#pragma once

#include <string>

namespace qel
{

using ErrorText = const char*;

class CErrorMessage
{
public:
    // Stores the text and throws the pointer to its characters.
    [[noreturn]] void Throw(std::string text);

    const char* Text() const { return m_text.c_str(); }

private:
    std::string m_text;
};

// The fixed text thrown when memory runs out.
constexpr const char* kNotEnoughMemory = "Not enough memory!";

} // namespace qel

// Error texts: a failure meant for the user travels as a thrown pointer to a
// NUL-terminated text (ErrorText) and is caught only at the exports. The text
// belongs to the export call whose thread throws it: each export keeps one
// CErrorMessage on its stack, which holds every text its thread throws until
// the call ends. Host threads failing at once thus never read each other's
// text, and a text stays valid while the export copies or shows it.
#pragma once

#include <forward_list>
#include <string>

namespace qel
{

using ErrorText = const char*;

class CErrorMessage
{
public:
    // Construction

    // Keeps the calling thread's texts until destroyed; a keeper it replaces
    // (an outer call that the host re-entered on the same thread) keeps them
    // again afterwards.
    CErrorMessage();
    CErrorMessage(const CErrorMessage&) = delete;
    CErrorMessage& operator=(const CErrorMessage&) = delete;
    ~CErrorMessage();

    // Operations

    // Keeps text for the call the calling thread runs and returns its
    // characters. Outside an export (test equipment driving a step itself)
    // the text is kept in one process-wide place until the next such text.
    static ErrorText Keep(std::string text);
    // Keeps text and throws the pointer to its characters.
    [[noreturn]] static void Throw(std::string text);

private:
    std::forward_list<std::string> m_texts;
    CErrorMessage* m_pOuter;
    bool m_bKeeper;
};

// The fixed text thrown when memory runs out.
constexpr const char* kNotEnoughMemory = "Not enough memory!";

} // namespace qel

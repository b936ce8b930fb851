// The user's temporary directory, and paths rewritten into their long names.
// The system may report the temporary directory in short (8.3) form; the
// plug-in shows and stores it with every component spelled as the directory
// listing holds it.
#pragma once

#include <cstddef>
#include <memory>

namespace qel
{

class CTempPath
{
public:
    CTempPath() = default;
    CTempPath(const CTempPath&) = delete;
    CTempPath& operator=(const CTempPath&) = delete;
    virtual ~CTempPath() = default;

    // Operations

    // The temporary directory with a trailing separator (a backslash is added
    // when the system reports none), or no buffer when memory runs out.
    std::unique_ptr<char[]> GetTempDir() const;

    // Writes the temporary directory in long-name form into output; as the
    // system gives it when the long form cannot be had (a network path, a
    // missing directory) or does not fit; the empty text when there is none or
    // neither fits. Returns 1.
    int GetLongTempDir(char* output, std::size_t outputSize) const;

    // Rewrites input component by component into the names the directory
    // listing holds. Drive, colon and the kind of every separator stay as they
    // stand. A trailing separator is cut from input (the caller's text stays
    // shortened) and put back behind the result. Returns 1 with the long form
    // in output; 0 with an empty output when a component is empty or missing or
    // the result does not fit; 0 with output untouched when input or output is
    // missing or input is empty.
    int MakeLongPath(char* input, char* output, std::size_t outputSize) const;
};

} // namespace qel

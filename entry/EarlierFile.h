// The file a writer is about to replace under the host's name: moved aside
// before the writer runs, so that a writer failing half way neither destroys
// it nor leaves a truncated file in its place. The writer still gets the
// host's name.
#pragma once

#include <string>

#include <windows.h>

namespace qel
{

class CEarlierFile
{
public:
    // Construction

    // Moves the file at path, if there is one, to a new name in its folder.
    explicit CEarlierFile(const char* path);
    CEarlierFile(const CEarlierFile&) = delete;
    CEarlierFile& operator=(const CEarlierFile&) = delete;
    // Unless Replaced() was called: deletes what the writer left under the
    // host's name and moves the earlier file back there.
    ~CEarlierFile();

    // Attributes

    // False when a file is there and could not be moved aside (another
    // program holds it, the folder takes no new file) or is read-only: the
    // writer must not run. GetError() then tells why.
    bool IsSafe() const { return m_dwError == ERROR_SUCCESS; }
    DWORD GetError() const { return m_dwError; }

    // Operations

    // The writer succeeded: the new file stays and the earlier one goes.
    void Replaced();

private:
    std::string m_strPath;
    std::string m_strAside; // empty when no earlier file was moved aside
    DWORD m_dwError = ERROR_SUCCESS;
    bool m_bReplaced = false;
};

} // namespace qel

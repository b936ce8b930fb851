#include "entry/EarlierFile.h"

#include "common/Trace.h"

namespace qel
{

namespace
{

bool IsFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The folder of path made full (a relative name is the host's current
// directory's), with its trailing separator; empty when it cannot be told.
std::string FolderOf(const char* path)
{
    char full[MAX_PATH];
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || name == nullptr)
        return std::string();
    return std::string(full, static_cast<std::size_t>(name - full));
}

} // namespace

CEarlierFile::CEarlierFile(const char* path) : m_strPath(path)
{
    if (!IsFile(path))
        return;
    // A name of its own in the same folder: the move is a rename on the
    // same volume, and nothing of another program's is replaced.
    char aside[MAX_PATH];
    const std::string folder = FolderOf(path);
    if (folder.empty() || GetTempFileNameA(folder.c_str(), "qel", 0, aside) == 0)
    {
        m_dwError = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_BAD_PATHNAME;
        return;
    }
    if (!MoveFileExA(path, aside, MOVEFILE_REPLACE_EXISTING))
    {
        m_dwError = GetLastError();
        DeleteFileA(aside); // the empty name GetTempFileName made
        return;
    }
    m_strAside = aside;
    CTrace::Line("earlier file %s moved aside to %s", path, aside);
}

CEarlierFile::~CEarlierFile()
{
    if (m_bReplaced || !IsSafe())
        return;
    if (m_strAside.empty())
    {
        // Whatever a failed writer left is no whole file.
        if (DeleteFileA(m_strPath.c_str()))
            CTrace::Line("file %s left by the failed writer deleted", m_strPath.c_str());
        return;
    }
    if (MoveFileExA(m_strAside.c_str(), m_strPath.c_str(), MOVEFILE_REPLACE_EXISTING))
        CTrace::Line("earlier file %s put back", m_strPath.c_str());
    else
        CTrace::Line("earlier file %s not put back (error %lu): it stays as %s", m_strPath.c_str(),
                     GetLastError(), m_strAside.c_str());
}

void CEarlierFile::Replaced()
{
    m_bReplaced = true;
    if (!m_strAside.empty() && !DeleteFileA(m_strAside.c_str()))
        CTrace::Line("earlier file moved aside to %s not deleted (error %lu)", m_strAside.c_str(),
                     GetLastError());
}

} // namespace qel

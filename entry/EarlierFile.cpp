#include "entry/EarlierFile.h"

#include "common/BoundedString.h"
#include "common/Trace.h"
#include "common/WinOwners.h"

namespace qel
{

namespace
{

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

// Makes a new empty file of a name of its own in folder (with its trailing
// separator) and writes its path to aside. GetTempFileName takes a folder of
// at most MAX_PATH - 14 characters; in a deeper one, whose earlier file's name
// still fits, a shorter name of at most four characters is made here.
DWORD MakeAsideFile(const std::string& folder, char* aside, std::size_t size)
{
    if (folder.size() + 14 <= MAX_PATH)
        return GetTempFileNameA(folder.c_str(), "qel", 0, aside) != 0 ? ERROR_SUCCESS
                                                                      : GetLastError();
    if (folder.size() + 4 >= size)
        return ERROR_BUFFER_OVERFLOW;
    for (unsigned number = GetTickCount() & 0xFFF, tries = 0; tries <= 0xFFF;
         ++tries, number = (number + 1) & 0xFFF)
    {
        FormatBounded(aside, size, "%s~%03x", folder.c_str(), number);
        const CHandle file(CreateFileA(aside, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsValid())
            return ERROR_SUCCESS;
        if (GetLastError() != ERROR_FILE_EXISTS)
            return GetLastError();
    }
    return ERROR_FILE_EXISTS;
}

} // namespace

CEarlierFile::CEarlierFile(const char* path) : m_strPath(path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    // Whoever made the earlier file read-only keeps it: the writer could not
    // replace it either, and the copy aside could not be deleted afterwards.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
    {
        m_dwError = ERROR_ACCESS_DENIED;
        return;
    }
    // A name of its own in the same folder: the move is a rename on the
    // same volume, and nothing of another program's is replaced.
    char aside[MAX_PATH] = {};
    const std::string folder = FolderOf(path);
    const DWORD made =
        folder.empty() ? ERROR_BAD_PATHNAME : MakeAsideFile(folder, aside, sizeof aside);
    if (made != ERROR_SUCCESS)
    {
        m_dwError = made;
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

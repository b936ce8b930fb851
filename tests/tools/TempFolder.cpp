#include "tests/tools/TempFolder.h"

#include <windows.h>

namespace qel::test
{

CTempFolder::CTempFolder()
{
    static unsigned counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    m_path = std::string(temp) + "qeltools-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
}

CTempFolder::~CTempFolder()
{
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((m_path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

} // namespace qel::test

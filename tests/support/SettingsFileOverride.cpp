#include "tests/support/SettingsFileOverride.h"

#include <windows.h>

#include "tests/support/TestFiles.h"

namespace qel::test
{

CSettingsFileOverride::CSettingsFileOverride(const std::string& content)
    : m_existed(FileExists(Path())), m_previous(m_existed ? ReadFileText(Path()) : std::string())
{
    WriteFileText(Path(), content);
}

CSettingsFileOverride::~CSettingsFileOverride()
{
    if (m_existed)
        WriteFileText(Path(), m_previous);
    else
        DeleteFileA(Path().c_str());
}

std::string CSettingsFileOverride::Path()
{
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, MAX_PATH);
    std::string path(directory);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path + "QelSW99_3D.ini";
}

} // namespace qel::test

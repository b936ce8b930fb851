#include "ScratchDirectory.h"

#include <filesystem>
#include <stdexcept>

#include <windows.h>

namespace
{

std::string LongTempPath()
{
    char shortPath[MAX_PATH] = {};
    char longPath[MAX_PATH] = {};
    DWORD length = GetTempPathA(MAX_PATH, shortPath);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("no temporary directory");
    length = GetLongPathNameA(shortPath, longPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("temporary directory has no long form");
    return longPath;
}

} // namespace

CScratchDirectory::CScratchDirectory()
{
    static unsigned s_counter = 0;
    std::string base = LongTempPath();
    if (base.back() != '\\')
        base += '\\';
    m_path = base + "QelSettings-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++s_counter);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
    if (!CreateDirectoryA(m_path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + m_path);
}

CScratchDirectory::~CScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string CScratchDirectory::Sub(const std::string& relative) const
{
    return m_path + "\\" + relative;
}

std::string CScratchDirectory::MakeDir(const std::string& relative) const
{
    std::string path = Sub(relative);
    if (!CreateDirectoryA(path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path);
    return path;
}

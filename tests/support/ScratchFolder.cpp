#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <stdexcept>

#include <windows.h>

namespace qel::test
{

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
        throw std::runtime_error("the temporary directory has no long form");
    std::string path(longPath);
    if (path.back() != '\\')
        path += '\\';
    return path;
}

void RemoveAll(const std::string& path)
{
    std::error_code ignored; // a leftover folder must not fail the test
    std::filesystem::remove_all(path, ignored);
}

} // namespace

CScratchFolder::CScratchFolder(const std::string& name)
{
    static unsigned s_counter = 0;
    m_path = LongTempPath() + "qel-" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++s_counter);
    RemoveAll(m_path);
    if (!CreateDirectoryA(m_path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + m_path);
}

CScratchFolder::~CScratchFolder()
{
    RemoveAll(m_path);
}

std::string CScratchFolder::MakeDir(const std::string& relative) const
{
    std::string path = PathOf(relative);
    if (!CreateDirectoryA(path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path);
    return path;
}

} // namespace qel::test

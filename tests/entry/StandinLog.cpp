#include "StandinLog.h"

#include <windows.h>

#include "tests/support/TestFiles.h"

namespace qel::test
{

CStandinLogFile::CStandinLogFile(const std::string& path) : m_path(path)
{
    DeleteFileA(m_path.c_str());
    SetEnvironmentVariableA("QEL_STANDIN_LOG", m_path.c_str());
}

CStandinLogFile::~CStandinLogFile()
{
    SetEnvironmentVariableA("QEL_STANDIN_LOG", nullptr);
    DeleteFileA(m_path.c_str());
}

std::vector<std::string> CStandinLogFile::Lines() const
{
    return ReadFileLines(m_path);
}

std::vector<std::string> CStandinLogFile::LinesStartingWith(const std::string& prefix) const
{
    std::vector<std::string> matching;
    for (const std::string& line : Lines())
        if (line.compare(0, prefix.size(), prefix) == 0)
            matching.push_back(line);
    return matching;
}

} // namespace qel::test

#include "StandinLog.h"

#include <sstream>

#include <windows.h>

#include "HostInstallation.h"

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
    std::istringstream text(ReadFileText(m_path));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(text, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
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

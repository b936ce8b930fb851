// Points the stand-ins of the maker's libraries at a log file for one test
// (environment variable QEL_STANDIN_LOG) and reads back what they recorded.
#pragma once

#include <string>
#include <vector>

namespace qel::test
{

class CStandinLogFile
{
public:
    explicit CStandinLogFile(const std::string& path);
    CStandinLogFile(const CStandinLogFile&) = delete;
    CStandinLogFile& operator=(const CStandinLogFile&) = delete;
    ~CStandinLogFile();

    std::vector<std::string> Lines() const;
    // Lines that begin with prefix.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const;

private:
    std::string m_path;
};

} // namespace qel::test

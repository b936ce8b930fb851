#include "tests/bindings/BindingTestSupport.h"

#include <fstream>

#include <gtest/gtest.h>
#include <windows.h>

#include "bindings/LibrarySearch.h"
#include "common/ErrorMessage.h"

namespace qel::test
{

std::string VariantFolder(const char* variant)
{
    return BinFolder() + "\\variants\\" + variant;
}

bool SystemIsGerman()
{
    return PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_GERMAN;
}

void CopyFileOrFail(const std::string& from, const std::string& to)
{
    ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE))
        << "copy " << from << " -> " << to << " failed: " << GetLastError();
}

CSearchFolders::CSearchFolders(std::vector<std::string> folders) : m_folders(std::move(folders))
{
    for (const std::string& folder : m_folders)
        m_table.push_back(folder.c_str());
    m_table.push_back(nullptr);
    SetLibrarySearchFoldersForTesting(m_table.data());
}

CSearchFolders::~CSearchFolders()
{
    SetLibrarySearchFoldersForTesting(nullptr);
}

CStandinJournal::CStandinJournal() : m_file(m_folder.PathOf("journal.txt"))
{
    SetEnvironmentVariableA("QEL_STANDIN_LOG", m_file.c_str());
}

CStandinJournal::~CStandinJournal()
{
    SetEnvironmentVariableA("QEL_STANDIN_LOG", nullptr);
}

std::vector<std::string> CStandinJournal::Lines() const
{
    std::vector<std::string> lines;
    std::ifstream file(m_file);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> CStandinJournal::LinesFrom(std::size_t first) const
{
    std::vector<std::string> lines = Lines();
    if (first >= lines.size())
        return {};
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                    lines.end());
}

std::size_t CStandinJournal::Count(const std::string& line) const
{
    std::size_t count = 0;
    for (const std::string& written : Lines())
        count += written == line ? 1 : 0;
    return count;
}

std::string ErrorTextOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (ErrorText text)
    {
        return text;
    }
    return "(no error)";
}

std::string LoadError(CLibraryBinding& binding)
{
    return ErrorTextOf([&binding] { binding.Load(); });
}

bool IsModuleLoaded(const char* fileName)
{
    return GetModuleHandleA(fileName) != nullptr;
}

} // namespace qel::test

#include "tests/bindings/BindingTestSupport.h"

#include <fstream>

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/tools/ChildProcess.h"
#include "common/ErrorMessage.h"

namespace qel::test
{

std::string VariantFolder(const char* variant)
{
    return BuildBinFolder() + "\\variants\\" + variant;
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

namespace
{
// Set in a laid-out copy: the build's bin folder.
constexpr const char* kLaidOut = "QEL_LAID_OUT";
} // namespace

std::string BuildBinFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kLaidOut, folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : BinFolder();
}

bool RunsLaidOutWith(const std::vector<std::string>& files)
{
    if (GetEnvironmentVariableA(kLaidOut, nullptr, 0) > 0)
        return true;
    CScratchFolder folder("laidout");
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string copy = folder.PathOf("bindings_tests.exe");
    CopyFileOrFail(self, copy);
    for (const std::string& file : files)
        CopyFileOrFail(file, folder.PathOf(file.substr(file.find_last_of("\\/") + 1)));
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    SetEnvironmentVariableA(kLaidOut, BinFolder().c_str());
    const ProcessOutcome run = RunProcess(
        copy, {std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
        folder.Path());
    SetEnvironmentVariableA(kLaidOut, nullptr);
    EXPECT_EQ(0, run.exitCode) << run.output << run.errors;
    EXPECT_NE(std::string::npos, run.output.find("[  PASSED  ] 1 test."))
        << "the copy did not run the test:\n"
        << run.output;
    return false;
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

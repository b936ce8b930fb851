#include "settings/TempPath.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/ScratchFolder.h"
#include "TempVariables.h"
#include "common/WinOwners.h"

using qel::CTempPath;

namespace
{

// Test tree inside the scratch directory, spelled as the listing holds it.
constexpr const char* kListedDir = "Mixed Case Dir";
constexpr const char* kListedSub = "Sub Folder";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
    {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

std::string ForwardSlashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ShortForm(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? shortPath : "";
}

struct LongPathRun
{
    int result;
    std::string output;     // the output buffer's text ("xxx..." when untouched)
    std::string inputAfter; // the caller's input after the call
};

// Runs MakeLongPath on a copy of input; the output buffer is prefilled with 'x'.
LongPathRun RunMakeLongPath(const std::string& input, std::size_t outputSize = MAX_PATH)
{
    std::vector<char> in(input.begin(), input.end());
    in.push_back('\0');
    std::vector<char> out(outputSize + 1, 'x');
    out.back() = '\0';
    int result = CTempPath().MakeLongPath(in.data(), out.data(), outputSize);
    return {result, out.data(), in.data()};
}

class TempPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_scratch.MakeDir(kListedDir);
        m_scratch.MakeDir(std::string(kListedDir) + "\\" + kListedSub);
    }

    // Fills in <root> (scratch path as listed), <ROOT> (upper case) and <root/>
    // (forward slashes).
    std::string Expand(const std::string& pattern) const
    {
        std::string root = m_scratch.Path();
        std::string text = Replace(pattern, "<root/>", ForwardSlashes(root));
        text = Replace(text, "<ROOT>", UpperCase(root));
        return Replace(text, "<root>", root);
    }

    qel::test::CScratchFolder m_scratch{"settings"};
};

struct LongPathCase
{
    const char* name;
    const char* input;
    int result;
    const char* output;
    const char* inputAfter; // nullptr: the input is unchanged
};

std::ostream& operator<<(std::ostream& out, const LongPathCase& c)
{
    return out << c.name;
}

class MakeLongPathCases : public TempPathTest, public ::testing::WithParamInterface<LongPathCase>
{
};

TEST_P(MakeLongPathCases, GivesListedNamesOrFails)
{
    const LongPathCase& c = GetParam();
    std::string input = Expand(c.input);
    LongPathRun run = RunMakeLongPath(input);
    EXPECT_EQ(c.result, run.result) << input;
    EXPECT_EQ(Expand(c.output), run.output) << input;
    EXPECT_EQ(c.inputAfter != nullptr ? Expand(c.inputAfter) : input, run.inputAfter);
}

const LongPathCase kLongPathCases[] = {
    {"CapitalisationFromListing", "<ROOT>\\mixed case dir\\SUB FOLDER", 1,
     "<root>\\Mixed Case Dir\\Sub Folder", nullptr},
    {"TrailingSeparatorCutFromInputAndKept", "<root>\\mixed case dir\\", 1,
     "<root>\\Mixed Case Dir\\", "<root>\\mixed case dir"},
    {"ForwardSlashesKept", "<root/>/mixed case dir/sub folder/", 1,
     "<root/>/Mixed Case Dir/Sub Folder/", "<root/>/mixed case dir/sub folder"},
    {"MixedSeparatorsKept", "<root>/mixed case dir\\sub folder", 1,
     "<root>/Mixed Case Dir\\Sub Folder", nullptr},
    {"DriveAndSeparatorOnlyGivesDrive", "C:\\", 1, "C:", nullptr},
    {"DriveOnlyGivesDrive", "c:", 1, "c:", nullptr},
    {"LeadingSeparatorAlone", "\\", 1, "\\", nullptr},
    {"MissingComponentFails", "<root>\\No Such Dir\\sub folder", 0, "", nullptr},
    {"MissingLastComponentFails", "<root>\\mixed case dir\\none", 0, "", nullptr},
    {"EmptyComponentFails", "<root>\\\\mixed case dir", 0, "", nullptr},
    {"TwoTrailingSeparatorsFail", "<root>\\mixed case dir\\\\", 0, "", "<root>\\mixed case dir\\"},
    {"NetworkPathFails", "\\\\server\\share", 0, "", nullptr},
    {"WildcardComponentFails", "<root>\\mixed*", 0, "", nullptr},
    {"WildcardQuestionMarkFails", "<root>\\Mixed Case Di?", 0, "", nullptr},
};

INSTANTIATE_TEST_SUITE_P(TempPath, MakeLongPathCases, ::testing::ValuesIn(kLongPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TempPathTest, MakeLongPath_ShortFormComesBackLong)
{
    std::string longPath = m_scratch.PathOf(kListedDir) + "\\" + kListedSub;
    std::string shortPath = ShortForm(longPath);
    ASSERT_FALSE(shortPath.empty());
    ASSERT_NE(longPath, shortPath);

    LongPathRun run = RunMakeLongPath(shortPath + "\\");

    EXPECT_EQ(1, run.result);
    EXPECT_EQ(longPath + "\\", run.output);
}

TEST_F(TempPathTest, MakeLongPath_LeadingSeparatorWithoutDriveKeepsOneSeparator)
{
    // The path without drive is resolved on the current directory's drive.
    qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(m_scratch.Path().c_str()));
    std::string root = m_scratch.Path();
    ASSERT_EQ(':', root[1]);
    std::string withoutDrive = root.substr(2);

    LongPathRun run = RunMakeLongPath(UpperCase(withoutDrive) + "\\mixed case dir");

    EXPECT_EQ(1, run.result);
    EXPECT_EQ(withoutDrive + "\\Mixed Case Dir", run.output);
}

TEST_F(TempPathTest, MakeLongPath_RelativePathGetsNoLeadingSeparator)
{
    qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(m_scratch.Path().c_str()));

    LongPathRun run = RunMakeLongPath("mixed case dir/sub folder");

    EXPECT_EQ(1, run.result);
    EXPECT_EQ("Mixed Case Dir/Sub Folder", run.output);
}

TEST_F(TempPathTest, MakeLongPath_ResultMustFitWithItsTerminator)
{
    std::string input = m_scratch.PathOf("mixed case dir");
    std::string expected = m_scratch.PathOf(kListedDir);

    LongPathRun fits = RunMakeLongPath(input, expected.size() + 1);
    LongPathRun tooSmall = RunMakeLongPath(input, expected.size());

    EXPECT_EQ(1, fits.result);
    EXPECT_EQ(expected, fits.output);
    EXPECT_EQ(0, tooSmall.result);
    EXPECT_EQ("", tooSmall.output);
}

TEST_F(TempPathTest, MakeLongPath_WritesNothingIntoAnOutputOfSizeZero)
{
    LongPathRun run = RunMakeLongPath(m_scratch.Path(), 0);

    EXPECT_EQ(0, run.result);
    EXPECT_EQ("", run.output); // the buffer's guard terminator only
}

TEST(TempPathArguments, MakeLongPath_MissingOrEmptyInputLeavesOutputUntouched)
{
    CTempPath tempPath;
    char output[8] = "keep";
    char input[8] = "C:\\";
    char empty[1] = "";

    EXPECT_EQ(0, tempPath.MakeLongPath(nullptr, output, sizeof output));
    EXPECT_STREQ("keep", output);
    EXPECT_EQ(0, tempPath.MakeLongPath(empty, output, sizeof output));
    EXPECT_STREQ("keep", output);
    EXPECT_EQ(0, tempPath.MakeLongPath(input, nullptr, sizeof output));
    EXPECT_STREQ("C:\\", input);
}

struct TempDirCase
{
    const char* name;
    const char* tmp; // relative to the scratch directory
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const TempDirCase& c)
{
    return out << c.name;
}

class GetTempDirCases : public TempPathTest, public ::testing::WithParamInterface<TempDirCase>
{
};

TEST_P(GetTempDirCases, EndsInExactlyOneSeparator)
{
    CTempVariables tmp(Expand(GetParam().tmp));

    std::unique_ptr<char[]> tempDir = CTempPath().GetTempDir();

    ASSERT_TRUE(tempDir);
    EXPECT_EQ(Expand(GetParam().expected), tempDir.get());
}

const TempDirCase kTempDirCases[] = {
    {"WithoutTrailingSeparator", "<root>\\Mixed Case Dir", "<root>\\Mixed Case Dir\\"},
    {"WithTrailingSeparator", "<root>\\Mixed Case Dir\\", "<root>\\Mixed Case Dir\\"},
    {"NotExisting", "<root>\\gone", "<root>\\gone\\"},
};

INSTANTIATE_TEST_SUITE_P(TempPath, GetTempDirCases, ::testing::ValuesIn(kTempDirCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TempPathTest, GetLongTempDir_MissingTemporaryDirectoryIsGivenAsTheSystemGivesIt)
{
    CTempVariables tmp(m_scratch.PathOf("gone"));
    char output[MAX_PATH] = "x";

    EXPECT_EQ(1, CTempPath().GetLongTempDir(output, sizeof output));

    EXPECT_EQ(m_scratch.PathOf("gone") + "\\", output);
}

TEST_F(TempPathTest, GetLongTempDir_TooSmallOutputGivesEmptyText)
{
    std::string longPath = m_scratch.PathOf(kListedDir) + "\\";
    CTempVariables tmp(longPath);
    std::vector<char> output(longPath.size(), 'x');

    EXPECT_EQ(1, CTempPath().GetLongTempDir(output.data(), output.size()));

    EXPECT_STREQ("", output.data());
}

} // namespace

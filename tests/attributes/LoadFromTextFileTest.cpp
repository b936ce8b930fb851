#include "cad/AttributeList.h"

#include "tests/attributes/AttributeTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qel
{
namespace
{

namespace fs = std::filesystem;

// A scratch file in the temporary directory, named after the running test and
// removed afterwards.
class LoadFromTextFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("qel_attributes_") + info->test_suite_name() + "_" + info->name() + ".txt";
        for (char& c : name)
        {
            if (c == '/')
                c = '_';
        }
        m_path = (fs::temp_directory_path() / name).string();
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove(m_path, ignored);
    }

    void WriteFile(const std::string& content)
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << content;
        ASSERT_TRUE(out.good());
    }

    std::string m_path;
};

void AddChecked(CAttributeList& list, const char* name, const char* value)
{
    list.Add(name, value, AttributeAux{}, AttributeAux{}, 1);
}

// ---------------------------------------------------------------------------
// How the text becomes pairs.

struct TextCase
{
    const char* name;
    std::string content;
    std::vector<Pair> pairs;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoadFromTextFileText : public LoadFromTextFile, public ::testing::WithParamInterface<TextCase>
{
};

TEST_P(LoadFromTextFileText, AddsTheExpectedPairs)
{
    WriteFile(GetParam().content);
    CAttributeList list;
    EXPECT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 1));
    EXPECT_EQ(GetParam().pairs, PairsOf(list));
}

const TextCase kTextCases[] = {
    {"NameWithoutValueAtTheEndGetsTheEmptyValue",
     "Norm\nDIN 933\nSize",
     {{"Norm", "DIN 933"}, {"Size", ""}}},
    {"LineFeedAfterTheLastValueAddsNothingMore", "Norm\nDIN 933\n", {{"Norm", "DIN 933"}}},
    {"CrLfCountsAsOneLineFeed",
     "Norm\r\nDIN 933\r\nSize\r\nM8x20\r\n",
     {{"Norm", "DIN 933"}, {"Size", "M8x20"}}},
    {"LoneCarriageReturnStaysInTheText", "No\rrm\nValue\r", {{"No\rrm", "Value\r"}}},
    {"EmptyLinesCountAsLines", "Norm\n\nSize\nM8x20", {{"Norm", ""}, {"Size", "M8x20"}}},
    {"PairOfEmptyLinesIsSkipped", "\n\nNorm\nDIN 933", {{"Norm", "DIN 933"}}},
    {"EmptyNameWithValueIsAdded", "\nDIN 933", {{"", "DIN 933"}}},
    {"TrailingLineFeedAfterANameGivesItTheEmptyValue", "Norm\n", {{"Norm", ""}}},
    {"DuplicatesDifferingInCaseAreAddedOnce",
     "Norm\nDin 933\nNORM\ndin 933\nnorm\nDIN 934",
     {{"Norm", "Din 933"}, {"norm", "DIN 934"}}},
    {"TextEndsAtTheFirstNul", std::string("Norm\nDIN\0 933\nSize\nM8", 21), {{"Norm", "DIN"}}},
    {"EmptyFileAddsNothing", "", {}},
};

INSTANTIATE_TEST_SUITE_P(Texts, LoadFromTextFileText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Files around the 1024-byte steps of the read buffer are read whole.

class LoadFromTextFileSize : public LoadFromTextFile,
                             public ::testing::WithParamInterface<std::size_t>
{
};

TEST_P(LoadFromTextFileSize, ReadsTheWholeFile)
{
    const std::size_t size = GetParam();
    const std::string head = "Name\n";
    const std::string value = std::string(size - head.size() - 1, 'v') + "E";
    WriteFile(head + value);
    ASSERT_EQ(size, fs::file_size(m_path));
    CAttributeList list;
    EXPECT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 1));
    EXPECT_EQ((std::vector<Pair>{{"Name", value}}), PairsOf(list));
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoadFromTextFileSize,
                         ::testing::Values(1023u, 1024u, 1025u, 2048u, 5000u));

// ---------------------------------------------------------------------------
// Replace and append modes, missing files and read failures.

TEST_F(LoadFromTextFile, AppendKeepsTheListAndChecksDuplicatesAgainstIt)
{
    WriteFile("OLD\n1\nNew\n2\n");
    CAttributeList list;
    AddChecked(list, "Old", "1");
    EXPECT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 0));
    EXPECT_EQ((std::vector<Pair>{{"Old", "1"}, {"New", "2"}}), PairsOf(list));
}

TEST_F(LoadFromTextFile, ReplaceEmptiesTheListFirst)
{
    WriteFile("Old\n1\nNew\n2\n");
    CAttributeList list;
    AddChecked(list, "Old", "1");
    AddChecked(list, "Other", "3");
    EXPECT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 1));
    EXPECT_EQ((std::vector<Pair>{{"Old", "1"}, {"New", "2"}}), PairsOf(list));
}

TEST_F(LoadFromTextFile, MissingFileSucceedsAndAppendKeepsTheList)
{
    CAttributeList list;
    AddChecked(list, "Old", "1");
    EXPECT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 0));
    EXPECT_EQ((std::vector<Pair>{{"Old", "1"}}), PairsOf(list));
}

TEST_F(LoadFromTextFile, MissingFileSucceedsAndReplaceLeavesTheListEmpty)
{
    CAttributeList list;
    AddChecked(list, "Old", "1");
    EXPECT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 1));
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(LoadFromTextFile, NullOrEmptyPathSucceedsWithNothingAdded)
{
    CAttributeList list;
    AddChecked(list, "Old", "1");
    EXPECT_EQ(1, list.LoadFromTextFile(nullptr, 0));
    EXPECT_EQ(1, list.LoadFromTextFile("", 0));
    EXPECT_EQ((std::vector<Pair>{{"Old", "1"}}), PairsOf(list));
}

TEST_F(LoadFromTextFile, DuplicateCheckWorksAfterTheLoad)
{
    WriteFile("Norm\nDIN 933\n");
    CAttributeList list;
    AddChecked(list, "Old", "1");
    ASSERT_EQ(1, list.LoadFromTextFile(m_path.c_str(), 0));
    AddChecked(list, "NORM", "din 933");
    AddChecked(list, "OLD", "1");
    EXPECT_EQ(2, list.GetCount());
}

#ifndef _WIN32
// Linux opens a directory for reading, but every read of it fails: a read
// error before the end of the file.
TEST_F(LoadFromTextFile, ReadErrorInAppendModeRestoresTheList)
{
    const std::string directory = fs::temp_directory_path().string();
    CAttributeList list;
    AddChecked(list, "Old", "1");
    EXPECT_EQ(0, list.LoadFromTextFile(directory.c_str(), 0));
    EXPECT_EQ((std::vector<Pair>{{"Old", "1"}}), PairsOf(list));
    AddChecked(list, "OLD", "1");
    EXPECT_EQ(1, list.GetCount());
}

TEST_F(LoadFromTextFile, ReadErrorInReplaceModeLeavesTheListEmpty)
{
    const std::string directory = fs::temp_directory_path().string();
    CAttributeList list;
    AddChecked(list, "Old", "1");
    EXPECT_EQ(0, list.LoadFromTextFile(directory.c_str(), 1));
    EXPECT_EQ(0, list.GetCount());
    AddChecked(list, "Old", "1");
    EXPECT_EQ(1, list.GetCount());
}
#endif

} // namespace
} // namespace qel

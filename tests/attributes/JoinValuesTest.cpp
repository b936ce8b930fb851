#include "cad/AttributeList.h"
#include "common/Platform.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace qel
{
namespace
{

enum class Join
{
    Alnum,
    FileSafe
};

struct JoinCase
{
    const char* name;
    Join join;
    std::vector<std::string> values;
    unsigned capacity;
    int result;
    std::string text;
    bool japanese = false; // double-byte code pages (932, 950) only
};

void PrintTo(const JoinCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr std::size_t kBufferSize = 64;
constexpr char kUntouched = '#';

class JoinValues : public ::testing::TestWithParam<JoinCase>
{
};

// The buffer is larger than the capacity and filled with '#', so that a byte
// written beyond the capacity shows.
TEST_P(JoinValues, GivesTheTextAndResultAndStaysWithinTheCapacity)
{
    const JoinCase& c = GetParam();
    if (c.japanese && !IsLeadByte('\x83'))
        GTEST_SKIP() << "double-byte code pages only";
    CAttributeList list;
    int position = 0;
    for (const std::string& value : c.values)
        list.Add(("Name" + std::to_string(position++)).c_str(), value.c_str(), AttributeAux{},
                 AttributeAux{}, 0);
    std::string buffer(kBufferSize, kUntouched);
    int result = c.join == Join::Alnum ? list.JoinValuesAlnum(&buffer[0], c.capacity)
                                       : list.JoinValuesFileSafe(&buffer[0], c.capacity);
    EXPECT_EQ(c.result, result);
    if (c.capacity > 0)
    {
        EXPECT_EQ(c.text, std::string(buffer.c_str()));
    }
    EXPECT_EQ(std::string(kBufferSize - c.capacity, kUntouched), buffer.substr(c.capacity));
}

const std::string kHighBytes = "\xE4\xF6\xFC\xDF";               // German letters in code page 1252
const std::string kSoketto = "\x83\x5C\x83\x50\x83\x62\x83\x67"; // ソケット
const std::string kKesu = "\x83\x50\x81\x5B\x83\x58";            // ケース

const JoinCase kCases[] = {
    {"AlnumOfTheScrewExample", Join::Alnum, {"M8x20", "DIN 933", "8.8"}, 40, 1, "M8x20_DIN933_8_8"},
    {"FileSafeOfTheScrewExample",
     Join::FileSafe,
     {"M8x20", "DIN 933", "8.8"},
     40,
     1,
     "M8x20_DIN 933_8.8"},
    {"AlnumOfAnEmptyList", Join::Alnum, {}, 40, 0, ""},
    {"FileSafeOfAnEmptyList", Join::FileSafe, {}, 40, 0, ""},
    {"AlnumOfOneValueWithOnlyDroppedCharacters", Join::Alnum, {"!? -" + kHighBytes}, 40, 0, ""},
    {"AlnumOfTwoValuesOfHighBytesIsTheSeparator",
     Join::Alnum,
     {kHighBytes, "\x80\xFF"},
     40,
     1,
     "_"},
    {"FileSafeKeepsHighBytes", Join::FileSafe, {"M" + kHighBytes}, 40, 1, "M" + kHighBytes},
    {"AlnumTurnsSeparatorsIntoUnderscores", Join::Alnum, {"a.b,c;d:e"}, 40, 1, "a_b_c_d_e"},
    {"AlnumDropsOtherPunctuation", Join::Alnum, {"a-b/c\\d_e(f)"}, 40, 1, "abcdef"},
    {"FileSafeReplacesTheNineForbiddenCharacters",
     Join::FileSafe,
     {"\\/:*?\"<>|"},
     40,
     1,
     "_________"},
    {"FileSafeKeepsOtherPunctuation", Join::FileSafe, {"a.b,c;d-e (f)"}, 40, 1, "a.b,c;d-e (f)"},
    {"EmptyValuesStillGetTheirSeparators", Join::FileSafe, {"", "", ""}, 40, 1, "__"},
    {"SingleEmptyValueGivesNothing", Join::FileSafe, {""}, 40, 0, ""},
    {"FileSafeCapacityFiveKeepsFourLetters", Join::FileSafe, {"Abcdefg"}, 5, -1, "Abcd"},
    {"AlnumCutsWhenTheSeparatorDoesNotFit", Join::Alnum, {"ab", "cd"}, 3, -1, "ab"},
    {"TextOfCapacityLessOneFits", Join::Alnum, {"ab", "cd"}, 6, 1, "ab_cd"},
    {"TextOfCapacityIsCutByOne", Join::Alnum, {"ab", "cd"}, 5, -1, "ab_c"},
    {"CapacityOneGivesTheEmptyTextAndCut", Join::FileSafe, {"Abc"}, 1, -1, ""},
    {"CapacityZeroWritesNothingAndReportsTheCut", Join::FileSafe, {"Abc"}, 0, -1, ""},
    {"CapacityZeroOnAnEmptyListWritesNothing", Join::Alnum, {}, 0, 0, ""},
    {"FileSafeUsesValuesNotNames", Join::FileSafe, {"v1", "v2"}, 40, 1, "v1_v2"},
    {"FileSafeReplacesControlCharacters",
     Join::FileSafe,
     {"M8\tx20", "a\r\nb"},
     40,
     1,
     "M8_x20_a__b"},
    // Names Windows takes for devices get a "_" behind the device word.
    {"FileSafeAuxWithDot", Join::FileSafe, {"Aux. bracket"}, 40, 1, "Aux_. bracket"},
    {"FileSafeNul", Join::FileSafe, {"NUL"}, 40, 1, "NUL_"},
    {"AlnumCom1", Join::Alnum, {"com1"}, 40, 1, "com1_"},
    {"DeviceCutForItsUnderscore", Join::FileSafe, {"NUL.x"}, 5, -1, "NUL_"},
    // A lead byte without its second byte would take the "_" or "." behind it.
    {"LoneLeadByteAtAValuesEnd", Join::FileSafe, {"M6\x81", "DIN"}, 40, 1, "M6_DIN", true},
    {"LoneLeadByteBeforeADot", Join::FileSafe, {"ABC\x81.5"}, 40, 1, "ABC.5", true},
    // Code page 932: the second byte of ソ is a backslash's, that of ケ a "P".
    {"FileSafeKeepsSoWhole", Join::FileSafe, {kSoketto, "M8"}, 40, 1, kSoketto + "_M8", true},
    {"AlnumDropsTwoByteCharactersWhole", Join::Alnum, {kKesu, "M8"}, 40, 1, "_M8", true},
    {"CutBeforeATwoByteCharacter", Join::FileSafe, {"A" + kSoketto}, 3, -1, "A", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, JoinValues, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JoinValuesNull, NullOutputGivesZero)
{
    CAttributeList list;
    list.Add("Name", "Value", AttributeAux{}, AttributeAux{}, 1);
    EXPECT_EQ(0, list.JoinValuesAlnum(nullptr, 10));
    EXPECT_EQ(0, list.JoinValuesFileSafe(nullptr, 10));
}

TEST(JoinValuesLong, CutOfAVeryLongJoinKeepsTheFirstCharacters)
{
    CAttributeList list;
    for (int i = 0; i < 1000; ++i)
        list.Add("N", std::to_string(i).c_str(), AttributeAux{}, AttributeAux{}, 1);
    char buffer[245];
    EXPECT_EQ(-1, list.JoinValuesAlnum(buffer, sizeof(buffer)));
    std::string expected;
    for (int i = 0; expected.size() < 244; ++i)
        expected += std::to_string(i) + "_";
    EXPECT_EQ(expected.substr(0, 244), std::string(buffer));
}

} // namespace
} // namespace qel

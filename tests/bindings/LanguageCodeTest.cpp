#include <gtest/gtest.h>

#include "bindings/LanguageCode.h"
#include "tests/bindings/SystemLanguageOverride.h"

namespace
{

using qel::CLanguageCode;
using qel::test::CSystemLanguageOverride;

struct SLangIdCase
{
    unsigned short langId;
    int expected;
};

class LanguageCodeFromLangIdTest : public testing::TestWithParam<SLangIdCase>
{
};

TEST_P(LanguageCodeFromLangIdTest, MapsPrimaryAndSubLanguageToMakerCode)
{
    EXPECT_EQ(CLanguageCode::CodeFromLangId(GetParam().langId), GetParam().expected)
        << std::hex << "langId 0x" << GetParam().langId;
}

// Every row of the maker's table, each listed sub-language and one that is not
// listed ("any other sub-language"), and primary languages outside the scheme.
const SLangIdCase kLangIdCases[] = {
    // English
    {0x0409, 100},
    {0x0809, 101},
    {0x0C09, 102},
    {0x1009, 103},
    {0x1409, 105},
    {0x1809, 104},
    {0x1C09, 100},
    {0x0009, 100},
    // German
    {0x0407, 106},
    {0x0807, 107},
    {0x0C07, 108},
    {0x1007, 106},
    {0x1407, 106},
    {0xFC07, 106},
    // French
    {0x040C, 109},
    {0x080C, 110},
    {0x0C0C, 111},
    {0x100C, 112},
    {0x140C, 109},
    // Italian
    {0x0410, 113},
    {0x0810, 114},
    {0x0C10, 113},
    // Spanish
    {0x040A, 116},
    {0x080A, 117},
    {0x0C0A, 118},
    {0x100A, 115},
    {0x000A, 115},
    // Languages without regional codes
    {0x0408, 119},
    {0x040E, 120},
    {0x041F, 123},
    {0x041D, 124},
    {0x081D, 124},
    {0x0411, 125},
    {0x0405, 128},
    {0x0406, 129},
    {0x040B, 132},
    {0x040F, 133},
    {0x0412, 134},
    {0x0415, 137},
    {0x0419, 138},
    {0x041B, 140},
    // Portuguese
    {0x0416, 122},
    {0x0816, 121},
    // Chinese
    {0x0404, 126},
    {0x0804, 127},
    {0x0C04, 127},
    // Dutch
    {0x0413, 130},
    {0x0813, 131},
    // Norwegian
    {0x0414, 135},
    {0x0814, 136},
    // Croatian and Serbian
    {0x041A, 139},
    {0x081A, 139},
    {0x0C1A, 139},
    // Outside the scheme: Arabic, Hebrew, Thai, neutral, the largest primary
    {0x0401, 0},
    {0x040D, 0},
    {0x041E, 0},
    {0x0000, 0},
    {0x03FF, 0},
};

INSTANTIATE_TEST_SUITE_P(Table, LanguageCodeFromLangIdTest, testing::ValuesIn(kLangIdCases));

struct SSetCase
{
    int code;
    bool accepted;
};

class LanguageCodeSetTest : public testing::TestWithParam<SSetCase>
{
};

TEST_P(LanguageCodeSetTest, TakesOnlyCodesOfTheScheme)
{
    CLanguageCode language;
    language.Set(123);
    language.Set(GetParam().code);
    EXPECT_EQ(language.Get(), GetParam().accepted ? GetParam().code : 123)
        << "code " << GetParam().code;
}

const SSetCase kSetCases[] = {
    {0, true},   {50, true},  {100, true}, {106, true},  {140, true},   {-1, false},   {1, false},
    {49, false}, {51, false}, {99, false}, {141, false}, {1031, false}, {-106, false},
};

INSTANTIATE_TEST_SUITE_P(Codes, LanguageCodeSetTest, testing::ValuesIn(kSetCases));

TEST(LanguageCodeTest, NewCodeHoldsZero)
{
    EXPECT_EQ(CLanguageCode().Get(), 0);
}

TEST(LanguageCodeTest, SystemDefaultFollowsPlatformLanguage)
{
    if (!CSystemLanguageOverride::kSupported)
        GTEST_SKIP() << "the system language is fixed on this platform";
    CSystemLanguageOverride swissGerman("0x0807");
    EXPECT_EQ(CLanguageCode().GetSystemDefault(), 107);
}

TEST(LanguageCodeTest, AssignmentCopiesHeldCodeButKeepsOwnSystemDefault)
{
    if (!CSystemLanguageOverride::kSupported)
        GTEST_SKIP() << "the system language is fixed on this platform";
    CSystemLanguageOverride german("0x0407");
    CLanguageCode source;
    source.Set(110);
    CSystemLanguageOverride japanese("0x0411");
    CLanguageCode target;

    target = source;

    EXPECT_EQ(target.Get(), 110);
    EXPECT_EQ(target.GetSystemDefault(), 125);
    EXPECT_EQ(source.GetSystemDefault(), 106);
}

} // namespace

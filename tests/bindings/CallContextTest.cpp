#include <string>

#include <gtest/gtest.h>

#include "bindings/CallContext.h"
#include "common/Platform.h"
#include "tests/bindings/SystemLanguageOverride.h"

namespace
{

using qel::CCallContext;
using qel::COptionParameters;
using qel::test::CSystemLanguageOverride;

struct SShowMessagesCase
{
    const char* text;
    bool expected;
    bool japanese = false; // code page 932 only
};

class CallContextShowMessagesTest : public testing::TestWithParam<SShowMessagesCase>
{
};

TEST_P(CallContextShowMessagesTest, FlagFollowsLastShowMessagesNumber)
{
    if (GetParam().japanese && !qel::IsLeadByte('\x83'))
        GTEST_SKIP() << "code page 932 only";
    CCallContext context;
    context.SetText(GetParam().text);
    EXPECT_EQ(context.GetShowMessages(), GetParam().expected) << "text: " << GetParam().text;
}

const SShowMessagesCase kShowMessagesCases[] = {
    {"ShowMessages=1", true},
    {"showmessages=1", true},
    {"SHOWMESSAGES=1", true},
    {"ShowMessages=2", true},
    {"ShowMessages=-1", true},
    {"ShowMessages=+3", true},
    {"ShowMessages= 1", true},  // the number reading skips blanks
    {"ShowMessages=1=2", true}, // "=" inside a value belongs to it
    {"ShowMessages=1|", true},  // a trailing "|" adds nothing
    {"LanguageId=106|ShowMessages=1", true},
    {"ShowMessages=0|ShowMessages=1", true},
    {"ShowMessages=0", false},
    {"ShowMessages=", false},
    {"ShowMessages=abc", false},
    {"ShowMessages=-0", false},
    {"ShowMessages=1|ShowMessages=0", false}, // the later item wins
    {" ShowMessages=1", false},               // " ShowMessages" is no key
    {"ShowMessages", false},                  // last item without "=": empty value
    {"ShowMessages=1|ShowMessages", false},
    {"ShowMessages|LanguageId=1", false}, // key "ShowMessages|LanguageId"
    {"", false},
    // The second byte of ポ (83 7C) is a bar's: it ends no item.
    {"OutputFileName=\x83\x7C|ShowMessages=1", true, true},
};

INSTANTIATE_TEST_SUITE_P(Texts, CallContextShowMessagesTest, testing::ValuesIn(kShowMessagesCases));

TEST(CallContextTest, NullTextLeavesDefaults)
{
    CCallContext context;
    EXPECT_EQ(context.SetText(nullptr), 1);
    EXPECT_FALSE(context.GetShowMessages());
    EXPECT_EQ(context.GetLanguageCode(), qel::CLanguageCode().GetSystemDefault());
}

// kSystem stands for the system language's code.
constexpr int kSystem = -1;

struct SLanguageCase
{
    const char* text;
    int expected;
};

class CallContextLanguageTest : public testing::TestWithParam<SLanguageCase>
{
protected:
    // Austrian German (108) natively, so that "the system's code" differs from
    // every code the texts name.
    CSystemLanguageOverride m_language{"0x0C07"};
};

TEST_P(CallContextLanguageTest, LanguageIdSelectsAcceptedCodesOnly)
{
    CCallContext context;
    const int system = qel::CLanguageCode().GetSystemDefault();
    if (CSystemLanguageOverride::kSupported)
    {
        ASSERT_EQ(system, 108);
    }

    context.SetText(GetParam().text);

    int expected = GetParam().expected == kSystem ? system : GetParam().expected;
    EXPECT_EQ(context.GetLanguageCode(), expected) << "text: " << GetParam().text;
}

const SLanguageCase kLanguageCases[] = {
    {"", kSystem},
    {"LanguageId=106", 106},
    {"languageid=112", 112},
    {"LanguageId= 109", 109},
    {"LanguageId=99", kSystem},
    {"LanguageId=abc", 0},
    {"LanguageId=50", 50},
    {"LanguageId=0", 0},
    {"LanguageId=100", 100},
    {"LanguageId=140", 140},
    {"LanguageId=141", kSystem},
    {"LanguageId=-106", kSystem},
    {"LanguageId=110|LanguageId=99", 110},   // refused code keeps the previous one
    {"LanguageId=110|LanguageId=", kSystem}, // empty value returns to the system's
    {"LanguageId=110|LanguageId", kSystem},
    {" LanguageId=110", kSystem},
};

INSTANTIATE_TEST_SUITE_P(Texts, CallContextLanguageTest, testing::ValuesIn(kLanguageCases));

struct SSystemLanguageCase
{
    const char* langId;
    int expected;
};

class CallContextSystemLanguageTest : public testing::TestWithParam<SSystemLanguageCase>
{
};

TEST_P(CallContextSystemLanguageTest, WithoutLanguageIdReportsSystemLanguageCode)
{
    if (!CSystemLanguageOverride::kSupported)
        GTEST_SKIP() << "the system language is fixed on this platform";
    CSystemLanguageOverride language(GetParam().langId);
    CCallContext context;
    context.SetText("ShowMessages=1");
    EXPECT_EQ(context.GetLanguageCode(), GetParam().expected) << "langId " << GetParam().langId;
}

const SSystemLanguageCase kSystemLanguageCases[] = {
    {"0x0C07", 108}, // German (Austria)
    {"0x0411", 125}, // Japanese
    {"0x0401", 0},   // Arabic
    {"0x0409", 100}, // English (United States)
};

INSTANTIATE_TEST_SUITE_P(Systems, CallContextSystemLanguageTest,
                         testing::ValuesIn(kSystemLanguageCases));

TEST(CallContextTest, OutputAndIniFileNamesAreTheTextsUpToNextBar)
{
    CCallContext context;
    context.SetText("OutputFileName=C:\\x.sat|IniFileName=C:\\Program Files\\Qel\\Qel.ini");
    EXPECT_STREQ(context.GetOutputFileName(), "C:\\x.sat");
    EXPECT_STREQ(context.GetIniFileName(), "C:\\Program Files\\Qel\\Qel.ini");
}

TEST(CallContextTest, FileNamesAreNullWhenAbsentAndEmptyWhenGivenEmpty)
{
    CCallContext context;
    context.SetText("ShowMessages=1|OutputFileName=");
    EXPECT_EQ(context.GetIniFileName(), nullptr);
    ASSERT_NE(context.GetOutputFileName(), nullptr);
    EXPECT_STREQ(context.GetOutputFileName(), "");
}

TEST(CallContextTest, StoresOtherOptionKeysIncludingHostSpelling)
{
    CCallContext context;
    EXPECT_EQ(context.SetText("fondunderlined=1|Internal_1=a=b|Unknown=7|Line6Pen=3"), 1);
    EXPECT_STREQ(context.GetValue(16), "1");
    EXPECT_STREQ(context.GetValue(70), "a=b");
    EXPECT_STREQ(context.GetValue(59), "3");
    EXPECT_STREQ(context.RenderText(), "FondUnderlined=1|Line6Pen=3|Internal_1=a=b");
}

TEST(CallContextTest, OptionKeyTableHasTheHostsSeventyOneKeys)
{
    CCallContext context;
    ASSERT_EQ(context.GetKeyCount(), COptionParameters::kKeyCount);
    EXPECT_EQ(context.GetKeyCount(), 71u);
    EXPECT_STREQ(context.GetKey(0), "ShowMessages");
    EXPECT_STREQ(context.GetKey(1), "LanguageId");
    EXPECT_STREQ(context.GetKey(2), "OutputFileName");
    EXPECT_STREQ(context.GetKey(3), "IniFileName");
    EXPECT_STREQ(context.GetKey(16), "FondUnderlined");
    EXPECT_STREQ(context.GetKey(62), "PartPath");
    EXPECT_STREQ(context.GetKey(70), "Internal_1");
}

TEST(CallContextTest, NewTextKeepsFlagsWhileClearingValues)
{
    CCallContext context;
    context.SetText("ShowMessages=1|LanguageId=50");
    context.SetText("Color=3");
    EXPECT_EQ(context.GetValue(COptionParameters::kShowMessages), nullptr);
    EXPECT_TRUE(context.GetShowMessages());
    EXPECT_EQ(context.GetLanguageCode(), 50);
}

TEST(CallContextTest, CopyFromContextTakesValuesLanguageAndFlag)
{
    CCallContext source;
    source.SetText("ShowMessages=1|LanguageId=111|OutputFileName=a.sat");
    CCallContext target;

    target.CopyFrom(source);

    EXPECT_TRUE(target.GetShowMessages());
    EXPECT_EQ(target.GetLanguageCode(), 111);
    EXPECT_STREQ(target.GetOutputFileName(), "a.sat");
    source.SetText("OutputFileName=b.sat");
    EXPECT_STREQ(target.GetOutputFileName(), "a.sat");
}

TEST(CallContextTest, CopyFromSelfChangesNothing)
{
    CCallContext context;
    context.SetText("ShowMessages=1|LanguageId=106|IniFileName=q.ini");

    context.CopyFrom(context);

    EXPECT_TRUE(context.GetShowMessages());
    EXPECT_EQ(context.GetLanguageCode(), 106);
    EXPECT_STREQ(context.GetIniFileName(), "q.ini");
}

TEST(CallContextTest, CopyFromPlainListTakesValuesButKeepsFlags)
{
    qel::COptionParameters source;
    source.SetText("ShowMessages=1|LanguageId=106");
    CCallContext target;

    target.CopyFrom(source);

    EXPECT_STREQ(target.GetValue(COptionParameters::kShowMessages), "1");
    EXPECT_FALSE(target.GetShowMessages());
    EXPECT_EQ(target.GetLanguageCode(), qel::CLanguageCode().GetSystemDefault());
}

} // namespace

#include <gtest/gtest.h>

#include <functional>

#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/PartDescription.h"

using qel::test::CPartBlockBuilder;
using qel::test::ParsePartDescription;

struct DescriptionCase
{
    const char* title;
    const char* description;
    std::function<void(CPartBlockBuilder&)> expected; // the same block, built directly
};

class PartDescriptionStatement : public testing::TestWithParam<DescriptionCase>
{
};

TEST_P(PartDescriptionStatement, BuildsTheSameBlockAsTheBuilderCalls)
{
    CPartBlockBuilder parsed;
    std::string error;
    ASSERT_TRUE(ParsePartDescription(GetParam().description, parsed, error)) << error;
    CPartBlockBuilder expected;
    GetParam().expected(expected);
    EXPECT_EQ(parsed.Build(), expected.Build());
}

INSTANTIATE_TEST_SUITE_P(
    Statements, PartDescriptionStatement,
    testing::Values(
        DescriptionCase{"Attr", "attr Norm = DIN 933",
                        [](CPartBlockBuilder& b) { b.AddAttribute("Norm", "DIN 933"); }},
        DescriptionCase{"AttrTrimsBlanksAndAllowsEmptyValue", "  attr \t Name  =   \t",
                        [](CPartBlockBuilder& b) { b.AddAttribute("Name", ""); }},
        DescriptionCase{"AttrValueKeepsLaterEqualsSigns", "attr Formula = a=b",
                        [](CPartBlockBuilder& b) { b.AddAttribute("Formula", "a=b"); }},
        DescriptionCase{"AttrEscapes",
                        "attr Gr\\xF6\\xdf"
                        "e = a\\tb\\nc\\\\d\\x20",
                        [](CPartBlockBuilder& b)
                        {
                            b.AddAttribute("Gr\xF6\xDF"
                                           "e",
                                           "a\tb\nc\\d ");
                        }},
        DescriptionCase{"AttrLong", "attr-long Text = a x 5",
                        [](CPartBlockBuilder& b) { b.AddAttribute("Text", "aaaaa"); }},
        DescriptionCase{"AttrLongEscapedCharacterCutTo30000", "attr-long T = \\xFC x 40000",
                        [](CPartBlockBuilder& b)
                        { b.AddAttribute("T", std::string(30000, '\xFC')); }},
        DescriptionCase{"ItemWithoutPayload", "item 302",
                        [](CPartBlockBuilder& b) { b.AddItem(302); }},
        DescriptionCase{"ItemWithPayload", "item 500 00ff10",
                        [](CPartBlockBuilder& b) {
                            b.AddItem(500, {0x00, 0xFF, 0x10});
                        }},
        DescriptionCase{"ItemPayloadWithBlanks", "item -1 00 FF\t10",
                        [](CPartBlockBuilder& b) {
                            b.AddItem(-1, {0x00, 0xFF, 0x10});
                        }},
        DescriptionCase{"Format", "format 1 3 0x36 4294967295",
                        [](CPartBlockBuilder& b) { b.SetFormatWords(1, 3, 54, 4294967295u); }},
        DescriptionCase{"TotalSize", "item 1\ntotal-size 0",
                        [](CPartBlockBuilder& b)
                        {
                            b.AddItem(1);
                            b.OverrideTotalSize(0);
                        }},
        DescriptionCase{"ItemCount", "item-count 0x10",
                        [](CPartBlockBuilder& b) { b.OverrideItemCount(16); }},
        DescriptionCase{"Truncate", "attr A = B\ntruncate 27",
                        [](CPartBlockBuilder& b)
                        {
                            b.AddAttribute("A", "B");
                            b.TruncateTo(27);
                        }},
        DescriptionCase{"NextPayloadLength", "next-payload-length 99\nitem 5 01\nitem 6 02",
                        [](CPartBlockBuilder& b)
                        {
                            b.OverrideNextPayloadLength(99);
                            b.AddItem(5, {1});
                            b.AddItem(6, {2});
                        }},
        DescriptionCase{"CommentsBlankLinesAndCrLf",
                        "# a bolt\r\n\r\n  # indented\r\nattr A = 1\r\n\r\n",
                        [](CPartBlockBuilder& b) { b.AddAttribute("A", "1"); }},
        DescriptionCase{"EmptyText", "", [](CPartBlockBuilder&) {}}),
    [](const testing::TestParamInfo<DescriptionCase>& info) { return info.param.title; });

struct BadDescriptionCase
{
    const char* title;
    const char* description;
    const char* error;
};

class PartDescriptionError : public testing::TestWithParam<BadDescriptionCase>
{
};

TEST_P(PartDescriptionError, FailsWithLineNumberAndReason)
{
    CPartBlockBuilder builder;
    std::string error;
    EXPECT_FALSE(ParsePartDescription(GetParam().description, builder, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, PartDescriptionError,
    testing::Values(
        BadDescriptionCase{"UnknownStatement", "attr A = 1\n# note\n\nbolt 1",
                           "line 4: unknown statement 'bolt'"},
        BadDescriptionCase{"AttrWithoutEquals", "attr Name", "line 1: attr needs NAME = VALUE"},
        BadDescriptionCase{"UnknownEscape", "attr A = \\q", "line 1: value: unknown escape \\q"},
        BadDescriptionCase{"ShortHexEscape", "attr A = \\x4",
                           "line 1: value: \\x needs two hex digits"},
        BadDescriptionCase{"TrailingBackslashInName", "attr A\\ = v",
                           "line 1: name: backslash at the end of the text"},
        BadDescriptionCase{
            "AttrLongTwoCharacters", "attr-long A = ab x 3",
            "line 1: attr-long needs NAME = CHAR x COUNT (one character, COUNT up to 1000000)"},
        BadDescriptionCase{
            "AttrLongCountTooHigh", "attr-long A = a x 1000001",
            "line 1: attr-long needs NAME = CHAR x COUNT (one character, COUNT up to 1000000)"},
        BadDescriptionCase{
            "AttrLongWithoutX", "attr-long A = a 3",
            "line 1: attr-long needs NAME = CHAR x COUNT (one character, COUNT up to 1000000)"},
        BadDescriptionCase{"ItemCodeOutOfRange", "item 40000",
                           "line 1: item needs a code from -32768 to 32767, not '40000'"},
        BadDescriptionCase{"ItemWithoutCode", "item",
                           "line 1: item needs a code from -32768 to 32767, not ''"},
        BadDescriptionCase{"OddHexDigits", "item 302 0f0",
                           "line 1: item payload must be pairs of hex digits"},
        BadDescriptionCase{"NotHex", "item 302 zz",
                           "line 1: item payload must be pairs of hex digits"},
        BadDescriptionCase{"FormatThreeWords", "format 0 2 54",
                           "line 1: format needs four numbers"},
        BadDescriptionCase{"NegativeTotalSize", "total-size -1",
                           "line 1: total-size needs one number from 0 to 4294967295"},
        BadDescriptionCase{"ItemCountTooLarge", "\nitem-count 4294967296",
                           "line 2: item-count needs one number from 0 to 4294967295"},
        BadDescriptionCase{"TruncateWithoutNumber", "truncate",
                           "line 1: truncate needs one number from 0 to 4294967295"},
        BadDescriptionCase{"NextPayloadLengthTwoNumbers", "next-payload-length 1 2",
                           "line 1: next-payload-length needs one number from 0 to 4294967295"}),
    [](const testing::TestParamInfo<BadDescriptionCase>& info) { return info.param.title; });

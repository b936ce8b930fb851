#include <gtest/gtest.h>

#include "tools/partblock/ItemText.h"
#include "tools/partblock/PartBlockBuilder.h"

using qel::test::AttributePayload;
using qel::test::CPartBlockBuilder;
using qel::test::DecodeAttributePayload;
using qel::test::ItemText;
using qel::test::ItemTextWithLength;
using qel::test::ReadLe16;
using qel::test::ReadLe32;
using Bytes = std::vector<uint8_t>;

namespace
{

// Offsets in a block whose first item is an attribute item.
constexpr std::size_t kFirstPayloadLength = 26;
constexpr std::size_t kFirstNameLength = 38;

} // namespace

TEST(PartBlockBuilder, WritesHeaderAndItemsLittleEndian)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("AB", "xyz");
    builder.AddItem(500, {0x01});

    const Bytes expected = {
        0x38, 0,    0,    0,   0,    0, 0,    0, 2, 0, 0, 0,
        54,   0,    0,    0,   12,   0, 0,    0, 2, 0, 0, 0, // header
        0x2F, 0x01, 19,   0,   0,    0,                      // 303, L=19
        0xFF, 0,    0xFF, 0,   0xFF, 0, 1,    0,             // display
        2,    0,    'A',  'B', 0,                            // name
        3,    0,    'x',  'y', 'z',  0,                      // value
        0xF4, 0x01, 1,    0,   0,    0, 0x01,                // 500, L=1
    };
    EXPECT_EQ(builder.Build(), expected);
}

TEST(PartBlockBuilder, EmptyBlockIsHeaderWithDefaultFormatWords)
{
    const Bytes expected = {24, 0, 0, 0, 0,  0, 0, 0, 2, 0, 0, 0,
                            54, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(CPartBlockBuilder().Build(), expected);
}

TEST(PartBlockBuilder, SetFormatWordsWritesAllFourWords)
{
    CPartBlockBuilder builder;
    builder.SetFormatWords(7, 3, 0x12345678, 0xFFFFFFFF);
    Bytes block = builder.Build();
    EXPECT_EQ(ReadLe32(&block[4]), 7u);
    EXPECT_EQ(ReadLe32(&block[8]), 3u);
    EXPECT_EQ(ReadLe32(&block[12]), 0x12345678u);
    EXPECT_EQ(ReadLe32(&block[16]), 0xFFFFFFFFu);
}

TEST(PartBlockBuilder, NegativeItemCodeIsWrittenAsSigned16Bit)
{
    CPartBlockBuilder builder;
    builder.AddItem(-5);
    Bytes block = builder.Build();
    ASSERT_EQ(block.size(), 30u);
    EXPECT_EQ(static_cast<int16_t>(ReadLe16(&block[24])), -5);
    EXPECT_EQ(ReadLe32(&block[26]), 0u);
}

struct AttributeLengthCase
{
    std::size_t nameLength;
    std::size_t valueLength;
    uint32_t payloadLength; // 8 + (n + 3) + (m + 3), texts cut to 30000
};

class PartBlockBuilderAttributeLength : public testing::TestWithParam<AttributeLengthCase>
{
};

TEST_P(PartBlockBuilderAttributeLength, PayloadLengthCountsDisplayAttributesAndBothTexts)
{
    const AttributeLengthCase& c = GetParam();
    CPartBlockBuilder builder;
    builder.AddAttribute(std::string(c.nameLength, 'n'), std::string(c.valueLength, 'v'));
    Bytes block = builder.Build();
    EXPECT_EQ(ReadLe32(&block[kFirstPayloadLength]), c.payloadLength);
    EXPECT_EQ(ReadLe32(&block[0]), 24u + 6u + c.payloadLength);
    EXPECT_EQ(block.size(), 24u + 6u + c.payloadLength);
}

INSTANTIATE_TEST_SUITE_P(Lengths, PartBlockBuilderAttributeLength,
                         testing::Values(AttributeLengthCase{0, 0, 14},
                                         AttributeLengthCase{4, 7, 25},
                                         AttributeLengthCase{30000, 1, 30015},
                                         AttributeLengthCase{31000, 0, 30014},
                                         AttributeLengthCase{5, 32000, 30019}));

TEST(PartBlockBuilder, AddAttributeCutsLongNameTo30000Characters)
{
    CPartBlockBuilder builder;
    builder.AddAttribute(std::string(31000, 'a'), "v");
    Bytes block = builder.Build();
    EXPECT_EQ(ReadLe16(&block[kFirstNameLength]), 30000);
    std::size_t nameEnd = kFirstNameLength + 2 + 30000;
    EXPECT_EQ(block[nameEnd - 1], 'a');
    EXPECT_EQ(block[nameEnd], 0);
    EXPECT_EQ(ReadLe16(&block[nameEnd + 1]), 1);
}

TEST(PartBlockBuilder, OverrideTotalSizeChangesOnlyOffsetZero)
{
    CPartBlockBuilder honest;
    honest.AddAttribute("A", "B");
    CPartBlockBuilder lying = honest;
    lying.OverrideTotalSize(7);
    Bytes expected = honest.Build();
    expected[0] = 7;
    expected[1] = expected[2] = expected[3] = 0;
    EXPECT_EQ(lying.Build(), expected);
}

TEST(PartBlockBuilder, OverrideItemCountChangesOnlyOffsetTwenty)
{
    CPartBlockBuilder builder;
    builder.AddItem(1);
    builder.OverrideItemCount(0x01020304);
    Bytes block = builder.Build();
    EXPECT_EQ(ReadLe32(&block[20]), 0x01020304u);
    EXPECT_EQ(ReadLe32(&block[0]), 30u);
    EXPECT_EQ(block.size(), 30u);
}

TEST(PartBlockBuilder, OverrideNextPayloadLengthAppliesToOneItemOnly)
{
    CPartBlockBuilder builder;
    builder.OverrideNextPayloadLength(1000);
    builder.AddItem(10, {1, 2});
    builder.AddItem(11, {3});
    Bytes block = builder.Build();
    EXPECT_EQ(ReadLe32(&block[26]), 1000u);
    EXPECT_EQ(block[30], 1);
    EXPECT_EQ(ReadLe16(&block[32]), 11);
    EXPECT_EQ(ReadLe32(&block[34]), 1u);
    EXPECT_EQ(ReadLe32(&block[0]), 39u) << "the total size counts the bytes written";
}

TEST(PartBlockBuilder, TruncateToCutsAfterSizesWereWritten)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Name", "Value");
    Bytes whole = builder.Build();
    builder.TruncateTo(30);
    Bytes cut = builder.Build();
    ASSERT_EQ(cut.size(), 30u);
    EXPECT_TRUE(std::equal(cut.begin(), cut.end(), whole.begin()));
    EXPECT_EQ(ReadLe32(&cut[0]), whole.size());
}

TEST(PartBlockBuilder, TruncateBeyondTheEndChangesNothing)
{
    CPartBlockBuilder builder;
    builder.AddItem(1, {9});
    Bytes whole = builder.Build();
    builder.TruncateTo(1000);
    EXPECT_EQ(builder.Build(), whole);
}

TEST(ItemText, WritesSigned16BitLengthTextAndNul)
{
    EXPECT_EQ(ItemText("Hi"), (Bytes{2, 0, 'H', 'i', 0}));
    EXPECT_EQ(ItemText(""), (Bytes{0, 0, 0}));
    EXPECT_EQ(ItemText(std::string(30001, 'x')).size(), 30003u);
}

TEST(ItemText, WithLengthWritesTheGivenFieldAndTheWholeText)
{
    EXPECT_EQ(ItemTextWithLength("abc", -1), (Bytes{0xFF, 0xFF, 'a', 'b', 'c', 0}));
    EXPECT_EQ(ItemTextWithLength("abc", 500), (Bytes{0xF4, 0x01, 'a', 'b', 'c', 0}));
    EXPECT_EQ(ItemTextWithLength(std::string(31000, 'x'), 31000).size(), 31003u);
}

TEST(ItemText, AttributePayloadWithLyingLengths)
{
    const Bytes expected = {0xFF, 0, 0xFF, 0, 0xFF, 0, 1, 0, 9, 0, 'N', 0, 0x00, 0x80, 'V', 0};
    EXPECT_EQ(AttributePayload("N", "V", 9, -32768), expected);
}

TEST(ItemText, DecodeAttributePayloadReadsBackWhatWasWritten)
{
    std::string name;
    std::string value;
    std::string error;
    ASSERT_TRUE(DecodeAttributePayload(AttributePayload("Gr\xFC\xDF"
                                                        "e",
                                                        "M8\n20"),
                                       name, value, error));
    EXPECT_EQ(name, "Gr\xFC\xDF"
                    "e");
    EXPECT_EQ(value, "M8\n20");
}

struct UndecodableCase
{
    const char* title;
    Bytes payload;
    const char* error;
};

class ItemTextUndecodable : public testing::TestWithParam<UndecodableCase>
{
};

TEST_P(ItemTextUndecodable, DecodeRefusesWithReason)
{
    std::string name;
    std::string value;
    std::string error;
    EXPECT_FALSE(DecodeAttributePayload(GetParam().payload, name, value, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, ItemTextUndecodable,
    testing::Values(UndecodableCase{"NegativeName", AttributePayload("N", "V", -1, 1),
                                    "name length -1 is out of range"},
                    UndecodableCase{"NameAbove30000", AttributePayload("N", "V", 30001, 1),
                                    "name length 30001 is out of range"},
                    UndecodableCase{"NameBeyondPayload", AttributePayload("N", "V", 20, 1),
                                    "name of length 20 does not fit into the payload"},
                    UndecodableCase{"ValueBeyondPayload", AttributePayload("N", "V", 1, 2),
                                    "value of length 2 does not fit into the payload"},
                    UndecodableCase{"NoValue", Bytes{0xFF, 0, 0xFF, 0, 0xFF, 0, 1, 0, 1, 0, 'N', 0},
                                    "value length lies beyond the payload"},
                    UndecodableCase{"ShorterThanDisplayAttributes", Bytes{0xFF, 0, 0xFF},
                                    "name length lies beyond the payload"}),
    [](const testing::TestParamInfo<UndecodableCase>& info) { return info.param.title; });

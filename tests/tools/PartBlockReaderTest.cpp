#include <gtest/gtest.h>

#include <functional>

#include "tools/partblock/ItemText.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/PartBlockDump.h"
#include "tools/partblock/PartBlockReader.h"

using qel::test::AttributePayload;
using qel::test::CPartBlockBuilder;
using qel::test::CPartBlockReader;
using qel::test::DumpPartBlock;
using Bytes = std::vector<uint8_t>;

namespace
{

CPartBlockBuilder ThreeItemPart()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddItem(500, {0x00, 0xFF, 0x10});
    builder.AddAttribute("Size", "M8x20");
    return builder;
}

} // namespace

TEST(PartBlockReader, ReadsBackHeaderItemsAndAttributesInBlockOrder)
{
    Bytes block = ThreeItemPart().Build();
    CPartBlockReader reader;
    ASSERT_TRUE(reader.Read(block.data(), block.size())) << reader.Error();
    EXPECT_EQ(reader.TotalSize(), block.size());
    EXPECT_EQ(reader.ItemCount(), 3u);
    EXPECT_TRUE(reader.HasStandardFormat());
    ASSERT_EQ(reader.Items().size(), 3u);
    EXPECT_EQ(reader.Items()[1].code, 500);
    EXPECT_EQ(reader.Items()[1].payload, (Bytes{0x00, 0xFF, 0x10}));

    std::vector<CPartBlockReader::Attribute> attributes;
    std::string error;
    ASSERT_TRUE(reader.Attributes(attributes, error)) << error;
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0].name, "Norm");
    EXPECT_EQ(attributes[0].value, "DIN 933");
    EXPECT_EQ(attributes[1].name, "Size");
    EXPECT_EQ(attributes[1].value, "M8x20");
}

struct BrokenBlockCase
{
    const char* title;
    std::function<void(CPartBlockBuilder&)> spoil;
    const char* error;
};

class PartBlockReaderBroken : public testing::TestWithParam<BrokenBlockCase>
{
};

// The reader is given exactly the bytes of the block: every refusal proves it
// did not step past them.
TEST_P(PartBlockReaderBroken, RefusesWithReason)
{
    CPartBlockBuilder builder = ThreeItemPart();
    GetParam().spoil(builder);
    Bytes block = builder.Build();
    CPartBlockReader reader;
    EXPECT_FALSE(reader.Read(block.data(), block.size()));
    EXPECT_EQ(reader.Error(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, PartBlockReaderBroken,
    testing::Values(
        BrokenBlockCase{"Truncated", [](CPartBlockBuilder& b) { b.TruncateTo(60); },
                        "total size 93 exceeds the 60 bytes available"},
        BrokenBlockCase{"TooManyItems", [](CPartBlockBuilder& b) { b.OverrideItemCount(4); },
                        "item 3 at offset 93: record header runs past the end of the block"},
        BrokenBlockCase{
            "PayloadLengthTooLong",
            [](CPartBlockBuilder& b)
            {
                b.OverrideNextPayloadLength(1000);
                b.AddItem(7, {1});
            },
            "item 3 at offset 93: payload of 1000 bytes runs past the end of the block"},
        BrokenBlockCase{"TotalSizeCutsLastItem",
                        [](CPartBlockBuilder& b) { b.OverrideTotalSize(80); },
                        "item 2 at offset 64: payload of 23 bytes runs past the end of the block"},
        BrokenBlockCase{"TotalSizeBelowHeader",
                        [](CPartBlockBuilder& b) { b.OverrideTotalSize(23); },
                        "total size 23 is smaller than the header"},
        BrokenBlockCase{"NoTotalSize", [](CPartBlockBuilder& b) { b.TruncateTo(3); },
                        "block of 3 bytes holds no total size"}),
    [](const testing::TestParamInfo<BrokenBlockCase>& info) { return info.param.title; });

TEST(PartBlockReader, RefusesNullBlock)
{
    CPartBlockReader reader;
    EXPECT_FALSE(reader.Read(nullptr, 100));
    EXPECT_EQ(reader.Error(), "no block");
}

TEST(PartBlockReader, IgnoresBytesBehindTheTotalSize)
{
    Bytes block = ThreeItemPart().Build();
    block.insert(block.end(), {0xDE, 0xAD});
    CPartBlockReader reader;
    ASSERT_TRUE(reader.Read(block.data(), block.size())) << reader.Error();
    EXPECT_EQ(reader.Items().size(), 3u);
}

struct FormatCase
{
    uint32_t w4, w8, w12, w16;
    bool standard;
};

class PartBlockReaderFormat : public testing::TestWithParam<FormatCase>
{
};

TEST_P(PartBlockReaderFormat, StandardFormatChecksOnlyTheFirstThreeWords)
{
    const FormatCase& c = GetParam();
    CPartBlockBuilder builder;
    builder.SetFormatWords(c.w4, c.w8, c.w12, c.w16);
    Bytes block = builder.Build();
    CPartBlockReader reader;
    ASSERT_TRUE(reader.Read(block.data(), block.size()));
    EXPECT_EQ(reader.HasStandardFormat(), c.standard);
}

INSTANTIATE_TEST_SUITE_P(Words, PartBlockReaderFormat,
                         testing::Values(FormatCase{0, 2, 54, 12, true},
                                         FormatCase{0, 2, 54, 99, true},
                                         FormatCase{1, 2, 54, 12, false},
                                         FormatCase{0, 3, 54, 12, false},
                                         FormatCase{0, 2, 55, 12, false}));

TEST(PartBlockReader, AttributesFailOnLyingTextLength)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Good", "1");
    builder.AddItem(303, AttributePayload("Bad", "2", 400, 1));
    Bytes block = builder.Build();
    CPartBlockReader reader;
    ASSERT_TRUE(reader.Read(block.data(), block.size()));
    std::vector<CPartBlockReader::Attribute> attributes;
    std::string error;
    EXPECT_FALSE(reader.Attributes(attributes, error));
    EXPECT_EQ(error,
              "attribute item at offset 49: name of length 400 does not fit into the payload");
}

TEST(PartBlockDump, ShowsHeaderItemsAndEscapedTexts)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Gr\xF6\xDF"
                         "e",
                         "a\\b\n");
    builder.AddItem(302);
    builder.AddItem(500, {0x00, 0xFF, 0x10});
    builder.AddItem(303, AttributePayload("X", "Y", -2, 1));
    Bytes block = builder.Build();
    bool valid = false;
    std::string dump = DumpPartBlock(block.data(), block.size(), valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(dump, "total size: 90\n"
                    "format words: 0 2 54 12\n"
                    "item count: 4\n"
                    "item 0 at offset 24: code 303, payload 23 bytes, attribute \"Gr\\xF6\\xDFe\" "
                    "= \"a\\\\b\\n\"\n"
                    "item 1 at offset 53: code 302, payload 0 bytes\n"
                    "item 2 at offset 59: code 500, payload 3 bytes: 00ff10\n"
                    "item 3 at offset 68: code 303, payload 16 bytes, attribute not readable: name "
                    "length -2 is out of range\n");
}

TEST(PartBlockDump, TruncatedBlockShowsWhatIsThereAndTheError)
{
    CPartBlockBuilder builder = ThreeItemPart();
    builder.SetFormatWords(0, 3, 54, 12);
    builder.TruncateTo(66);
    Bytes block = builder.Build();
    bool valid = true;
    std::string dump = DumpPartBlock(block.data(), block.size(), valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(dump,
              "total size: 93\n"
              "format words: 0 3 54 12\n"
              "item count: 3\n"
              "item 0 at offset 24: code 303, payload 25 bytes, attribute \"Norm\" = \"DIN 933\"\n"
              "item 1 at offset 55: code 500, payload 3 bytes: 00ff10\n"
              "error: total size 93 exceeds the 66 bytes available\n");
}

TEST(PartBlockDump, NotesFormatWordsThePlugInDoesNotRead)
{
    CPartBlockBuilder builder;
    builder.SetFormatWords(1, 2, 54, 12);
    Bytes block = builder.Build();
    bool valid = false;
    std::string dump = DumpPartBlock(block.data(), block.size(), valid);
    EXPECT_TRUE(valid);
    EXPECT_NE(dump.find("note: format words other than 0 2 54"), std::string::npos) << dump;
}

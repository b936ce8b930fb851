#include "cad/PartBlockReader.h"

#include "cad/AttributeList.h"
#include "tests/attributes/AttributeTestSupport.h"
#include "tools/partblock/ItemText.h"
#include "tools/partblock/PartBlockBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qel
{
namespace
{

using Bytes = std::vector<std::uint8_t>;
using test::CPartBlockBuilder;

constexpr std::int16_t kAttributeCode = 303;
constexpr std::int16_t kSolidCode = 1; // any item type the reader passes over

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes DisplayAttributes()
{
    return {255, 0, 255, 0, 255, 0, 1, 0};
}

// An item text whose terminator byte is given instead of a NUL.
Bytes TextWithTerminator(const std::string& text, std::uint8_t terminator)
{
    Bytes out = test::ItemText(text);
    out.back() = terminator;
    return out;
}

CPartBlockBuilder BuilderWithTwoAttributes()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddItem(kSolidCode, Bytes(12, 7));
    builder.AddAttribute("Size", "M8x20");
    return builder;
}

std::uint32_t RealSizeOf(const CPartBlockBuilder& builder)
{
    return static_cast<std::uint32_t>(builder.Build().size());
}

// ---------------------------------------------------------------------------
// Blocks the reader takes: result and collected pairs.

struct ReadCase
{
    const char* name;
    Bytes (*block)();
    PartBlockResult result;
    std::vector<Pair> pairs;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class PartBlockReaderReads : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(PartBlockReaderReads, CollectsTheExpectedPairs)
{
    const ReadCase& c = GetParam();
    CAttributeList list;
    EXPECT_EQ(c.result, CollectFrom(c.block(), list));
    EXPECT_EQ(c.pairs, PairsOf(list));
}

Bytes TwoDimensionalBlock(std::int16_t code)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddItem(kSolidCode, Bytes(3, 1));
    builder.AddAttribute("Size", "M8x20");
    builder.AddItem(code, Bytes(16, 0));
    builder.AddAttribute("After", "2D item");
    return builder.Build();
}

Bytes BlockWithFormatWords(std::uint32_t w4, std::uint32_t w8, std::uint32_t w12, std::uint32_t w16)
{
    CPartBlockBuilder builder;
    builder.SetFormatWords(w4, w8, w12, w16);
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddItem(302, Bytes(8, 0));
    builder.AddAttribute("Size", "M8x20");
    return builder.Build();
}

const ReadCase kReadCases[] = {
    {"DuplicatesDifferingInCaseGiveTheFirst",
     []
     {
         CPartBlockBuilder builder;
         builder.AddAttribute("Norm", "Din 933");
         builder.AddAttribute("NORM", "din 933");
         builder.AddAttribute("norm", "DIN 933");
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Norm", "Din 933"}}},
    {"SameNameWithDifferentValuesBothStayInBlockOrder",
     []
     {
         CPartBlockBuilder builder;
         builder.AddAttribute("Length", "20");
         builder.AddAttribute("Length", "25");
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Length", "20"}, {"Length", "25"}}},
    {"Code302AfterTwoAttributesKeepsThem",
     [] { return TwoDimensionalBlock(302); },
     PartBlockResult::TwoDimensional,
     {{"Norm", "DIN 933"}, {"Size", "M8x20"}}},
    {"Code100StopsAtTheItem",
     [] { return TwoDimensionalBlock(100); },
     PartBlockResult::TwoDimensional,
     {{"Norm", "DIN 933"}, {"Size", "M8x20"}}},
    {"Code101StopsAtTheItem",
     [] { return TwoDimensionalBlock(101); },
     PartBlockResult::TwoDimensional,
     {{"Norm", "DIN 933"}, {"Size", "M8x20"}}},
    {"Code102StopsAtTheItem",
     [] { return TwoDimensionalBlock(102); },
     PartBlockResult::TwoDimensional,
     {{"Norm", "DIN 933"}, {"Size", "M8x20"}}},
    {"Code103StopsAtTheItem",
     [] { return TwoDimensionalBlock(103); },
     PartBlockResult::TwoDimensional,
     {{"Norm", "DIN 933"}, {"Size", "M8x20"}}},
    {"NeitherAttributesNor2DItemsGiveAnEmptyList",
     []
     {
         CPartBlockBuilder builder;
         for (std::int16_t code : {1, 99, 104, 301, 304, -302, 1000})
             builder.AddItem(code, Bytes(10, 0x41));
         return builder.Build();
     },
     PartBlockResult::Collected,
     {}},
    {"HeaderOnlyGivesAnEmptyList",
     [] { return CPartBlockBuilder().Build(); },
     PartBlockResult::Collected,
     {}},
    {"FormatWord4NotZeroIsReadAsNoItems",
     [] { return BlockWithFormatWords(1, 2, 54, 12); },
     PartBlockResult::Collected,
     {}},
    {"FormatWord8Of3IsReadAsNoItems",
     [] { return BlockWithFormatWords(0, 3, 54, 12); },
     PartBlockResult::Collected,
     {}},
    {"FormatWord12Not54IsReadAsNoItems",
     [] { return BlockWithFormatWords(0, 2, 55, 12); },
     PartBlockResult::Collected,
     {}},
    {"FormatWord16IsNotChecked",
     []
     {
         CPartBlockBuilder builder;
         builder.SetFormatWords(0, 2, 54, 99);
         builder.AddAttribute("Norm", "DIN 933");
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Norm", "DIN 933"}}},
    {"ForeignFormatWithSixteenBytesIsReadAsNoItems",
     []
     {
         CPartBlockBuilder builder;
         builder.SetFormatWords(0, 3, 54, 12);
         builder.OverrideTotalSize(16);
         return builder.Build();
     },
     PartBlockResult::Collected,
     {}},
    {"RecordsBehindTheItemCountAreIgnored",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.OverrideItemCount(2);
         builder.OverrideNextPayloadLength(0xFFFFFFFFu); // garbage behind the counted records
         builder.AddItem(kSolidCode, Bytes(2, 0));
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Norm", "DIN 933"}}},
    {"AttributeLikePayloadOfOtherItemIsPassedOver",
     []
     {
         CPartBlockBuilder builder;
         builder.AddItem(304, test::AttributePayload("Hidden", "1"));
         builder.AddAttribute("Shown", "2");
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Shown", "2"}}},
    {"TerminatorThatIsNotNulTakesTheCountedCharacters",
     []
     {
         CPartBlockBuilder builder;
         builder.AddItem(kAttributeCode,
                         Concat({DisplayAttributes(), TextWithTerminator("Name", 'X'),
                                 TextWithTerminator("Value", 'Y')}));
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Name", "Value"}}},
    {"NulAmongTheCharactersEndsTheText",
     []
     {
         CPartBlockBuilder builder;
         builder.AddItem(kAttributeCode,
                         Concat({DisplayAttributes(), test::ItemText(std::string("Na\0me", 5)),
                                 test::ItemText("Value")}));
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Na", "Value"}}},
    {"BytesBehindTheValueInsideThePayloadAreIgnored",
     []
     {
         CPartBlockBuilder builder;
         builder.AddItem(kAttributeCode,
                         Concat({test::AttributePayload("Name", "Value"), Bytes(5, 0xEE)}));
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"Name", "Value"}}},
    {"EmptyNameAndValueAreKept",
     []
     {
         CPartBlockBuilder builder;
         builder.AddAttribute("", "");
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{"", ""}}},
    {"TextsOf30000CharactersAreRead",
     []
     {
         CPartBlockBuilder builder;
         builder.AddAttribute(std::string(30000, 'n'), std::string(30000, 'v'));
         return builder.Build();
     },
     PartBlockResult::Collected,
     {{std::string(30000, 'n'), std::string(30000, 'v')}}},
};

INSTANTIATE_TEST_SUITE_P(Blocks, PartBlockReaderReads, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Blocks that break their own limits: refused whole, nothing read past the
// total size (the block lies in a buffer that ends there).

struct MalformedCase
{
    const char* name;
    Bytes (*block)();
};

void PrintTo(const MalformedCase& c, std::ostream* os)
{
    *os << c.name;
}

class PartBlockReaderRefuses : public ::testing::TestWithParam<MalformedCase>
{
};

TEST_P(PartBlockReaderRefuses, AsMalformedWithNothingCollected)
{
    CAttributeList list;
    list.Add("Kept", "1", AttributeAux{}, AttributeAux{}, 1);
    EXPECT_EQ(PartBlockResult::Malformed, CollectFrom(GetParam().block(), list));
    EXPECT_EQ((std::vector<Pair>{{"Kept", "1"}}), PairsOf(list));
}

Bytes BlockWithBadAttribute(const Bytes& payload)
{
    CPartBlockBuilder builder = BuilderWithTwoAttributes();
    builder.AddItem(kAttributeCode, payload);
    builder.AddAttribute("Last", "1");
    return builder.Build();
}

Bytes BlockCutBy(std::uint32_t bytesMissing)
{
    CPartBlockBuilder builder = BuilderWithTwoAttributes();
    builder.AddItem(kSolidCode, Bytes(20, 3));
    builder.OverrideTotalSize(RealSizeOf(builder) - bytesMissing);
    return builder.Build();
}

Bytes BlockWithTotalSize(std::uint32_t total)
{
    CPartBlockBuilder builder = BuilderWithTwoAttributes();
    builder.OverrideTotalSize(total);
    return builder.Build();
}

const MalformedCase kMalformedCases[] = {
    {"TotalSizeOne", [] { return BlockWithTotalSize(1); }},
    {"TotalSizeFour", [] { return BlockWithTotalSize(4); }},
    {"TotalSizeBelowTheFormatWords", [] { return BlockWithTotalSize(15); }},
    {"TotalSizeWithoutTheItemCount", [] { return BlockWithTotalSize(20); }},
    {"TotalSizeJustBelowTheHeader", [] { return BlockWithTotalSize(23); }},
    {"TotalSizeCutsTheLastPayloadByOneByte", [] { return BlockCutBy(1); }},
    {"TotalSizeCutsTheLastRecordHeader", [] { return BlockCutBy(20 + 3); }},
    {"ItemCountBeyondTheRecords",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.OverrideItemCount(4);
         return builder.Build();
     }},
    {"ItemCountOfFourBillion",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.OverrideItemCount(0xFFFFFFFFu);
         return builder.Build();
     }},
    {"PayloadLengthBeyondTheTotalSize",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.OverrideNextPayloadLength(11);
         builder.AddItem(kSolidCode, Bytes(10, 0));
         return builder.Build();
     }},
    {"PayloadLengthThatWouldWrapTheOffset",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.OverrideNextPayloadLength(0xFFFFFFFFu - 20);
         builder.AddItem(kSolidCode, Bytes(10, 0));
         return builder.Build();
     }},
    {"AttributePayloadLengthBeyondTheTotalSize",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.OverrideNextPayloadLength(100);
         builder.AddAttribute("Name", "Value");
         return builder.Build();
     }},
    {"NameLengthBeyondThePayload",
     [] { return BlockWithBadAttribute(test::AttributePayload("Name", "Value", 40, 5)); }},
    {"ValueLengthBeyondThePayload",
     [] { return BlockWithBadAttribute(test::AttributePayload("Name", "Value", 4, 6)); }},
    {"NegativeNameLength",
     [] { return BlockWithBadAttribute(test::AttributePayload("Name", "Value", -1, 5)); }},
    {"NegativeValueLength",
     [] { return BlockWithBadAttribute(test::AttributePayload("Name", "Value", 4, -32768)); }},
    {"NameLengthAbove30000",
     []
     {
         return BlockWithBadAttribute(
             test::AttributePayload(std::string(30001, 'n'), "Value", 30001, 5));
     }},
    {"ValueLengthAbove30000",
     []
     {
         return BlockWithBadAttribute(
             test::AttributePayload("Name", std::string(30001, 'v'), 4, 30001));
     }},
    {"PayloadShorterThanTheDisplayAttributes",
     [] {
         return BlockWithBadAttribute(Bytes{255, 0, 255, 0, 255, 0, 1});
     }},
    {"PayloadWithoutTheValue",
     [] {
         return BlockWithBadAttribute(Concat({DisplayAttributes(), test::ItemText("Name")}));
     }},
    {"PayloadEndingInTheValueLengthField",
     [] {
         return BlockWithBadAttribute(
             Concat({DisplayAttributes(), test::ItemText("Name"), Bytes{5}}));
     }},
    {"ValueWithoutRoomForItsTerminator",
     []
     {
         Bytes payload = test::AttributePayload("Name", "Value");
         payload.pop_back();
         return BlockWithBadAttribute(payload);
     }},
    {"FaultBehindATwoDimensionalItem",
     []
     {
         CPartBlockBuilder builder = BuilderWithTwoAttributes();
         builder.AddItem(302, Bytes(4, 0));
         builder.OverrideNextPayloadLength(1000);
         builder.AddItem(kSolidCode, Bytes(4, 0));
         return builder.Build();
     }},
};

INSTANTIATE_TEST_SUITE_P(Blocks, PartBlockReaderRefuses, ::testing::ValuesIn(kMalformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

TEST(PartBlockReader, NullBlockIsReportedAndAddsNothing)
{
    CAttributeList list;
    EXPECT_EQ(PartBlockResult::NullBlock, CPartBlockReader(nullptr).CollectAttributes(list));
    EXPECT_EQ(0, list.GetCount());
}

TEST(PartBlockReader, TotalSizeZeroMeansNoGeometryAndOnlyTheSizeFieldIsRead)
{
    CPartBlockBuilder builder = BuilderWithTwoAttributes();
    builder.OverrideTotalSize(0);
    CAttributeList list;
    EXPECT_EQ(PartBlockResult::NoGeometry, CollectFrom(builder.Build(), list));
    EXPECT_EQ(0, list.GetCount());
}

TEST(PartBlockReader, AppendsToTheListWithTheDuplicateCheckAgainstEarlierPairs)
{
    CAttributeList list;
    list.Add("Earlier", "1", AttributeAux{7, 8}, AttributeAux{}, 1);
    CPartBlockBuilder builder;
    builder.AddAttribute("EARLIER", "1");
    builder.AddAttribute("New", "2");
    EXPECT_EQ(PartBlockResult::Collected, CollectFrom(builder.Build(), list));
    EXPECT_EQ((std::vector<Pair>{{"Earlier", "1"}, {"New", "2"}}), PairsOf(list));
}

TEST(PartBlockReader, CollectedPairsCarryZeroAuxiliaryValues)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Name", "Value");
    CAttributeList list;
    ASSERT_EQ(PartBlockResult::Collected, CollectFrom(builder.Build(), list));
    AttributeAux aux1{1, 1};
    AttributeAux aux2{2, 2};
    char name[8];
    char value[8];
    list.GetAt(0, name, sizeof(name), value, sizeof(value), &aux1, &aux2);
    EXPECT_EQ(0u, aux1.low | aux1.high | aux2.low | aux2.high);
}

TEST(PartBlockReader, ReadsAManyRecordBlockInOrder)
{
    CPartBlockBuilder builder;
    std::vector<Pair> expected;
    for (int i = 0; i < 2000; ++i)
    {
        builder.AddItem(kSolidCode, Bytes(static_cast<std::size_t>(i % 37), 0x55));
        if (i % 10 == 0)
        {
            std::string name = "Name" + std::to_string(i);
            builder.AddAttribute(name, std::to_string(i % 3));
            expected.push_back(Pair{name, std::to_string(i % 3)});
        }
    }
    CAttributeList list;
    EXPECT_EQ(PartBlockResult::Collected, CollectFrom(builder.Build(), list));
    EXPECT_EQ(expected, PairsOf(list));
}

} // namespace
} // namespace qel

#include "cad/AttributeList.h"

#include "common/ErrorMessage.h"
#include "tests/attributes/AttributeTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel
{
namespace
{

constexpr AttributeAux kNoAux{};

void AddChecked(CAttributeList& list, const char* name, const char* value)
{
    list.Add(name, value, kNoAux, kNoAux, 1);
}

// ---------------------------------------------------------------------------
// Add

TEST(AttributeListAdd, PairsDifferingOnlyInLetterCaseGiveOneEntryTheFirst)
{
    CAttributeList list;
    EXPECT_EQ(1, list.Add("Norm", "Din 933", AttributeAux{1, 2}, kNoAux, 1));
    EXPECT_EQ(1, list.Add("NORM", "din 933", AttributeAux{3, 4}, kNoAux, 1));
    EXPECT_EQ(1, list.Add("norm", "DIN 933", kNoAux, kNoAux, 1));
    ASSERT_EQ((std::vector<Pair>{{"Norm", "Din 933"}}), PairsOf(list));
    AttributeAux aux1{};
    char name[16];
    char value[16];
    list.GetAt(0, name, sizeof(name), value, sizeof(value), &aux1, nullptr);
    EXPECT_EQ(1u, aux1.low);
    EXPECT_EQ(2u, aux1.high);
}

TEST(AttributeListAdd, SameNameWithOtherValueIsAddedBehind)
{
    CAttributeList list;
    AddChecked(list, "Length", "20");
    AddChecked(list, "Length", "25");
    AddChecked(list, "Width", "20");
    EXPECT_EQ((std::vector<Pair>{{"Length", "20"}, {"Length", "25"}, {"Width", "20"}}),
              PairsOf(list));
}

TEST(AttributeListAdd, NameAndValueAreComparedAsTwoTexts)
{
    // "ab" + "c" and "a" + "bc" must not look alike to the duplicate check.
    CAttributeList list;
    AddChecked(list, "ab", "c");
    AddChecked(list, "a", "bc");
    AddChecked(list, "abc", "");
    AddChecked(list, "", "abc");
    EXPECT_EQ(4, list.GetCount());
}

// Texts that are or are not alike to the duplicate check, around the widths
// the check reads at once (8 and 32 bytes) and at the edges of the letters.
struct LikenessCase
{
    std::string first;
    std::string second;
    bool alike;
};

class AttributeListLikeness : public ::testing::TestWithParam<LikenessCase>
{
};

TEST_P(AttributeListLikeness, SecondIsAddedOnlyWhenNotAlike)
{
    for (bool asValue : {false, true})
    {
        CAttributeList list;
        const std::string& first = GetParam().first;
        const std::string& second = GetParam().second;
        AddChecked(list, asValue ? "Name" : first.c_str(), asValue ? first.c_str() : "Value");
        AddChecked(list, asValue ? "Name" : second.c_str(), asValue ? second.c_str() : "Value");
        EXPECT_EQ(GetParam().alike ? 1 : 2, list.GetCount())
            << (asValue ? "as values" : "as names");
    }
}

// Code page 1252's a-umlaut and A-umlaut: alike where the code page's rules
// apply (Windows), not under the native build's C locale.
#ifdef _WIN32
constexpr bool kUmlautsAlike = true;
#else
constexpr bool kUmlautsAlike = false;
#endif

INSTANTIATE_TEST_SUITE_P(
    Texts, AttributeListLikeness,
    ::testing::Values(
        LikenessCase{"", "", true}, LikenessCase{"a", "A", true}, LikenessCase{"@[", "`{", false},
        LikenessCase{"Schraube M", "SCHRAUBE m", true},
        LikenessCase{std::string(31, 'a') + "z", std::string(31, 'A') + "Z", true},
        LikenessCase{std::string(32, 'x') + "q", std::string(32, 'X') + "r", false},
        LikenessCase{std::string(40, 'k') + "\xE4", std::string(40, 'K') + "\xC4", kUmlautsAlike},
        LikenessCase{"L\xE4nge", "l\xE4NGE", true}, LikenessCase{"abc", "abcd", false}));

TEST(AttributeListAdd, WithoutTheCheckEqualPairsAreKeptAndLaterChecksSeeThem)
{
    CAttributeList list;
    list.Add("A", "1", kNoAux, kNoAux, 0);
    list.Add("a", "1", kNoAux, kNoAux, 0);
    AddChecked(list, "A", "1");
    EXPECT_EQ((std::vector<Pair>{{"A", "1"}, {"a", "1"}}), PairsOf(list));
}

struct MissingTextCase
{
    const char* name;
    const char* value;
    std::vector<Pair> pairs;
};

void PrintTo(const MissingTextCase& c, std::ostream* os)
{
    *os << "{" << (c.name != nullptr ? c.name : "null") << ", "
        << (c.value != nullptr ? c.value : "null") << "}";
}

class AttributeListAddMissing : public ::testing::TestWithParam<MissingTextCase>
{
};

TEST_P(AttributeListAddMissing, StoresTheEmptyTextOrNothing)
{
    CAttributeList list;
    EXPECT_EQ(1, list.Add(GetParam().name, GetParam().value, kNoAux, kNoAux, 1));
    EXPECT_EQ(GetParam().pairs, PairsOf(list));
}

INSTANTIATE_TEST_SUITE_P(Texts, AttributeListAddMissing,
                         ::testing::Values(MissingTextCase{nullptr, nullptr, {}},
                                           MissingTextCase{"Name", nullptr, {{"Name", ""}}},
                                           MissingTextCase{nullptr, "Value", {{"", "Value"}}},
                                           MissingTextCase{"", "", {{"", ""}}}));

TEST(AttributeListAdd, MissingValueCountsAsEmptyForTheDuplicateCheck)
{
    CAttributeList list;
    AddChecked(list, "Name", nullptr);
    AddChecked(list, "NAME", "");
    EXPECT_EQ(1, list.GetCount());
}

TEST(AttributeListAdd, OneHundredThousandDistinctPairsStayInOrder)
{
    CAttributeList list;
    for (int i = 0; i < 100000; ++i)
        AddChecked(list, ("Name" + std::to_string(i)).c_str(), "v");
    AddChecked(list, "NAME99999", "V");
    ASSERT_EQ(100000, list.GetCount());
    char name[16];
    char value[4];
    list.GetAt(99999, name, sizeof(name), value, sizeof(value), nullptr, nullptr);
    EXPECT_STREQ("Name99999", name);
    list.GetAt(0, name, sizeof(name), value, sizeof(value), nullptr, nullptr);
    EXPECT_STREQ("Name0", name);
    // Leaving the scope frees the long chain; a recursive free would overflow the stack.
}

TEST(AttributeListAdd, ReservingMoreThanMemoryCanHoldThrowsAndKeepsTheList)
{
    CAttributeList list;
    AddChecked(list, "Name", "Value");
    try
    {
        list.ReserveForAdding(static_cast<std::size_t>(-1) / 2);
        FAIL() << "no error text thrown";
    }
    catch (ErrorText text)
    {
        EXPECT_STREQ(kNotEnoughMemory, text);
    }
    AddChecked(list, "NAME", "value");
    AddChecked(list, "Other", "1");
    EXPECT_EQ((std::vector<Pair>{{"Name", "Value"}, {"Other", "1"}}), PairsOf(list));
}

// ---------------------------------------------------------------------------
// GetAt

TEST(AttributeListGetAt, IndexAtTheCountGivesEmptyTextsAndLeavesTheSlots)
{
    CAttributeList list;
    list.Add("Name", "Value", AttributeAux{1, 1}, AttributeAux{1, 1}, 1);
    char name[16] = "old";
    char value[16] = "old";
    AttributeAux aux1{5, 6};
    AttributeAux aux2{7, 8};
    list.GetAt(1, name, sizeof(name), value, sizeof(value), &aux1, &aux2);
    EXPECT_STREQ("", name);
    EXPECT_STREQ("", value);
    EXPECT_EQ(5u, aux1.low);
    EXPECT_EQ(6u, aux1.high);
    EXPECT_EQ(7u, aux2.low);
    EXPECT_EQ(8u, aux2.high);
}

TEST(AttributeListGetAt, CopiesBothAuxiliaryValues)
{
    CAttributeList list;
    AddChecked(list, "First", "1");
    list.Add("Second", "2", AttributeAux{0x11111111u, 0x22222222u},
             AttributeAux{0x33333333u, 0x44444444u}, 1);
    char name[16];
    char value[16];
    AttributeAux aux1{};
    AttributeAux aux2{};
    list.GetAt(1, name, sizeof(name), value, sizeof(value), &aux1, &aux2);
    EXPECT_STREQ("Second", name);
    EXPECT_STREQ("2", value);
    EXPECT_EQ(0x11111111u, aux1.low);
    EXPECT_EQ(0x22222222u, aux1.high);
    EXPECT_EQ(0x33333333u, aux2.low);
    EXPECT_EQ(0x44444444u, aux2.high);
}

TEST(AttributeListGetAt, LongNameIsCutToTheBufferSizeLessOne)
{
    CAttributeList list;
    const std::string longName(1500, 'N');
    AddChecked(list, longName.c_str(), "Value");
    std::vector<char> name(1023 + 8, '#');
    std::vector<char> value(1023, '#');
    list.GetAt(0, name.data(), 1023, value.data(), 1023, nullptr, nullptr);
    EXPECT_EQ(longName.substr(0, 1022), std::string(name.data()));
    EXPECT_EQ(std::string(8, '#'), std::string(name.begin() + 1023, name.end()));
    EXPECT_STREQ("Value", value.data());
}

struct BufferSizeCase
{
    int size;
    // Whole 4-byte buffers afterwards ('#' where nothing may be written).
    std::string name;
    std::string value;
};

void PrintTo(const BufferSizeCase& c, std::ostream* os)
{
    *os << "size " << c.size;
}

class AttributeListGetAtSize : public ::testing::TestWithParam<BufferSizeCase>
{
};

TEST_P(AttributeListGetAtSize, WritesWithinTheGivenSizeOnly)
{
    CAttributeList list;
    AddChecked(list, "Name", "Value");
    char name[4] = {'#', '#', '#', '#'};
    char value[4] = {'#', '#', '#', '#'};
    list.GetAt(0, name, GetParam().size, value, GetParam().size, nullptr, nullptr);
    EXPECT_EQ(GetParam().name, std::string(name, sizeof(name)));
    EXPECT_EQ(GetParam().value, std::string(value, sizeof(value)));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, AttributeListGetAtSize,
    ::testing::Values(BufferSizeCase{-5, "####", "####"}, BufferSizeCase{0, "####", "####"},
                      BufferSizeCase{1, std::string("\0###", 4), std::string("\0###", 4)},
                      BufferSizeCase{3, std::string("Na\0#", 4), std::string("Va\0#", 4)},
                      BufferSizeCase{4, std::string("Nam\0", 4), std::string("Val\0", 4)}));

TEST(AttributeListGetAt, NullBuffersAndSlotsAreSkipped)
{
    CAttributeList list;
    AddChecked(list, "Name", "Value");
    char value[8];
    list.GetAt(0, nullptr, 100, value, sizeof(value), nullptr, nullptr);
    EXPECT_STREQ("Value", value);
}

TEST(AttributeListGetAt, ReadingBackwardsAfterForwardsGivesEachPair)
{
    CAttributeList list;
    for (const char* name : {"A", "B", "C", "D"})
        AddChecked(list, name, "v");
    char name[4];
    char value[4];
    std::string order;
    for (unsigned index : {0u, 1u, 2u, 3u, 2u, 0u, 3u, 1u, 1u})
    {
        list.GetAt(index, name, sizeof(name), value, sizeof(value), nullptr, nullptr);
        order += name;
    }
    EXPECT_EQ("ABCDCADBB", order);
}

// ---------------------------------------------------------------------------
// RemoveAll, copy and Assign keep the duplicate index in step with the chain.

TEST(AttributeListIndex, PairRemovedByRemoveAllCanBeAddedAgain)
{
    CAttributeList list;
    AddChecked(list, "Name", "Value");
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    AddChecked(list, "NAME", "value");
    EXPECT_EQ((std::vector<Pair>{{"NAME", "value"}}), PairsOf(list));
}

TEST(AttributeListIndex, CopyHoldsEveryEntryAndChecksDuplicatesOfThem)
{
    CAttributeList original;
    original.Add("A", "1", AttributeAux{9, 9}, AttributeAux{8, 8}, 1);
    original.Add("a", "1", kNoAux, kNoAux, 0); // equal pair, kept without the check
    AddChecked(original, "B", "2");

    CAttributeList copy(original);
    EXPECT_EQ(PairsOf(original), PairsOf(copy));
    AddChecked(copy, "b", "2");
    AddChecked(copy, "C", "3");
    EXPECT_EQ((std::vector<Pair>{{"A", "1"}, {"a", "1"}, {"B", "2"}, {"C", "3"}}), PairsOf(copy));
    EXPECT_EQ(3, original.GetCount());

    AttributeAux aux1{};
    AttributeAux aux2{};
    char name[4];
    char value[4];
    copy.GetAt(0, name, sizeof(name), value, sizeof(value), &aux1, &aux2);
    EXPECT_EQ(9u, aux1.low);
    EXPECT_EQ(8u, aux2.high);
}

TEST(AttributeListIndex, CopyDoesNotShareTheOriginalsIndex)
{
    CAttributeList original;
    AddChecked(original, "A", "1");
    CAttributeList copy(original);
    AddChecked(copy, "Only", "copy");
    AddChecked(original, "Only", "copy");
    EXPECT_EQ(2, original.GetCount());
    EXPECT_EQ(2, copy.GetCount());
}

TEST(AttributeListIndex, AssignReplacesEntriesAndTheirDuplicateCheck)
{
    CAttributeList source;
    AddChecked(source, "New", "1");
    CAttributeList target;
    AddChecked(target, "Old", "1");

    target.Assign(source);
    AddChecked(target, "NEW", "1"); // a duplicate of the assigned pair
    AddChecked(target, "old", "1"); // no longer in the list, so it is added
    EXPECT_EQ((std::vector<Pair>{{"New", "1"}, {"old", "1"}}), PairsOf(target));
    EXPECT_EQ((std::vector<Pair>{{"New", "1"}}), PairsOf(source));
}

TEST(AttributeListIndex, AssignToItselfChangesNothing)
{
    CAttributeList list;
    AddChecked(list, "A", "1");
    AddChecked(list, "B", "2");
    list.Assign(list);
    AddChecked(list, "a", "1");
    EXPECT_EQ((std::vector<Pair>{{"A", "1"}, {"B", "2"}}), PairsOf(list));
}

TEST(AttributeListIndex, AssignOfAnEmptyListEmptiesIt)
{
    CAttributeList list;
    AddChecked(list, "A", "1");
    list.Assign(CAttributeList());
    EXPECT_EQ(0, list.GetCount());
    AddChecked(list, "A", "1");
    EXPECT_EQ(1, list.GetCount());
}

} // namespace
} // namespace qel

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bindings/ParameterList.h"

namespace
{

using testing::ElementsAre;
using testing::IsEmpty;

const char* const kKeys[] = {"Alpha", "Beta", "Gamma", nullptr};
const char* const kOtherKeys[] = {"One", "Two", nullptr};

// A list over three keys with ':' and ';' that records every notification.
class CRecordingList : public qel::CParameterList
{
public:
    explicit CRecordingList(const char* const* keys = kKeys, char kv = ':', char item = ';')
        : CParameterList(keys, kv, item)
    {
    }

    std::vector<unsigned> notified;

protected:
    void OnValueChanged(unsigned keyIndex) override { notified.push_back(keyIndex); }
};

std::string ValueOrNull(const qel::CParameterList& list, unsigned index)
{
    const char* value = list.GetValue(index);
    return value == nullptr ? std::string("(null)") : std::string(value);
}

TEST(ParameterListTest, CopiesKeyTableUpToNullEntry)
{
    CRecordingList list;
    ASSERT_EQ(list.GetKeyCount(), 3u);
    EXPECT_STREQ(list.GetKey(0), "Alpha");
    EXPECT_STREQ(list.GetKey(2), "Gamma");
    EXPECT_EQ(list.GetKey(3), nullptr);
}

TEST(ParameterListTest, NoKeyTableGivesListWithoutKeys)
{
    CRecordingList list(nullptr);
    EXPECT_EQ(list.GetKeyCount(), 0u);
    EXPECT_EQ(list.SetByIndex(0, "x", true), -1);
    EXPECT_EQ(list.ParseText("Alpha:1"), 1); // unknown names count as success
    EXPECT_THAT(list.notified, IsEmpty());
}

TEST(ParameterListTest, SetByIndex_RejectsIndexNotBelowKeyCount)
{
    CRecordingList list;
    EXPECT_EQ(list.SetByIndex(3, "x", true), -1);
    EXPECT_EQ(list.SetByIndex(4, "x", true), -1);
    EXPECT_EQ(list.SetByIndex(0xFFFFFFFFu, "x", true), -1);
    EXPECT_THAT(list.notified, IsEmpty());
    EXPECT_EQ(list.GetValue(3), nullptr);
}

TEST(ParameterListTest, SetByIndex_StoresCopyAndNotifies)
{
    CRecordingList list;
    std::string value = "first";
    EXPECT_EQ(list.SetByIndex(1, value.c_str(), true), 1);
    value = "changed";
    EXPECT_EQ(ValueOrNull(list, 1), "first");
    EXPECT_THAT(list.notified, ElementsAre(1u));
}

TEST(ParameterListTest, SetByIndex_WithoutOverwriteKeepsStoredValueSilently)
{
    CRecordingList list;
    list.SetByIndex(0, "kept", true);
    list.notified.clear();

    EXPECT_EQ(list.SetByIndex(0, "other", false), 1);
    EXPECT_EQ(ValueOrNull(list, 0), "kept");
    EXPECT_THAT(list.notified, IsEmpty());
}

TEST(ParameterListTest, SetByIndex_WithoutOverwriteFillsEmptyEntry)
{
    CRecordingList list;
    EXPECT_EQ(list.SetByIndex(2, "new", false), 1);
    EXPECT_EQ(ValueOrNull(list, 2), "new");
    EXPECT_THAT(list.notified, ElementsAre(2u));
}

TEST(ParameterListTest, SetByIndex_NullClearsAndStillNotifies)
{
    CRecordingList list;
    list.SetByIndex(0, "gone", true);
    list.notified.clear();

    EXPECT_EQ(list.SetByIndex(0, nullptr, true), 1);
    EXPECT_EQ(list.GetValue(0), nullptr);
    EXPECT_EQ(list.SetByIndex(1, nullptr, false), 1);
    EXPECT_EQ(list.GetValue(1), nullptr);
    EXPECT_THAT(list.notified, ElementsAre(0u, 1u));
}

TEST(ParameterListTest, SetByIndex_EmptyTextIsStoredNotNull)
{
    CRecordingList list;
    list.SetByIndex(0, "", true);
    ASSERT_NE(list.GetValue(0), nullptr);
    EXPECT_STREQ(list.GetValue(0), "");
}

TEST(ParameterListTest, SetByName_MatchesKeyWithoutRegardToCase)
{
    CRecordingList list;
    EXPECT_EQ(list.SetByName("bEtA", "2", true), 1);
    EXPECT_EQ(list.SetByName("Delta", "4", true), -1);
    // Only ASCII letters fold: a soft hyphen (0xAD in code page 1252) is no
    // character a locale-aware compare may skip.
    EXPECT_EQ(list.SetByName("Be\xADta", "3", true), -1);
    EXPECT_EQ(list.SetByName(nullptr, "5", true), -1);
    EXPECT_EQ(ValueOrNull(list, 1), "2");
    EXPECT_THAT(list.notified, ElementsAre(1u));
}

TEST(ParameterListTest, SetOverloadsRouteByNameAndByIndex)
{
    CRecordingList list;
    EXPECT_EQ(list.Set("gamma", "3", true), 1);
    EXPECT_EQ(list.Set(0u, "1", true), 1);
    EXPECT_EQ(list.Set(0u, "x", false), 1);
    EXPECT_EQ(ValueOrNull(list, 0), "1");
    EXPECT_EQ(ValueOrNull(list, 2), "3");
}

TEST(ParameterListTest, ParseText_UsesTheListsOwnSeparators)
{
    CRecordingList list;
    EXPECT_EQ(list.ParseText("Alpha:1;Gamma:a=b|c"), 1);
    EXPECT_EQ(ValueOrNull(list, 0), "1");
    EXPECT_EQ(ValueOrNull(list, 1), "(null)");
    EXPECT_EQ(ValueOrNull(list, 2), "a=b|c");
}

TEST(ParameterListTest, ParseText_ClearsEarlierValuesWithoutNotification)
{
    CRecordingList list;
    list.ParseText("Alpha:1;Beta:2");
    list.notified.clear();

    EXPECT_EQ(list.ParseText("Gamma:3"), 1);
    EXPECT_EQ(list.GetValue(0), nullptr);
    EXPECT_EQ(list.GetValue(1), nullptr);
    EXPECT_EQ(ValueOrNull(list, 2), "3");
    EXPECT_THAT(list.notified, ElementsAre(2u));
}

TEST(ParameterListTest, ParseText_NullOrEmptyTextClearsAndSucceeds)
{
    CRecordingList list;
    list.ParseText("Alpha:1");
    EXPECT_EQ(list.ParseText(nullptr), 1);
    EXPECT_EQ(list.GetValue(0), nullptr);
    list.ParseText("Alpha:1");
    EXPECT_EQ(list.ParseText(""), 1);
    EXPECT_EQ(list.GetValue(0), nullptr);
}

TEST(ParameterListTest, ParseText_ItemWithoutSeparatorSwallowsTheNextItem)
{
    CRecordingList list;
    list.ParseText("Alpha;Beta:2");
    // The key read is "Alpha;Beta", which names no key.
    EXPECT_EQ(list.GetValue(0), nullptr);
    EXPECT_EQ(list.GetValue(1), nullptr);
}

// A list whose store refuses one key, as when memory runs out.
class CRefusingList : public CRecordingList
{
public:
    int SetByName(const char* keyName, const char* value, bool overwrite) override
    {
        if (std::string(keyName) == "Beta")
            return 0;
        return CRecordingList::SetByName(keyName, value, overwrite);
    }
};

TEST(ParameterListTest, ParseText_StopsStoringAfterFailedItem)
{
    CRefusingList list;
    EXPECT_EQ(list.ParseText("Alpha:1;Beta:2;Gamma:3"), 0);
    EXPECT_EQ(ValueOrNull(list, 0), "1");
    EXPECT_EQ(list.GetValue(2), nullptr);
}

TEST(ParameterListTest, RenderText_ListsStoredValuesInKeyOrder)
{
    CRecordingList list;
    list.SetByIndex(2, "x", true);
    list.SetByIndex(0, "", true);
    EXPECT_STREQ(list.RenderText(), "Alpha:;Gamma:x");
}

TEST(ParameterListTest, RenderText_IsEmptyWithoutValues)
{
    CRecordingList list;
    EXPECT_STREQ(list.RenderText(), "");
}

TEST(ParameterListTest, RenderText_ParsesBackToSameValues)
{
    CRecordingList list;
    list.ParseText("gamma:3 ;alpha: a:b;Beta:");
    std::string rendered = list.RenderText();
    EXPECT_EQ(rendered, "Alpha: a:b;Beta:;Gamma:3 ");

    CRecordingList copy;
    copy.ParseText(rendered.c_str());
    for (unsigned i = 0; i < list.GetKeyCount(); ++i)
        EXPECT_EQ(ValueOrNull(copy, i), ValueOrNull(list, i)) << "key " << list.GetKey(i);
}

TEST(ParameterListTest, CopyFrom_TakesKeysSeparatorsValuesAndRenderedText)
{
    CRecordingList source(kOtherKeys, '=', '|');
    source.SetByIndex(1, "two", true);
    source.RenderText();
    CRecordingList target;
    target.SetByIndex(0, "old", true);
    target.notified.clear();

    target.CopyFrom(source);

    ASSERT_EQ(target.GetKeyCount(), 2u);
    EXPECT_STREQ(target.GetKey(0), "One");
    EXPECT_EQ(target.GetValue(0), nullptr);
    EXPECT_EQ(ValueOrNull(target, 1), "two");
    EXPECT_THAT(target.notified, IsEmpty());
    EXPECT_STREQ(target.RenderText(), "Two=two");
    target.ParseText("One=1|Two=2");
    EXPECT_EQ(ValueOrNull(target, 0), "1");
    EXPECT_EQ(ValueOrNull(source, 0), "(null)"); // the copy is independent
}

TEST(ParameterListTest, CopyFrom_SelfChangesNothing)
{
    CRecordingList list;
    list.ParseText("Alpha:1;Gamma:3");
    const char* rendered = list.RenderText();

    list.CopyFrom(list);

    EXPECT_EQ(ValueOrNull(list, 0), "1");
    EXPECT_EQ(ValueOrNull(list, 2), "3");
    EXPECT_STREQ(rendered, "Alpha:1;Gamma:3"); // still the list's text
}

} // namespace

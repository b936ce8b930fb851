// The direct-file exports' name rule: ".sat" is added to a name without an
// extension, when the host's buffer has room for it.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "entry/SatFileName.h"

namespace
{

struct NameCase
{
    const char* name;
    std::size_t bufferSize; // 0: exactly the name and its terminator
    bool expectedResult;
    const char* expectedName;
};

class SatFileNameTest : public testing::TestWithParam<NameCase>
{
};

TEST_P(SatFileNameTest, CompletesOrLeavesTheHostsName)
{
    const NameCase& c = GetParam();
    std::size_t size = c.bufferSize != 0 ? c.bufferSize : std::strlen(c.name) + 1;
    std::string buffer(size + 8, '#'); // guard bytes behind the stated size
    std::memcpy(buffer.data(), c.name, std::strlen(c.name) + 1);
    std::string guard = buffer.substr(size);

    EXPECT_EQ(c.expectedResult, qel::CompleteSatFileName(buffer.data(), size));
    EXPECT_STREQ(c.expectedName, buffer.c_str());
    EXPECT_EQ(guard, buffer.substr(size)) << "written beyond the stated size";
}

INSTANTIATE_TEST_SUITE_P(
    Names, SatFileNameTest,
    testing::Values(NameCase{"C:\\parts\\bolt", 18, true, "C:\\parts\\bolt.sat"},
                    NameCase{"C:\\parts\\bolt", 17, false, "C:\\parts\\bolt"},
                    NameCase{"C:\\old.parts\\bolt", 260, true, "C:\\old.parts\\bolt.sat"},
                    NameCase{"C:/old.parts/bolt", 260, true, "C:/old.parts/bolt.sat"},
                    NameCase{"C:\\parts\\bolt.step", 260, true, "C:\\parts\\bolt.step"},
                    NameCase{"C:\\parts\\bolt.", 260, true, "C:\\parts\\bolt."},
                    NameCase{"bolt.SAT", 0, true, "bolt.SAT"}, NameCase{"bolt", 0, false, "bolt"},
                    NameCase{"", 260, false, ""}));

TEST(SatFileName, RefusesABufferWithoutTerminatorWithinItsSize)
{
    char buffer[12];
    std::memcpy(buffer, "C:\\partsbolt", 12); // no NUL within the 12 bytes the host states
    EXPECT_FALSE(qel::CompleteSatFileName(buffer, sizeof(buffer)));
    EXPECT_EQ(0, std::memcmp(buffer, "C:\\partsbolt", 12));
}

TEST(SatFileName, RefusesNullBufferAndZeroSize)
{
    char buffer[16] = "bolt";
    EXPECT_FALSE(qel::CompleteSatFileName(nullptr, 16));
    EXPECT_FALSE(qel::CompleteSatFileName(buffer, 0));
    EXPECT_STREQ("bolt", buffer);
}

} // namespace

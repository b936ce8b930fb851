// The file name rules: ".sat" is added to a direct file's name not ending in
// it when the host's buffer has room for it (a device's name is refused); the
// part directory leaves a stem its room or none; a new name from the Save
// dialog loses only a part file's extension.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "cad/PartFileName.h"
#include "common/BoundedString.h"
#include "common/Platform.h"
#include "entry/SatFileName.h"

namespace
{

// The run with code page 932, where 表 (95 5C) and ソ (83 5C) end in the byte
// of a backslash.
bool Japanese()
{
    return qel::IsLeadByte('\x95');
}

struct NameCase
{
    const char* name;
    std::size_t bufferSize; // 0: exactly the name and its terminator
    bool expectedResult;
    const char* expectedName;
    bool japanese = false; // double-byte code pages (932, 950) only
};

class SatFileNameTest : public testing::TestWithParam<NameCase>
{
};

TEST_P(SatFileNameTest, CompletesOrLeavesTheHostsName)
{
    const NameCase& c = GetParam();
    if (c.japanese && !Japanese())
        GTEST_SKIP() << "code page 932 only";
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
                    NameCase{"DIN 933 M6x1.5", 260, true, "DIN 933 M6x1.5.sat"},
                    NameCase{"C:\\parts\\bolt.", 260, true, "C:\\parts\\bolt..sat"},
                    NameCase{"C:\\parts\\CON", 260, false, "C:\\parts\\CON"},
                    NameCase{"nul.sat", 0, false, "nul.sat"},
                    NameCase{"Com1 .txt", 0, false, "Com1 .txt"},
                    NameCase{"CONSOLE", 260, true, "CONSOLE.sat"},
                    NameCase{"bolt.SAT", 0, true, "bolt.SAT"}, NameCase{"bolt", 0, false, "bolt"},
                    NameCase{"", 260, false, ""},
                    NameCase{"C:\\parts\\NUL:", 260, false, "C:\\parts\\NUL:"},
                    NameCase{"LPT\xB2.sat", 0, false, "LPT\xB2.sat"}, // LPT² in code page 1252
                    NameCase{"M6\x81", 7, true, "M6.sat", true},
                    NameCase{"bolt.\x83\x5C", 260, true, "bolt.\x83\x5C.sat", true}));

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

namespace
{

struct PartDirectoryCase
{
    std::size_t directoryChars; // without the separator the rule adds
    int expectedCapacity;
};

class PartDirectoryTest : public testing::TestWithParam<PartDirectoryCase>
{
};

TEST_P(PartDirectoryTest, StemCapacityIsSignedAndNeverReachesBeyondTheBuffer)
{
    std::string directory(GetParam().directoryChars, 'd');
    char buffer[qel::kPathBufferSize];
    std::size_t length = qel::CopyPartDirectory(directory.c_str(), buffer, sizeof(buffer));
    int capacity = qel::StemCapacity(length);

    EXPECT_EQ(GetParam().expectedCapacity, capacity);
    EXPECT_EQ('\\', buffer[length - 1]);
    if (qel::StemFits(capacity))
    {
        EXPECT_LE(length + capacity, qel::kPathBufferSize - 14); // room for ".SLDPRT" and more
    }
}

INSTANTIATE_TEST_SUITE_P(Directories, PartDirectoryTest,
                         testing::Values(PartDirectoryCase{199, 45}, PartDirectoryCase{243, 1},
                                         PartDirectoryCase{244, 0}, PartDirectoryCase{299, -14}));

TEST(NewPartName, LosesOnlyAPartFilesExtension)
{
    for (auto [typed, expected] : {std::pair{"C:\\old.parts\\bolt", "C:\\old.parts\\bolt"},
                                   {"C:/old.parts/bolt", "C:/old.parts/bolt"},
                                   {"C:\\parts\\M6x1.5", "C:\\parts\\M6x1.5"},
                                   {"C:\\parts\\bolt.step", "C:\\parts\\bolt.step"},
                                   {"C:\\parts\\a.b.SLDPRT", "C:\\parts\\a.b"},
                                   {"C:\\parts\\bolt.sldAsm", "C:\\parts\\bolt"},
                                   {".SLDPRT", ".SLDPRT"},
                                   {"C:\\parts\\bolt.\x83\x5C", "C:\\parts\\bolt.\x83\x5C"}})
    {
        std::string name = typed;
        qel::DropExtensionOfNewName(name.data());
        EXPECT_STREQ(expected, name.c_str()) << typed;
    }
}

} // namespace

// The insertion driver's own steps, in the test program (which carries the
// plug-in's string tables): attribute collection with its messages, the file
// name stem, the SAT writer step and the SolidWorks link.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cad/InsertionDriver.h"
#include "common/ErrorMessage.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/swsim/SimulatorClient.h"

using testing::ElementsAre;
using testing::Pair;

namespace qel::test
{
namespace
{

bool GermanTexts()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
}

// The error text a step throws, or "" when it completes.
template <class Step> std::string ErrorTextOf(Step&& step)
{
    try
    {
        step();
    }
    catch (ErrorText text)
    {
        return text;
    }
    return std::string();
}

std::vector<std::pair<std::string, std::string>> PairsOf(const CAttributeList& list)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        char name[1023];
        char value[1023];
        AttributeAux aux1 = {};
        AttributeAux aux2 = {};
        list.GetAt(static_cast<unsigned>(i), name, sizeof(name), value, sizeof(value), &aux1,
                   &aux2);
        pairs.emplace_back(name, value);
    }
    return pairs;
}

TEST(CollectAttributes, TwoDimensionalItemAfterTwoAttributes_Throws125AndKeepsThePairs)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddItem(302);
    builder.AddAttribute("Never", "read");
    std::vector<uint8_t> block = builder.Build();
    CInsertionDriver driver;

    std::string error = ErrorTextOf([&] { driver.CollectAttributes(block.data()); });

    EXPECT_EQ(GermanTexts()
                  ? "Kann 2D-Bauteil nicht erzeugen!\nBitte w\xE4hlen Sie ein 3D-Bauteil aus, "
                    "oder Sie f\xFCgen Sie das Bauteil in ein anderes CAD ein!"
                  : "Cannot create 2D part !\nPlease select 3D part or insert part into another "
                    "CAD !",
              error);
    EXPECT_THAT(PairsOf(driver.GetAttributes()),
                ElementsAre(Pair("Designation", "M8x20"), Pair("Standard", "DIN 933")));
}

TEST(CollectAttributes, NullBlock_Throws123)
{
    CInsertionDriver driver;
    EXPECT_EQ(GermanTexts() ? "Zeiger auf Geometrie-Daten NULL !"
                            : "Pointer to geometry data NULL !",
              ErrorTextOf([&] { driver.CollectAttributes(nullptr); }));
}

TEST(CollectAttributes, MalformedBlock_Throws124AndCollectsNothing)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddItem(
        303, {255, 0, 255, 0, 255, 0, 1, 0, 0x10, 0x27}); // a name of 10000 characters, cut short
    std::vector<uint8_t> block = builder.Build();
    CInsertionDriver driver;

    EXPECT_EQ("Keine Geometrie-Daten vorhanden !",
              ErrorTextOf([&] { driver.CollectAttributes(block.data()); }));
    EXPECT_EQ(0, driver.GetAttributes().GetCount());
}

TEST(CollectAttributes, CaseOnlyDuplicatesGiveOneEntry)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddAttribute("NORM", "din 933");
    builder.AddAttribute("Norm", "DIN 931");
    std::vector<uint8_t> block = builder.Build();
    CInsertionDriver driver;

    EXPECT_EQ("", ErrorTextOf([&] { driver.CollectAttributes(block.data()); }));
    EXPECT_THAT(PairsOf(driver.GetAttributes()),
                ElementsAre(Pair("Norm", "DIN 933"), Pair("Norm", "DIN 931")));
}

struct StemCase
{
    int mode;
    unsigned capacity;
    int expectedResult;
    const char* expectedStem;
};

class FileNameStemTest : public testing::TestWithParam<StemCase>
{
};

TEST_P(FileNameStemTest, MakeFileNameFromAttributes_JoinsTheValues)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddAttribute("Strength class", "8.8");
    std::vector<uint8_t> block = builder.Build();
    CInsertionDriver driver;
    driver.CollectAttributes(block.data());
    char buffer[64];
    std::memset(buffer, '#', sizeof(buffer));

    EXPECT_EQ(GetParam().expectedResult,
              driver.MakeFileNameFromAttributes(buffer, GetParam().capacity, GetParam().mode));

    EXPECT_STREQ(GetParam().expectedStem, buffer);
    EXPECT_EQ('#', buffer[GetParam().capacity]) << "written beyond the capacity";
}

INSTANTIATE_TEST_SUITE_P(Stems, FileNameStemTest,
                         testing::Values(StemCase{0, 45, 1, "M8x20_DIN933_8_8"},
                                         StemCase{1, 45, 1, "M8x20_DIN 933_8.8"},
                                         StemCase{1, 6, 1, "M8x20"}, // cut names count as names
                                         StemCase{0, 1, 1, ""}));

TEST(FileNameStem, NoAttributes_GivesNoName)
{
    CInsertionDriver driver;
    char buffer[16] = "#";
    EXPECT_EQ(0, driver.MakeFileNameFromAttributes(buffer, sizeof(buffer), 0));
    EXPECT_EQ(0, driver.MakeFileNameFromAttributes(buffer, sizeof(buffer), 1));
    EXPECT_STREQ("", buffer);
}

TEST(WriteSatFile, MissingPartOrNameWritesNothing)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    std::vector<uint8_t> block = builder.Build();
    CInsertionDriver driver;

    EXPECT_EQ(0, driver.WriteSatFile(nullptr, "C:\\windows\\temp\\never.sat"));
    EXPECT_EQ(0, driver.WriteSatFile(block.data(), nullptr));
    EXPECT_EQ(0, driver.WriteSatFile(block.data(), ""));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\windows\\temp\\never.sat"));
}

TEST(WriteSatFile, TwoCallsWriteTwoFiles)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    std::vector<uint8_t> block = builder.Build();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string first = std::string(temp) + "qel-driver-first.sat";
    std::string second = std::string(temp) + "qel-driver-second.sat";
    CInsertionDriver driver;

    EXPECT_EQ(1, driver.WriteSatFile(block.data(), first.c_str()));
    EXPECT_EQ(1, driver.WriteSatFile(block.data(), second.c_str()));

    EXPECT_TRUE(DeleteFileA(first.c_str()));
    EXPECT_TRUE(DeleteFileA(second.c_str()));
}

TEST(Connect, AttachesToTheRunningSolidWorksAndReleasesItWithTheDriver)
{
    swsim::CSimulatorClient simulator("revision=9.1");
    {
        CInsertionDriver driver;
        EXPECT_EQ(1, driver.Connect());
        EXPECT_EQ(1, simulator.OutstandingReferences());
    }
    EXPECT_EQ(0, simulator.OutstandingReferences());
    EXPECT_THAT(simulator.JournalLines(), ElementsAre("app 0xC method () -> \"9.1\""));
}

} // namespace
} // namespace qel::test

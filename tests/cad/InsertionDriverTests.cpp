// The insertion driver's own steps, in the test program (which carries the
// plug-in's string tables): attribute collection with its messages, the file
// name stem, the SAT writer step, the SolidWorks link, the choice of the part
// file (existing files, long directories) and the system's Save dialog.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cad/InsertionDriver.h"
#include "common/ErrorMessage.h"
#include "common/StringTable.h"
#include "common/WinOwners.h"
#include "resources/resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
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
    int capacity;
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
    buffer[1] = '\0';

    EXPECT_EQ(GetParam().expectedResult,
              driver.MakeFileNameFromAttributes(buffer, GetParam().capacity, GetParam().mode));

    EXPECT_STREQ(GetParam().expectedStem, buffer);
    EXPECT_EQ('#', buffer[std::max(GetParam().capacity, 2)]) << "written beyond the capacity";
}

INSTANTIATE_TEST_SUITE_P(Stems, FileNameStemTest,
                         testing::Values(StemCase{0, 45, 1, "M8x20_DIN933_8_8"},
                                         StemCase{1, 45, 1, "M8x20_DIN 933_8.8"},
                                         StemCase{1, 6, 1, "M8x20"}, // cut names count as names
                                         StemCase{0, 2, 1, "M"},
                                         StemCase{0, 1, 0, "#"})); // no room for a stem

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

// A Save dialog that answers without a window and counts how often it was asked.
class CAnsweringDialog : public IPartFileDialog
{
public:
    explicit CAnsweringDialog(const char* answer) : m_answer(answer) {}
    bool Choose(const char*, const char*, char* path, std::size_t size) override
    {
        ++m_calls;
        return m_answer != nullptr && CopyBounded(path, size, m_answer) > 0;
    }
    int m_calls = 0;

private:
    const char* m_answer;
};

std::vector<uint8_t> BoltWithNote(const char* note)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddAttribute("Strength class", "8.8");
    if (note != nullptr)
        builder.AddAttribute("Note", note);
    return builder.Build();
}

// The existing files as SolidWorks wrote them, left empty by a save that
// never ended, or held by another program without sharing.
enum class State
{
    Written,
    Empty,
    Held
};
constexpr const char* kAlnum = "M8x20_DIN933_8_8.SLDPRT";
constexpr const char* kSafe = "M8x20_DIN 933_8.8.SLDPRT";

// One Run in a part directory of the given length (its separator included;
// 0: the scratch folder as it is) holding the given files.
struct NamingCase
{
    const char* name;
    std::size_t directoryLength;
    std::vector<std::string> existing;
    const char* options;
    const char* note;
    const char* opened; // the file opened in SolidWorks; null: none, the dialog was asked
    long type;
    bool imported;
    State state = State::Written;
};

class PartFileNamingTest : public testing::TestWithParam<NamingCase>
{
protected:
    static void SetUpTestSuite() { s_simulator = new swsim::CSimulatorClient(); }
    static void TearDownTestSuite() { delete s_simulator; }
    static swsim::CSimulatorClient* s_simulator;
};
swsim::CSimulatorClient* PartFileNamingTest::s_simulator = nullptr;

TEST_P(PartFileNamingTest, Run_ChoosesTheExistingOrNewPartFile)
{
    const NamingCase& row = GetParam();
    CScratchFolder folder("naming");
    std::string directory = folder.Path() + "\\";
    if (row.directoryLength > directory.size())
        directory += std::string(row.directoryLength - directory.size() - 1, 'd') + "\\";
    CSettingsFileOverride settings("[Options]\r\nPartPath=" + directory + "\r\n");
    std::vector<CHandle> holders;
    for (const std::string& file : row.existing)
    {
        WriteFileText(directory + file,
                      row.state == State::Empty ? "" : "QelSwSim document type=2\r\n");
        if (row.state == State::Held)
            holders.emplace_back(CreateFileA((directory + file).c_str(), GENERIC_READ, 0, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    }
    s_simulator->Configure(std::string("reset=1 docs=assembly ") + row.options);
    s_simulator->ClearJournal();
    std::vector<uint8_t> part = BoltWithNote(row.note);
    CAnsweringDialog dialog(nullptr);
    auto driver = std::make_unique<CInsertionDriver>();
    driver->SetPartFileDialog(&dialog);

    EXPECT_EQ(row.opened != nullptr ? 1 : 0, driver->Run(part.data()));
    driver.reset(); // gives the SolidWorks references back
    holders.clear();

    const std::string journal = s_simulator->Journal();
    EXPECT_EQ(row.opened == nullptr ? 1 : 0, dialog.m_calls);
    EXPECT_EQ(row.imported, journal.find("app 0x31 method") != std::string::npos) << journal;
    if (row.opened != nullptr)
        EXPECT_NE(std::string::npos, journal.find("app 0x63 method (\"" + directory + row.opened +
                                                  "\", " + std::to_string(row.type) + ","))
            << journal;
    else
        EXPECT_EQ(std::string::npos, journal.find("app 0x63")) << journal;
    if (row.opened != nullptr)
        EXPECT_NE("", ReadFileText(directory + row.opened)) << "the part file is empty";
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PartFileNamingTest,
    testing::Values(NamingCase{"AlnumPartExists",
                               0,
                               {"M8x20_DIN933_8_8.SLDPRT"},
                               "",
                               nullptr,
                               "M8x20_DIN933_8_8.SLDPRT",
                               1,
                               false},
                    NamingCase{"FileSafeAssemblyExists",
                               0,
                               {"M8x20_DIN 933_8.8.SLDASM"},
                               "",
                               nullptr,
                               "M8x20_DIN 933_8.8.SLDASM",
                               2,
                               false},
                    NamingCase{"BothExtensionsExist",
                               0,
                               {"M8x20_DIN 933_8.8.SLDASM", "M8x20_DIN 933_8.8.SLDPRT"},
                               "",
                               nullptr,
                               "M8x20_DIN 933_8.8.SLDPRT",
                               1,
                               false},
                    NamingCase{"ImportedAsAssembly",
                               0,
                               {},
                               "import-type=2",
                               nullptr,
                               "M8x20_DIN 933_8.8.SLDASM",
                               2,
                               true},
                    NamingCase{"Directory200StemOf44",
                               200,
                               {},
                               "",
                               "abcdefghijklmnopqrstuvwxyz0123456789",
                               "M8x20_DIN 933_8.8_abcdefghijklmnopqrstuvwxyz.SLDPRT",
                               1,
                               true},
                    // Another part's file is Y.SLDPRT; the value Y.SLDPRT names Y.SLDPRT.SLDPRT.
                    NamingCase{"ValueEndingInTheExtension",
                               0,
                               {"M8x20_DIN 933_8.8_Y.SLDPRT"},
                               "",
                               "Y.SLDPRT",
                               "M8x20_DIN 933_8.8_Y.SLDPRT.SLDPRT",
                               1,
                               true},
                    NamingCase{"ZeroBytes", 0, {kSafe}, "", nullptr, kSafe, 1, true, State::Empty},
                    NamingCase{"Held", 0, {kAlnum}, "", nullptr, kAlnum, 1, false, State::Held},
                    NamingCase{"Directory245NoStem", 245, {}, "", nullptr, nullptr, 0, false},
                    NamingCase{"Directory300NoStem", 300, {}, "", nullptr, nullptr, 0, false}),
    [](const testing::TestParamInfo<NamingCase>& info) { return info.param.name; });

// The system's Save dialog, driven as a user would: a part without
// attributes has no name, so the dialog asks for one.
struct SaveDialogCase
{
    const char* name;
    const char* typed; // null: Cancel
    const char* created;
    const char* existing = nullptr; // another part in the folder, kept as it was
    const char* options = "";
};

class SaveDialogTest : public testing::TestWithParam<SaveDialogCase>
{
};

TEST_P(SaveDialogTest, Run_NoNameFromTheAttributes_AsksTheUser)
{
    swsim::CSimulatorClient simulator(std::string("docs=assembly ") + GetParam().options);
    CScratchFolder folder("savedialog");
    const std::string directory = folder.MakeDir("old.parts") + "\\";
    CSettingsFileOverride settings("[Options]\r\nPartPath=" + directory + "\r\n");
    if (GetParam().existing != nullptr)
        WriteFileText(directory + GetParam().existing, "QelSwSim document type=1\r\n");
    std::vector<uint8_t> part = CPartBlockBuilder().Build();
    std::string caption;
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);

    int result = 0;
    {
        CInsertionDriver driver;
        CDialogDriver user({{CDialogDriver::kSaveFile, [&](HWND dialog)
                             {
                                 caption = CDialogDriver::Text(dialog);
                                 if (GetParam().typed == nullptr)
                                     return CDialogDriver::Press(dialog, IDCANCEL);
                                 // The file name field: cmb13 (explorer style) or edt1.
                                 CDialogDriver::Type(dialog, 0x47C, GetParam().typed);
                                 CDialogDriver::Type(dialog, 0x480, GetParam().typed);
                                 CDialogDriver::Press(dialog, IDOK);
                             }}});
        try
        {
            result = driver.Run(part.data());
        }
        catch (const char*)
        {
            result = -1; // reported as the export would
        }
    }

    EXPECT_EQ(LoadMessage(IDS_SAVE_DIALOG_TITLE), caption);
    EXPECT_EQ(GetParam().created != nullptr ? 1 : GetParam().typed != nullptr ? -1 : 0, result);
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after) << "the host's current directory moved";
    if (GetParam().created != nullptr)
        EXPECT_TRUE(FileExists(directory + GetParam().created));
    else if (GetParam().typed == nullptr)
        EXPECT_THAT(simulator.JournalLines(),
                    testing::Not(testing::Contains(testing::HasSubstr("app 0x31"))));
    if (GetParam().existing != nullptr)
        EXPECT_EQ("QelSwSim document type=1\r\n", ReadFileText(directory + GetParam().existing));
    EXPECT_EQ(0, simulator.OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveDialogTest,
    testing::Values(SaveDialogCase{"Cancel", nullptr, nullptr},
                    SaveDialogCase{"NewNameInDottedFolder", "bolt", "bolt.SLDPRT"},
                    SaveDialogCase{"DottedNameNextToAnotherPart", "M6x1.5", "M6x1.5.SLDPRT",
                                   "M6x1.SLDPRT"},
                    SaveDialogCase{"ExtensionTypedNextToAnAssembly", "bolt.SLDPRT", "bolt.SLDPRT",
                                   "bolt.SLDASM"},
                    SaveDialogCase{"ExtensionTypedImportedAsTheExistingAssembly", "bolt.SLDPRT",
                                   nullptr, "bolt.SLDASM", "import-type=2"},
                    SaveDialogCase{"DeviceCON", "CON", "CON_.SLDPRT"},
                    SaveDialogCase{"DeviceNulExt", "nul.SLDPRT", "nul_.SLDPRT"},
                    SaveDialogCase{"DeviceCom1Blank", "COM1 .SLDPRT", "COM1_ .SLDPRT"}),
    [](const testing::TestParamInfo<SaveDialogCase>& info) { return info.param.name; });

} // namespace
} // namespace qel::test

// QelCreate and QelCreate_2 without a usable SolidWorks, and with the host main
// library missing: the error texts, where they go and when they are shown.
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/ErrorBoxWatcher.h"
#include "ExpectedTexts.h"
#include "HostInstallation.h"
#include "PluginModule.h"
#include "tests/support/SettingsFileOverride.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/TextEscapes.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace qel::test
{
namespace
{

// No SolidWorks runs in these tests: the simulator is not started.
class CreateWithoutSolidWorksTest : public testing::Test
{
protected:
    CPluginModule m_plugin;
    std::vector<uint8_t> m_part = BoltBlock();
};

TEST_F(CreateWithoutSolidWorksTest, Create2_NoSolidWorks_ReturnsStartMessageInBuffer)
{
    CErrorBoxWatcher boxes;
    char buffer[256];
    std::memset(buffer, '#', sizeof(buffer));

    EXPECT_EQ(0, m_plugin.QelCreate_2(m_part.data(), "", buffer, sizeof(buffer)));

    EXPECT_EQ(StartSolidWorksText(), std::string(buffer));
    for (std::size_t i = StartSolidWorksText().size(); i < sizeof(buffer); ++i)
        ASSERT_EQ('\0', buffer[i]) << "byte " << i << " behind the text is not NUL";
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(CreateWithoutSolidWorksTest, Create2_CutsTheTextToBufferSizeMinusOne)
{
    char buffer[11]; // the last byte guards the stated size of 10
    std::memset(buffer, '#', sizeof(buffer));

    EXPECT_EQ(0, m_plugin.QelCreate_2(m_part.data(), nullptr, buffer, 10));

    EXPECT_EQ(StartSolidWorksText().substr(0, 9), std::string(buffer));
    EXPECT_EQ('#', buffer[10]) << "written beyond the stated size";
}

TEST_F(CreateWithoutSolidWorksTest, Create2_BufferOfSizeOneReceivesEmptyText)
{
    char buffer[2] = {'#', '#'};

    EXPECT_EQ(0, m_plugin.QelCreate_2(m_part.data(), nullptr, buffer, 1));

    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ('#', buffer[1]);
}

TEST_F(CreateWithoutSolidWorksTest, Create2_NullBufferOrSizeZero_WritesNothing)
{
    char buffer[4] = {'#', '#', '#', '\0'};

    EXPECT_EQ(0, m_plugin.QelCreate_2(m_part.data(), nullptr, nullptr, 100));
    EXPECT_EQ(0, m_plugin.QelCreate_2(m_part.data(), nullptr, buffer, 0));

    EXPECT_STREQ("###", buffer);
}

struct ShowMessagesCase
{
    const char* parameters;
    bool boxShown;
};

class ShowMessagesTest : public testing::TestWithParam<ShowMessagesCase>
{
};

TEST_P(ShowMessagesTest, Create2_ShowsTheBoxOnlyWhenShowMessagesAsks)
{
    CPluginModule plugin;
    std::vector<uint8_t> part = BoltBlock();
    CErrorBoxWatcher boxes;
    char buffer[256] = {};

    EXPECT_EQ(0, plugin.QelCreate_2(part.data(), GetParam().parameters, buffer, sizeof(buffer)));

    EXPECT_EQ(StartSolidWorksText(), std::string(buffer));
    if (GetParam().boxShown)
    {
        EXPECT_THAT(boxes.Texts(), ElementsAre(StartSolidWorksText()));
        EXPECT_THAT(boxes.Captions(), ElementsAre(plugin.Path()));
    }
    else
        EXPECT_THAT(boxes.Texts(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Parameters, ShowMessagesTest,
                         testing::Values(ShowMessagesCase{nullptr, false},
                                         ShowMessagesCase{"", false},
                                         ShowMessagesCase{"LanguageId=106", false},
                                         ShowMessagesCase{"ShowMessages=0", false},
                                         ShowMessagesCase{"ShowMessages=1", true},
                                         ShowMessagesCase{"showmessages=2|LanguageId=106", true},
                                         ShowMessagesCase{"ShowMessages=1|ShowMessages=0", false}));

TEST_F(CreateWithoutSolidWorksTest, Create_NoSolidWorks_ShowsTheStartMessageInTheErrorBox)
{
    CErrorBoxWatcher boxes;

    EXPECT_EQ(0, m_plugin.QelCreate(m_part.data()));

    EXPECT_THAT(boxes.Texts(), ElementsAre(StartSolidWorksText()));
    EXPECT_THAT(boxes.Captions(), ElementsAre(m_plugin.Path()));
}

TEST_F(CreateWithoutSolidWorksTest, Options2_ShowsItsErrorBoxEvenWhenNoMessagesAreAsked)
{
    // Another kind of object holds the settings mutex's name: the settings
    // cannot be locked, and the options step fails.
    CHandle squatter(CreateEventA(nullptr, FALSE, FALSE, "QelSW99_3D.ini"));
    CErrorBoxWatcher boxes;

    EXPECT_EQ(0, m_plugin.QelOptions_2("ShowMessages=0", nullptr, 0));

    EXPECT_THAT(boxes.Texts(), ElementsAre("Cannot create the mutex \"QelSW99_3D.ini\" !"));
    EXPECT_THAT(boxes.Captions(), ElementsAre(m_plugin.Path()));
}

TEST(PlantedLibrary, Create2_LibraryInTheCurrentDirectoryIsNotLoaded)
{
    // The host's folder lacks QelMain.dll; the current directory (a part
    // directory, say) holds one. It must not be taken.
    CHostInstallation host({"QelSatWr.dll"});
    CScratchFolder planted("planted");
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\QelMain.dll").c_str(),
                          planted.PathOf("QelMain.dll").c_str(), FALSE));
    WriteFileBytes(planted.PathOf("bolt.qpb"), BoltBlock());

    HostRun run = host.Run({"QelCreate_2", planted.PathOf("bolt.qpb"), "", "512"}, planted.Path());

    EXPECT_EQ(EscapeText(DllErrorText("QelMain.dll", 126)), OutputField(run.output, "error"))
        << run.output;
}

// The maker's libraries are looked for in the host's folder first, then in
// the plug-in's own folder: the first copy found is the one loaded.
struct SearchOrderCase
{
    const char* name;
    const char* inHostFolder;         // QelMain.dll copied from this bin path, or null
    const char* inPluginFolder;       // likewise
    const char* hostLoaded = nullptr; // likewise, in a folder of its own, loaded by the host
};

class SearchOrderTest : public testing::TestWithParam<SearchOrderCase>
{
};

TEST_P(SearchOrderTest, Create2_TakesTheFirstQelMainOfHostThenPluginFolder)
{
    const SearchOrderCase& row = GetParam();
    CHostInstallation host({"QelSatWr.dll"});
    const std::string plugin = host.Folder() + "\\plugin";
    ASSERT_TRUE(CreateDirectoryA(plugin.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\QelSW99_3D.dll").c_str(),
                          (plugin + "\\QelSW99_3D.dll").c_str(), FALSE));
    auto place = [](const char* from, const std::string& folder)
    {
        if (from == nullptr)
            return;
        ASSERT_TRUE(CopyFileA((BinFolder() + "\\" + from).c_str(),
                              (folder + "\\QelMain.dll").c_str(), FALSE));
    };
    place(row.inHostFolder, host.Folder());
    place(row.inPluginFolder, plugin);
    CScratchFolder own("hostsown");
    place(row.hostLoaded, own.Path());
    WriteFileBytes(host.PathOf("bolt.qpb"), BoltBlock());

    std::vector<std::string> arguments = {
        "--plugin", plugin + "\\QelSW99_3D.dll", "QelCreate_2", host.PathOf("bolt.qpb"), "", "512"};
    if (row.hostLoaded != nullptr)
        arguments.insert(arguments.begin(), {"--preload", own.PathOf("QelMain.dll")});
    HostRun run = host.Run(arguments);

    // Only the variant lacks the function: its message shows which copy was taken.
    EXPECT_EQ(EscapeText(FunctionErrorText("QelVar_OnChange_GetHWnd", "QelMain.dll")),
              OutputField(run.output, "error"))
        << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SearchOrderTest,
    testing::Values(SearchOrderCase{"HostsCopyBeforePlugins",
                                    "variants\\qelmain-no-gethwnd\\QelMain.dll", "QelMain.dll"},
                    SearchOrderCase{"PluginsFolderWhenTheHostHasNone", nullptr,
                                    "variants\\qelmain-no-gethwnd\\QelMain.dll"},
                    SearchOrderCase{"HostsOwnLoadedCopyOnly", nullptr, nullptr,
                                    "variants\\qelmain-no-gethwnd\\QelMain.dll"},
                    SearchOrderCase{"HostsOwnLoadedCopyBeforeAnother", "QelMain.dll", nullptr,
                                    "variants\\qelmain-no-gethwnd\\QelMain.dll"}),
    [](const testing::TestParamInfo<SearchOrderCase>& info) { return info.param.name; });

// The SAT writer's own dependencies come from its folder or the system
// folder, never from the current directory (a part folder, say).
class WriterDependencyTest : public testing::TestWithParam<bool>
{
};

TEST_P(WriterDependencyTest, DirectFile_DependencyOnlyInTheCurrentDirectoryIsNotLoaded)
{
    const bool besideTheWriter = GetParam();
    std::vector<std::string> files = {"QelMain.dll",
                                      "variants/qelsatwr-with-dependency/QelSatWr.dll"};
    if (besideTheWriter)
        files.push_back("qeldep.dll");
    CHostInstallation host(files);
    CScratchFolder planted("dependency");
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\qeldep.dll").c_str(),
                          planted.PathOf("qeldep.dll").c_str(), FALSE));
    WriteFileBytes(planted.PathOf("bolt.qpb"), BoltBlock());

    HostRun run = host.Run(
        {"QelCreateDirectFile", planted.PathOf("bolt.qpb"), planted.PathOf("bolt.sat"), "260"},
        planted.Path());

    EXPECT_EQ(besideTheWriter ? "1" : "0", OutputField(run.output, "result")) << run.output;
    EXPECT_EQ(besideTheWriter, FileExists(planted.PathOf("bolt.sat")));
}

INSTANTIATE_TEST_SUITE_P(Places, WriterDependencyTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info)
                         { return info.param ? "BesideTheWriter" : "OnlyInTheCurrentDirectory"; });

// How many TLS slots the process has left (taken and given back at once).
std::size_t FreeTlsSlots()
{
    std::vector<DWORD> taken;
    for (DWORD slot; (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;)
        taken.push_back(slot);
    for (DWORD slot : taken)
        TlsFree(slot);
    return taken.size();
}

TEST(PluginLoading, LoadedAndUnloadedAgainAndAgain_KeepsNoTlsSlot)
{
    // A host may load the plug-in for each call; a slot kept at every load
    // would end the process's TLS after about a thousand calls.
    const std::string path = BinFolder() + "\\QelSW99_3D.dll";
    const std::size_t before = FreeTlsSlots();
    for (int load = 0; load < 200; ++load)
        CModule(LoadLibraryA(path.c_str()));

    EXPECT_GE(FreeTlsSlots() + 2, before);
}

} // namespace
} // namespace qel::test

namespace qel::test
{
namespace
{

// Settings as others wrote them, read before SolidWorks is looked for (rows: the stored PartPath;
// how long another program holds the file unshared; the folder then made, "" none; the message).
TEST(SettingsFirst, Create2_ReadsTheSettingsAsOthersWroteThem)
{
    CPluginModule plugin;
    const CScratchFolder folder("partpath");
    const CCurrentDirectory restore;
    SetCurrentDirectoryA(folder.Path().c_str());
    SetEnvironmentVariableA("QEL_TEST_PARTS", folder.Path().c_str());
    const std::string ini = CSettingsFileOverride::Path(), start = StartSolidWorksText();
    for (const auto& [stored, heldMs, made, message] :
         std::vector<std::tuple<std::string, DWORD, std::string, std::string>>{
             {folder.PathOf("Normteile\\DIN\\933"), 0, "Normteile\\DIN\\933", start},
             {"%QEL_TEST_PARTS%\\DIN", 0, "DIN", start},
             {"parts", 0, "", CannotInsertPartText(PartDirectoryRelativeText("parts"))},
             {folder.PathOf("held"), 300, "held", start},
             {folder.PathOf("held"), INFINITE, "", SettingsNotReadText(ini, SystemReasonText(32))}})
    {
        SCOPED_TRACE(stored);
        const CSettingsFileOverride settings("[Options]\r\nPartPath=" + stored + "\r\n");
        CHandle held(
            heldMs ? CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                   : nullptr);
        std::thread release([&, ms = heldMs]
                            { ms != INFINITE ? Sleep(ms), held.Reset() : void(); });
        char buffer[1024] = {};
        EXPECT_EQ(0, plugin.QelCreate_2(BoltBlock().data(), nullptr, buffer, sizeof(buffer)));
        release.join();
        EXPECT_EQ(message, buffer);
        EXPECT_EQ(!made.empty(), FileExists(folder.PathOf(made.empty() ? "parts" : made)));
    }
}

} // namespace
} // namespace qel::test

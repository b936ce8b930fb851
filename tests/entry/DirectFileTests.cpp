// QelCreateDirectFile and QelCreateDirectFile_2: the part written as a SAT file
// through the SAT writer library, under the host's name completed with ".sat".
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/ErrorBoxWatcher.h"
#include "ExpectedTexts.h"
#include "HostInstallation.h"
#include "PluginModule.h"
#include "StandinLog.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/TextEscapes.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;
using testing::UnorderedElementsAre;

namespace qel::test
{
namespace
{

class DirectFileTest : public testing::Test
{
protected:
    // The host's file name buffer: the name, then zero bytes up to size.
    std::vector<char> NameBuffer(const std::string& name, std::size_t size)
    {
        std::vector<char> buffer(size + 16, '\0');
        std::memcpy(buffer.data(), name.c_str(), name.size() + 1);
        return buffer;
    }

    CPluginModule m_plugin;
    CScratchFolder m_folder{"directfile"};
    CStandinLogFile m_log{m_folder.PathOf("standins.log")};
    std::vector<uint8_t> m_part = BoltBlock();
};

TEST_F(DirectFileTest, DirectFile_AppendsSatWhenNameHasNoExtension)
{
    std::string name = m_folder.PathOf("bolt");
    std::vector<char> buffer = NameBuffer(name, 260);

    EXPECT_EQ(1, m_plugin.QelCreateDirectFile(m_part.data(), buffer.data(), 260));

    EXPECT_EQ(name + ".sat", std::string(buffer.data()));
    std::string sat = ReadFileText(name + ".sat");
    EXPECT_THAT(sat, StartsWith("400 0 1 0"));
    EXPECT_THAT(sat, HasSubstr("M8x20"));
    EXPECT_THAT(sat, HasSubstr("End-of-ACIS-data"));
}

TEST_F(DirectFileTest, DirectFile_WritesWithSaveVersion4_0AndReleasesTheWriter)
{
    std::string name = m_folder.PathOf("bolt.sat");
    std::vector<char> buffer = NameBuffer(name, 260);

    EXPECT_EQ(1, m_plugin.QelCreateDirectFile(m_part.data(), buffer.data(), 260));

    EXPECT_THAT(m_log.LinesStartingWith("QelSatWr.dll"),
                ElementsAre("QelSatWr.dll attach", "QelSatWr.dll SaveVersion 4 0 -> 1",
                            "QelSatWr.dll CreateSatFile " + name + " -> 1", "QelSatWr.dll detach"));
}

TEST_F(DirectFileTest, DirectFile_DottedNameGetsSatAsWell)
{
    std::string name = m_folder.PathOf("DIN 933 M6x1.5");
    std::vector<char> buffer = NameBuffer(name, 260);

    EXPECT_EQ(1, m_plugin.QelCreateDirectFile(m_part.data(), buffer.data(), 260));

    EXPECT_EQ(name + ".sat", std::string(buffer.data()));
    EXPECT_THAT(ReadFileText(name + ".sat"), StartsWith("400 0 1 0"));
}

TEST_F(DirectFileTest, DirectFile_NoRoomForExtension_ReturnsZeroAndLeavesBuffer)
{
    std::string name = m_folder.PathOf("bolt");
    std::vector<char> buffer = NameBuffer(name, name.size() + 4); // one byte short of ".sat"

    EXPECT_EQ(0, m_plugin.QelCreateDirectFile(m_part.data(), buffer.data(),
                                              static_cast<unsigned>(name.size() + 4)));

    EXPECT_EQ(name, std::string(buffer.data()));
    EXPECT_FALSE(FileExists(name + ".sat"));
    EXPECT_THAT(m_log.Lines(), IsEmpty());
}

TEST_F(DirectFileTest, DirectFile_MissingArgumentsReturnZeroWithoutLoadingTheWriter)
{
    CErrorBoxWatcher boxes;
    std::vector<char> buffer = NameBuffer(m_folder.PathOf("bolt"), 260);
    std::vector<char> empty = NameBuffer("", 260);

    EXPECT_EQ(0, m_plugin.QelCreateDirectFile(nullptr, buffer.data(), 260));
    EXPECT_EQ(0, m_plugin.QelCreateDirectFile(m_part.data(), nullptr, 260));
    EXPECT_EQ(0, m_plugin.QelCreateDirectFile(m_part.data(), buffer.data(), 0));
    EXPECT_EQ(0, m_plugin.QelCreateDirectFile(m_part.data(), empty.data(), 260));

    EXPECT_THAT(m_log.Lines(), IsEmpty());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(DirectFileTest, DirectFile2_ParsesItsParameterTextAndWritesTheFile)
{
    std::string name = m_folder.PathOf("bolt2");
    std::vector<char> buffer = NameBuffer(name, 260);
    char unused[4] = "###";

    EXPECT_EQ(1, m_plugin.QelCreateDirectFile_2(m_part.data(), "ShowMessages=1|LanguageId=106",
                                                unused, sizeof(unused), buffer.data(), 260));

    EXPECT_EQ(name + ".sat", std::string(buffer.data()));
    EXPECT_THAT(ReadFileText(name + ".sat"), StartsWith("400 0 1 0"));
    EXPECT_STREQ("###", unused);
}

TEST_F(DirectFileTest, DirectFile2_FailureIsOnlyTheResultEvenWhenMessagesAreAsked)
{
    CErrorBoxWatcher boxes;
    std::vector<char> buffer = NameBuffer(m_folder.PathOf("missing-dir\\bolt"), 260);

    EXPECT_EQ(0, m_plugin.QelCreateDirectFile_2(m_part.data(), "ShowMessages=1", nullptr, 0,
                                                buffer.data(), 260));

    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

// The writer refusing the version: nothing is written and the writer is not
// asked for the file.
TEST(DirectFileWriterVariants, DirectFile_SaveVersionRefused_ReturnsZeroWithoutCreateCall)
{
    CHostInstallation host({"QelMain.dll", "variants/qelsatwr-saveversion-zero/QelSatWr.dll"});
    CScratchFolder folder("saveversion");
    WriteFileBytes(folder.PathOf("bolt.qpb"), BoltBlock());
    CStandinLogFile log(folder.PathOf("standins.log"));

    HostRun run =
        host.Run({"QelCreateDirectFile", folder.PathOf("bolt.qpb"), folder.PathOf("bolt"), "260"});

    EXPECT_EQ("0", OutputField(run.output, "result")) << run.output;
    EXPECT_FALSE(FileExists(folder.PathOf("bolt.sat")));
    EXPECT_THAT(log.LinesStartingWith("QelSatWr.dll CreateSatFile"), IsEmpty());
    EXPECT_THAT(log.LinesStartingWith("QelSatWr.dll SaveVersion"),
                ElementsAre("QelSatWr.dll SaveVersion 4 0 -> 0"));
}

// A writer failing half way keeps an earlier file whole and leaves no cut one; success replaces it.
TEST(DirectFileWriterVariants, DirectFile_WriterFailingHalfWay_KeepsTheEarlierFileWhole)
{
    CHostInstallation failing({"QelMain.dll", "variants/qelsatwr-fails-halfway/QelSatWr.dll"});
    CHostInstallation good({"QelMain.dll", "QelSatWr.dll"});
    CScratchFolder folder("halfway");
    WriteFileBytes(folder.PathOf("bolt.qpb"), BoltBlock());
    WriteFileText(folder.PathOf("earlier.sat"), "earlier");
    for (const auto& [host, name] : std::vector<std::pair<CHostInstallation*, const char*>>{
             {&failing, "earlier"}, {&failing, "new"}, {&good, "earlier"}})
    {
        HostRun run = host->Run(
            {"QelCreateDirectFile", folder.PathOf("bolt.qpb"), folder.PathOf(name), "260"});
        EXPECT_EQ(host == &good ? "1" : "0", OutputField(run.output, "result")) << run.output;
        EXPECT_EQ(host != &good, ReadFileText(folder.PathOf("earlier.sat")) == "earlier");
        EXPECT_THAT(FileNamesIn(folder.Path()), UnorderedElementsAre("bolt.qpb", "earlier.sat"));
    }
}

TEST(DirectFileWriterVariants, DirectFile_WriterMissing_ReturnsZeroAndShowsNothing)
{
    CHostInstallation host({"QelMain.dll"});
    CScratchFolder folder("nowriter");
    WriteFileBytes(folder.PathOf("bolt.qpb"), BoltBlock());

    HostRun run =
        host.Run({"QelCreateDirectFile", folder.PathOf("bolt.qpb"), folder.PathOf("bolt"), "260"});

    EXPECT_EQ("0", OutputField(run.output, "result")) << run.output;
    EXPECT_EQ(EscapeText(folder.PathOf("bolt.sat")), OutputField(run.output, "file")) << run.output;
    EXPECT_FALSE(FileExists(folder.PathOf("bolt.sat")));
}

} // namespace
} // namespace qel::test

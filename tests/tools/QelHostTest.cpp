// qelhost against a fake plug-in that records what arrives: pointers, sizes,
// texts and buffer contents must reach the exports exactly as the command line
// asks; exit codes and output lines as documented.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "tests/tools/ChildProcess.h"
#include "tests/tools/ScopedEnvironmentVariable.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/PartBlockBuilder.h"

using namespace qel::test;
using Bytes = std::vector<uint8_t>;

namespace
{

std::string Hex(const Bytes& bytes)
{
    std::string text;
    for (uint8_t byte : bytes)
    {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

Bytes BoltPart()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddItem(500, {0xAB});
    return builder.Build();
}

class QelHost : public testing::Test
{
protected:
    QelHost()
        : m_record("QEL_FAKEPLUGIN_RECORD", m_folder.PathOf("record.txt")),
          m_result("QEL_FAKEPLUGIN_RESULT", "7")
    {
        WriteFileBytes(PartFile(), BoltPart());
    }

    std::string PartFile() const { return m_folder.PathOf("bolt.qpb"); }

    // qelhost --plugin <fake> followed by arguments.
    ProcessOutcome RunWithFake(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> all = {"--plugin", BinFolder() + "\\QelFakePlugin.dll"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return Run(all);
    }

    ProcessOutcome Run(const std::vector<std::string>& arguments)
    {
        return RunProcess(BinFolder() + "\\qelhost.exe", arguments);
    }

    std::vector<std::string> Recorded() const
    {
        return ReadFileLines(m_folder.PathOf("record.txt"));
    }

    CScratchFolder m_folder;
    CScopedEnvironmentVariable m_record;
    CScopedEnvironmentVariable m_result;
};

} // namespace

TEST_F(QelHost, QelCreatePassesTheBlockBytesAndPrintsTheResult)
{
    ProcessOutcome outcome = RunWithFake({"QelCreate", PartFile()});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "result: 7\n");
    EXPECT_EQ(Recorded(), std::vector<std::string>{"QelCreate part=" + Hex(BoltPart())});
}

TEST_F(QelHost, QelCreatePassesNullPointerForNullPart)
{
    ProcessOutcome outcome = RunWithFake({"QelCreate", "null"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(Recorded(), std::vector<std::string>{"QelCreate part=null"});
}

struct ErrorBufferCase
{
    const char* title;
    const char* params;
    const char* errorSize;
    const char* errorText; // written by the fake, "" for none
    const char* recorded;  // behind "QelCreate_2 part=<hex> "
    const char* output;
};

class QelHostErrorBuffer : public QelHost, public testing::WithParamInterface<ErrorBufferCase>
{
};

TEST_P(QelHostErrorBuffer, PassesParamsAndPrefilledBufferAndShowsWhatWasWritten)
{
    const ErrorBufferCase& c = GetParam();
    CScopedEnvironmentVariable error("QEL_FAKEPLUGIN_ERROR", c.errorText);
    ProcessOutcome outcome = RunWithFake({"QelCreate_2", PartFile(), c.params, c.errorSize});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, c.output);
    EXPECT_EQ(Recorded(),
              std::vector<std::string>{"QelCreate_2 part=" + Hex(BoltPart()) + " " + c.recorded});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QelHostErrorBuffer,
    testing::Values(
        ErrorBufferCase{"NotWritten", "ShowMessages=0|Language=106", "256", "",
                        "params=ShowMessages=0|Language=106 errsize=256 errbuf=prefilled",
                        "result: 7\nerror buffer: unchanged\n"},
        ErrorBufferCase{"Written", "x=1", "64", "Pointer to geometry data NULL !",
                        "params=x=1 errsize=64 errbuf=prefilled",
                        "result: 7\nerror: Pointer to geometry data NULL !\n"},
        ErrorBufferCase{"WrittenAndCut", "x=1", "5", "Bad part",
                        "params=x=1 errsize=5 errbuf=prefilled", "result: 7\nerror: Bad \n"},
        ErrorBufferCase{"SizeOneGetsEmptyText", "", "1", "Bad part",
                        "params= errsize=1 errbuf=prefilled", "result: 7\nerror: \n"},
        ErrorBufferCase{"SizeZeroIsNullBuffer", "null", "0", "Bad part",
                        "params=null errsize=0 errbuf=null",
                        "result: 7\nerror buffer: unchanged\n"}),
    [](const testing::TestParamInfo<ErrorBufferCase>& info) { return info.param.title; });

TEST_F(QelHost, QelOptionsCallsTheExportWithoutArguments)
{
    ProcessOutcome outcome = RunWithFake({"QelOptions"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "result: 7\n");
    EXPECT_EQ(Recorded(),
              std::vector<std::string>{"QelOptions qelmain=" + BinFolder() + "\\QelMain.dll"});
}

TEST_F(QelHost, QelOptions2PassesParamsAndTwoZeroArguments)
{
    ProcessOutcome outcome = RunWithFake({"QelOptions_2", "ShowMessages=1"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "result: 7\n");
    EXPECT_EQ(Recorded(),
              std::vector<std::string>{"QelOptions_2 params=ShowMessages=1 unread=0 0"});
}

TEST_F(QelHost, QelCreateDirectFilePassesNameInZeroFilledBufferAndShowsItAfterwards)
{
    CScopedEnvironmentVariable append("QEL_FAKEPLUGIN_APPEND", ".sat");
    ProcessOutcome outcome =
        RunWithFake({"QelCreateDirectFile", PartFile(), "C:\\parts\\bolt", "18"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "result: 7\nfile: C:\\\\parts\\\\bolt.sat\n");
    EXPECT_EQ(Recorded(), std::vector<std::string>{"QelCreateDirectFile part=" + Hex(BoltPart()) +
                                                   " file=C:\\parts\\bolt size=18 tail=zero"});
}

TEST_F(QelHost, QelCreateDirectFile2PassesParamsZeroArgumentsAndName)
{
    ProcessOutcome outcome =
        RunWithFake({"QelCreateDirectFile_2", "null", "Unit=mm", "out dir\\bolt.step", "100"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "result: 7\nfile: out dir\\\\bolt.step\n");
    EXPECT_EQ(Recorded(),
              std::vector<std::string>{"QelCreateDirectFile_2 part=null params=Unit=mm "
                                       "unread=0 0 file=out dir\\bolt.step size=100 tail=zero"});
}

TEST_F(QelHost, QelCreateDirectFileWithSizeZeroPassesNullBuffer)
{
    ProcessOutcome outcome = RunWithFake({"QelCreateDirectFile", PartFile(), "ignored", "0"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, "result: 7\nfile buffer: null\n");
    EXPECT_EQ(Recorded(), std::vector<std::string>{"QelCreateDirectFile part=" + Hex(BoltPart()) +
                                                   " filebuf=null size=0"});
}

struct BufferFaultCase
{
    const char* title;
    std::vector<std::string> arguments;
    const char* warning;
};

class QelHostBufferFault : public QelHost, public testing::WithParamInterface<BufferFaultCase>
{
};

TEST_P(QelHostBufferFault, WriteBeyondTheBufferEndsWithExitCodeFour)
{
    CScopedEnvironmentVariable overrun("QEL_FAKEPLUGIN_OVERRUN", "1");
    std::vector<std::string> arguments = GetParam().arguments;
    arguments[1] = PartFile();
    ProcessOutcome outcome = RunWithFake(arguments);
    EXPECT_EQ(outcome.exitCode, 4) << outcome.output;
    EXPECT_NE(outcome.output.find(GetParam().warning), std::string::npos) << outcome.output;
}

INSTANTIATE_TEST_SUITE_P(
    Exports, QelHostBufferFault,
    testing::Values(BufferFaultCase{"ErrorBuffer",
                                    {"QelCreate_2", "", "p", "8"},
                                    "warning: the export wrote past the 8-byte error buffer"},
                    BufferFaultCase{"FileBuffer",
                                    {"QelCreateDirectFile", "", "a.sat", "6"},
                                    "warning: the export wrote past the 6-byte file name buffer"}),
    [](const testing::TestParamInfo<BufferFaultCase>& info) { return info.param.title; });

struct UsageCase
{
    const char* title;
    std::vector<std::string> arguments;
    const char* message;
};

class QelHostUsage : public QelHost, public testing::WithParamInterface<UsageCase>
{
};

TEST_P(QelHostUsage, RefusesWithExitCodeTwoWithoutCallingThePlugIn)
{
    ProcessOutcome outcome = RunWithFake(GetParam().arguments);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find(GetParam().message), std::string::npos) << outcome.errors;
    EXPECT_TRUE(outcome.output.empty()) << outcome.output;
    EXPECT_FALSE(FileExists(m_folder.PathOf("record.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, QelHostUsage,
    testing::Values(
        UsageCase{"NoCommand", {}, "qelhost: no command"},
        UsageCase{"UnknownCommand", {"QelInsert"}, "qelhost: unknown command QelInsert"},
        UsageCase{"MissingArgument",
                  {"QelCreate_2", "null", "p"},
                  "qelhost: QelCreate_2 takes 3 arguments"},
        UsageCase{"ExtraArgument", {"QelOptions", "x"}, "qelhost: QelOptions takes 0 arguments"},
        UsageCase{
            "UnknownOption", {"--verbose", "x", "QelOptions"}, "qelhost: unknown option --verbose"},
        UsageCase{"UnreadablePartFile",
                  {"QelCreate", "no-such-file.qpb"},
                  "qelhost: cannot read part file no-such-file.qpb"},
        UsageCase{
            "ErrorSizeNotANumber", {"QelCreate_2", "null", "p", "-1"}, "qelhost: ERRSIZE must be"},
        UsageCase{"FileBufferTooSmall",
                  {"QelCreateDirectFile", "null", "bolt.sat", "8"},
                  "qelhost: BUFSIZE 8 cannot hold the file name and its NUL"}),
    [](const testing::TestParamInfo<UsageCase>& info) { return info.param.title; });

TEST_F(QelHost, MissingPlugInEndsWithExitCodeThree)
{
    ProcessOutcome outcome = Run({"--plugin", m_folder.PathOf("NoSuchPlugin.dll"), "QelOptions"});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_NE(outcome.errors.find("qelhost: cannot load " + m_folder.PathOf("NoSuchPlugin.dll") +
                                  " (error 126)"),
              std::string::npos)
        << outcome.errors;
}

TEST_F(QelHost, PlugInWithoutTheExportEndsWithExitCodeThree)
{
    std::string notAPlugIn = BinFolder() + "\\QelSatWr.dll";
    ProcessOutcome outcome = Run({"--plugin", notAPlugIn, "QelCreate", "null"});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_NE(outcome.errors.find("qelhost: " + notAPlugIn + " exports no function QelCreate"),
              std::string::npos)
        << outcome.errors;
}

TEST_F(QelHost, MissingPreloadEndsWithExitCodeThree)
{
    ProcessOutcome outcome =
        RunWithFake({"--preload", m_folder.PathOf("QelMain.dll"), "QelOptions"});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_FALSE(FileExists(m_folder.PathOf("record.txt")));
}

TEST_F(QelHost, LoadsQelSW99_3DFromItsOwnFolderByDefault)
{
    CScratchFolder hostFolder;
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\qelhost.exe").c_str(),
                          hostFolder.PathOf("qelhost.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\QelFakePlugin.dll").c_str(),
                          hostFolder.PathOf("QelSW99_3D.dll").c_str(), FALSE));
    // Started from another folder: the program's own folder is what counts.
    ProcessOutcome outcome =
        RunProcess(hostFolder.PathOf("qelhost.exe"), {"QelOptions_2", "a=b"}, m_folder.Path());
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(Recorded(), std::vector<std::string>{"QelOptions_2 params=a=b unread=0 0"});
}

TEST_F(QelHost, PreloadedMainLibraryIsTheOneThePlugInGetsByName)
{
    std::string variant = BinFolder() + "\\variants\\qelmain-no-gethwnd\\QelMain.dll";
    ProcessOutcome outcome = RunWithFake({"--preload", variant, "QelOptions"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(Recorded(), std::vector<std::string>{"QelOptions qelmain=" + variant});
}

TEST_F(QelHost, PlugInIsReleasedBeforeThePreloadedLibraries)
{
    CScopedEnvironmentVariable log("QEL_STANDIN_LOG", m_folder.PathOf("log.txt"));
    ProcessOutcome outcome = Run({"--preload", BinFolder() + "\\QelMain.dll", "--plugin",
                                  BinFolder() + "\\QelSatWr.dll", "QelOptions"});
    EXPECT_EQ(outcome.exitCode, 3);
    const std::vector<std::string> expected = {"QelMain.dll attach", "QelSatWr.dll attach",
                                               "QelSatWr.dll detach", "QelMain.dll detach"};
    EXPECT_EQ(ReadFileLines(m_folder.PathOf("log.txt")), expected);
}

TEST_F(QelHost, MakePartWritesTheDescribedBlock)
{
    WriteFileText(m_folder.PathOf("bolt.txt"), "# a bolt\nattr Designation = M8x20\nitem 500 ab\n");
    ProcessOutcome outcome =
        Run({"make-part", m_folder.PathOf("bolt.txt"), m_folder.PathOf("made.qpb")});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    std::string written = ReadFileText(m_folder.PathOf("made.qpb"));
    EXPECT_EQ(Bytes(written.begin(), written.end()), BoltPart());
}

TEST_F(QelHost, MakePartReportsTheBadLineWithExitCodeOne)
{
    WriteFileText(m_folder.PathOf("bad.txt"), "attr A = 1\nitem x\n");
    ProcessOutcome outcome =
        Run({"make-part", m_folder.PathOf("bad.txt"), m_folder.PathOf("made.qpb")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.errors.find("line 2: item needs a code"), std::string::npos)
        << outcome.errors;
    EXPECT_FALSE(FileExists(m_folder.PathOf("made.qpb")));
}

TEST_F(QelHost, ShowPartPrintsTheDump)
{
    ProcessOutcome outcome = Run({"show-part", PartFile()});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(
        outcome.output,
        "total size: 67\n"
        "format words: 0 2 54 12\n"
        "item count: 2\n"
        "item 0 at offset 24: code 303, payload 30 bytes, attribute \"Designation\" = \"M8x20\"\n"
        "item 1 at offset 60: code 500, payload 1 bytes: ab\n");
}

TEST_F(QelHost, ShowPartOfTruncatedBlockEndsWithExitCodeOne)
{
    Bytes part = BoltPart();
    part.resize(40);
    WriteFileBytes(m_folder.PathOf("cut.qpb"), part);
    ProcessOutcome outcome = Run({"show-part", m_folder.PathOf("cut.qpb")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.output.find("error: total size 67 exceeds the 40 bytes available\n"),
              std::string::npos)
        << outcome.output;
}

// The stand-in SAT writer: the file it writes for a part, its refusals and
// its journal.
#include <gtest/gtest.h>

#include <functional>

#include "tests/tools/ScopedEnvironmentVariable.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/ItemText.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/qelhost/LoadedModule.h"

using namespace qel::test;
using Bytes = std::vector<uint8_t>;

namespace
{

using SaveVersionFunction = int(__stdcall*)(int, int);
using CreateSatFileFunction = int(__stdcall*)(const void*, const char*);

const char kUnitsLine[] = "1 9.9999999999999995e-007 1e-010 ";

class SatWriter
{
public:
    explicit SatWriter(const std::string& file = "QelSatWr.dll")
        : m_module(LoadLibraryA((BinFolder() + "\\" + file).c_str()))
    {
    }

    bool Loaded() const { return static_cast<bool>(m_module); }

    int SaveVersion(int major, int minor)
    {
        return Function<SaveVersionFunction>("QelSatWriter_SaveVersion")(major, minor);
    }

    int CreateSatFile(const void* block, const char* fileName)
    {
        return Function<CreateSatFileFunction>("QelSatWriter_CreateSatFile")(block, fileName);
    }

private:
    template <typename F> F Function(const char* name)
    {
        FARPROC address = GetProcAddress(m_module.Get(), name);
        return reinterpret_cast<F>(reinterpret_cast<void (*)()>(address));
    }

    CLoadedModule m_module;
};

Bytes ThreeAttributePart()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddItem(500, {1, 2, 3});
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddAttribute("Gr\xF6\xDF"
                         "e",
                         "8.8");
    return builder.Build();
}

} // namespace

TEST(QelSatWrStandin, WritesSatFileWithHeaderAttributesAndEndMarker)
{
    CScratchFolder folder;
    SatWriter writer;
    ASSERT_TRUE(writer.Loaded());
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("bolt.sat");

    ASSERT_EQ(writer.SaveVersion(4, 0), 1);
    ASSERT_EQ(writer.CreateSatFile(part.data(), file.c_str()), 1);

    std::vector<std::string> lines = ReadFileLines(file);
    ASSERT_EQ(lines.size(), 8u) << ReadFileText(file);
    EXPECT_EQ(lines[0], "400 0 1 0");
    EXPECT_EQ(lines[1].substr(0, 37), "@17 QelSatWr stand-in @11 ACIS 4.0 NT");
    EXPECT_EQ(lines[1].substr(37, 5), " @24 ");
    EXPECT_EQ(lines[1].size(), 42u + 24u);
    EXPECT_EQ(lines[2], kUnitsLine);
    EXPECT_EQ(lines[3], "body $1 $-1 $-1 $-1 #");
    EXPECT_EQ(lines[4],
              "string_attrib-name_attrib-gen-attrib $2 $-1 $0 @11 Designation @5 M8x20 #");
    EXPECT_EQ(lines[5], "string_attrib-name_attrib-gen-attrib $3 $1 $0 @4 Norm @7 DIN 933 #");
    EXPECT_EQ(lines[6], "string_attrib-name_attrib-gen-attrib $-1 $2 $0 @5 Gr\xF6\xDF"
                        "e @3 8.8 #");
    EXPECT_EQ(lines[7], "End-of-ACIS-data");
}

TEST(QelSatWrStandin, PartWithoutAttributesGivesBodyWithoutAttributeChain)
{
    CScratchFolder folder;
    SatWriter writer;
    Bytes part = CPartBlockBuilder().Build();
    std::string file = folder.PathOf("empty.sat");
    writer.SaveVersion(4, 0);
    ASSERT_EQ(writer.CreateSatFile(part.data(), file.c_str()), 1);
    std::vector<std::string> lines = ReadFileLines(file);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], "body $-1 $-1 $-1 $-1 #");
    EXPECT_EQ(lines[4], "End-of-ACIS-data");
}

TEST(QelSatWrStandin, HeaderCarriesTheLastSavedVersion)
{
    CScratchFolder folder;
    SatWriter writer;
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("v.sat");
    writer.SaveVersion(4, 0);
    writer.SaveVersion(7, 1);
    ASSERT_EQ(writer.CreateSatFile(part.data(), file.c_str()), 1);
    std::vector<std::string> lines = ReadFileLines(file);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "701 0 1 0");
    EXPECT_EQ(lines[1].substr(0, 37), "@17 QelSatWr stand-in @11 ACIS 7.1 NT");
}

TEST(QelSatWrStandin, CreateSatFileWithoutSaveVersionReturnsZeroAndWritesNothing)
{
    CScratchFolder folder;
    SatWriter writer;
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("never.sat");
    EXPECT_EQ(writer.CreateSatFile(part.data(), file.c_str()), 0);
    EXPECT_FALSE(FileExists(file));
}

TEST(QelSatWrStandin, RefusedVersionLeavesNoVersionToWriteWith)
{
    CScratchFolder folder;
    SatWriter writer;
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("never.sat");
    EXPECT_EQ(writer.SaveVersion(0, 0), 0);
    EXPECT_EQ(writer.SaveVersion(4, 100), 0);
    EXPECT_EQ(writer.CreateSatFile(part.data(), file.c_str()), 0);
    EXPECT_FALSE(FileExists(file));
}

TEST(QelSatWrStandin, VersionIsForgottenWhenTheLibraryIsUnloaded)
{
    CScratchFolder folder;
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("never.sat");
    {
        SatWriter first;
        ASSERT_EQ(first.SaveVersion(4, 0), 1);
    }
    SatWriter second;
    EXPECT_EQ(second.CreateSatFile(part.data(), file.c_str()), 0);
    EXPECT_FALSE(FileExists(file));
}

struct RefusedPartCase
{
    const char* title;
    std::function<Bytes()> part; // empty result: a null block
};

class QelSatWrStandinRefusal : public testing::TestWithParam<RefusedPartCase>
{
};

// Every block is handed over in a buffer of exactly its own bytes.
TEST_P(QelSatWrStandinRefusal, ReturnsZeroAndWritesNoFile)
{
    CScratchFolder folder;
    SatWriter writer;
    ASSERT_EQ(writer.SaveVersion(4, 0), 1);
    Bytes part = GetParam().part();
    std::string file = folder.PathOf("refused.sat");
    EXPECT_EQ(writer.CreateSatFile(part.empty() ? nullptr : part.data(), file.c_str()), 0);
    EXPECT_FALSE(FileExists(file));
}

namespace
{

Bytes Spoiled(const std::function<void(CPartBlockBuilder&)>& spoil)
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Norm", "DIN 933");
    builder.AddAttribute("Class", "8.8");
    spoil(builder);
    return builder.Build();
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Blocks, QelSatWrStandinRefusal,
    testing::Values(
        RefusedPartCase{"NullBlock", [] { return Bytes(); }},
        RefusedPartCase{"TruncatedBlock",
                        []
                        {
                            return Spoiled(
                                [](CPartBlockBuilder& b)
                                {
                                    b.OverrideTotalSize(70);
                                    b.TruncateTo(70);
                                });
                        }},
        RefusedPartCase{"ItemCountBeyondBlock", []
                        { return Spoiled([](CPartBlockBuilder& b) { b.OverrideItemCount(4); }); }},
        RefusedPartCase{"PayloadLengthBeyondBlock",
                        []
                        {
                            return Spoiled(
                                [](CPartBlockBuilder& b)
                                {
                                    b.OverrideNextPayloadLength(0x7FFFFFFF);
                                    b.AddItem(500, {1});
                                });
                        }},
        RefusedPartCase{"TotalSizeZero", []
                        { return Spoiled([](CPartBlockBuilder& b) { b.OverrideTotalSize(0); }); }},
        RefusedPartCase{
            "UnknownFormatWord",
            [] { return Spoiled([](CPartBlockBuilder& b) { b.SetFormatWords(0, 3, 54, 12); }); }},
        RefusedPartCase{"LyingTextLength",
                        []
                        {
                            return Spoiled(
                                [](CPartBlockBuilder& b)
                                { b.AddItem(303, AttributePayload("Name", "Value", 4, 3000)); });
                        }}),
    [](const testing::TestParamInfo<RefusedPartCase>& info) { return info.param.title; });

TEST(QelSatWrStandin, RefusesMissingOrEmptyFileNameAndUnwritablePath)
{
    CScratchFolder folder;
    SatWriter writer;
    writer.SaveVersion(4, 0);
    Bytes part = ThreeAttributePart();
    EXPECT_EQ(writer.CreateSatFile(part.data(), nullptr), 0);
    EXPECT_EQ(writer.CreateSatFile(part.data(), ""), 0);
    std::string inMissingFolder = folder.PathOf("no such folder\\bolt.sat");
    EXPECT_EQ(writer.CreateSatFile(part.data(), inMissingFolder.c_str()), 0);
    EXPECT_FALSE(FileExists(inMissingFolder));
}

TEST(QelSatWrStandin, SaveVersionZeroVariantRefusesVersionAndFile)
{
    CScratchFolder folder;
    SatWriter writer("variants\\qelsatwr-saveversion-zero\\QelSatWr.dll");
    ASSERT_TRUE(writer.Loaded());
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("never.sat");
    EXPECT_EQ(writer.SaveVersion(4, 0), 0);
    EXPECT_EQ(writer.CreateSatFile(part.data(), file.c_str()), 0);
    EXPECT_FALSE(FileExists(file));
}

TEST(QelSatWrStandinLog, JournalsLoadCallsAndRelease)
{
    CScratchFolder folder;
    CScopedEnvironmentVariable log("QEL_STANDIN_LOG", folder.PathOf("log.txt"));
    Bytes part = ThreeAttributePart();
    std::string file = folder.PathOf("bolt.sat");
    {
        SatWriter writer;
        ASSERT_TRUE(writer.Loaded());
        writer.CreateSatFile(part.data(), file.c_str());
        writer.SaveVersion(4, 0);
        writer.CreateSatFile(part.data(), file.c_str());
        writer.CreateSatFile(nullptr, nullptr);
    }
    const std::vector<std::string> expected = {
        "QelSatWr.dll attach",
        "QelSatWr.dll CreateSatFile " + file + " -> 0",
        "QelSatWr.dll SaveVersion 4 0 -> 1",
        "QelSatWr.dll CreateSatFile " + file + " -> 1",
        "QelSatWr.dll CreateSatFile (null) -> 0",
        "QelSatWr.dll detach",
    };
    EXPECT_EQ(ReadFileLines(folder.PathOf("log.txt")), expected);
}

TEST(QelSatWrStandinLog, VariantsJournalUnderTheSameLibraryName)
{
    CScratchFolder folder;
    CScopedEnvironmentVariable log("QEL_STANDIN_LOG", folder.PathOf("log.txt"));
    {
        SatWriter writer("variants\\qelsatwr-saveversion-zero\\QelSatWr.dll");
        ASSERT_TRUE(writer.Loaded());
        writer.SaveVersion(4, 0);
    }
    const std::vector<std::string> expected = {
        "QelSatWr.dll attach", "QelSatWr.dll SaveVersion 4 0 -> 0", "QelSatWr.dll detach"};
    EXPECT_EQ(ReadFileLines(folder.PathOf("log.txt")), expected);
}

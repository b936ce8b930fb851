// The stand-in host main library: environment store, recorded file creations,
// fixed answers and its journal.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/ScopedEnvironmentVariable.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestFiles.h"
#include "tools/qelhost/LoadedModule.h"

using namespace qel::test;

namespace
{

using SetFunction = int(__stdcall*)(const char*, const char*);
using GetFunction = int(__stdcall*)(const char*, char*, int);
using TwoArgFunction = int(__stdcall*)(int, int);
using ThreeArgFunction = int(__stdcall*)(int, int, int);
using FourArgFunction = int(__stdcall*)(int, int, int, int);
using StepFunction = int(__stdcall*)(int, const char*, int);
using NoArgFunction = int(__stdcall*)();

const char kLastCall[] = "QEL_STANDIN_LAST_CALL";
const char kOneBody[] = "QEL_3D_FORCE_ONE_BODY_IN_SAT";

class QelMainStandin : public testing::Test
{
protected:
    void SetUp() override
    {
        m_module = CLoadedModule(LoadLibraryA((BinFolder() + "\\QelMain.dll").c_str()));
        ASSERT_TRUE(m_module);
    }

    template <typename Function> Function Get(const char* name)
    {
        FARPROC address = GetProcAddress(m_module.Get(), name);
        EXPECT_NE(address, nullptr) << name;
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    }

    int Set(const char* key, const char* value)
    {
        return Get<SetFunction>("QelEnvironment_Set")(key, value);
    }

    // The value of key, or "<missing>" when the library does not know it.
    std::string Value(const char* key)
    {
        char buffer[512] = {};
        int found = Get<GetFunction>("QelEnvironment_Get")(key, buffer, sizeof buffer);
        return found ? std::string(buffer) : std::string("<missing>");
    }

    CLoadedModule m_module;
};

} // namespace

TEST_F(QelMainStandin, SetThenGetReturnsTheValue)
{
    EXPECT_EQ(Set("QEL_3D_PREVIEW_SET_TEMPLATE", "-1"), 1);
    EXPECT_EQ(Value("QEL_3D_PREVIEW_SET_TEMPLATE"), "-1");
    EXPECT_EQ(Set("QEL_3D_PREVIEW_SET_TEMPLATE", ""), 1);
    EXPECT_EQ(Value("QEL_3D_PREVIEW_SET_TEMPLATE"), "");
}

TEST_F(QelMainStandin, GetOfUnknownKeyReturnsZeroAndLeavesBufferUntouched)
{
    char buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(Get<GetFunction>("QelEnvironment_Get")("NEVER_SET", buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(10, '#'));
}

TEST_F(QelMainStandin, GetCopiesAtMostSizeMinusOneCharacters)
{
    Set("K", "abcdef");
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(Get<GetFunction>("QelEnvironment_Get")("K", buffer, 4), 1);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("abc\0####", 8));
}

TEST_F(QelMainStandin, StoreLivesAsLongAsTheLibraryStaysLoaded)
{
    Set("K", "v");
    m_module = CLoadedModule(LoadLibraryA((BinFolder() + "\\QelMain.dll").c_str()));
    EXPECT_EQ(Value("K"), "v") << "a second reference keeps the library and its store";

    CLoadedModule second(LoadLibraryA((BinFolder() + "\\QelMain.dll").c_str()));
    m_module = CLoadedModule();
    second = CLoadedModule();
    m_module = CLoadedModule(LoadLibraryA((BinFolder() + "\\QelMain.dll").c_str()));
    EXPECT_EQ(Value("K"), "<missing>") << "unloaded and loaded again: a fresh store";
}

struct FileCreationCase
{
    const char* name;
    int argumentCount;
};

class QelMainStandinFileCreation : public QelMainStandin,
                                   public testing::WithParamInterface<FileCreationCase>
{
protected:
    int Call(const FileCreationCase& c)
    {
        switch (c.argumentCount)
        {
        case 2:
            return Get<TwoArgFunction>(c.name)(1, 2);
        case 4:
            return Get<FourArgFunction>(c.name)(1, 2, 3, 4);
        default:
            ADD_FAILURE() << "no caller for " << c.argumentCount << " arguments";
            return -1;
        }
    }
};

TEST_P(QelMainStandinFileCreation, RecordsOneBodySettingAtTheMomentOfTheCall)
{
    const FileCreationCase& c = GetParam();
    Set(kOneBody, "1");
    EXPECT_EQ(Call(c), 1);
    EXPECT_EQ(Value(kLastCall), std::string(c.name) + " ONE_BODY=1");

    Set(kOneBody, "");
    EXPECT_EQ(Call(c), 1);
    EXPECT_EQ(Value(kLastCall), std::string(c.name) + " ONE_BODY=");
}

INSTANTIATE_TEST_SUITE_P(Functions, QelMainStandinFileCreation,
                         testing::Values(FileCreationCase{"QelCreateFile_Sat", 4},
                                         FileCreationCase{"QelCreateFile_Iges", 2},
                                         FileCreationCase{"QelCreateFile_VdaFs", 2},
                                         FileCreationCase{"QelCreateFile_Dxf3d", 2},
                                         FileCreationCase{"QelCreateFile_Jpg", 4},
                                         FileCreationCase{"QelCreateFile_Bmp", 4},
                                         FileCreationCase{"QelCreateFile_Tif", 4},
                                         FileCreationCase{"QelCreateFile_Pcx", 4},
                                         FileCreationCase{"QelCreateFile_Png", 4}),
                         [](const testing::TestParamInfo<FileCreationCase>& info)
                         { return std::string(info.param.name); });

TEST_F(QelMainStandin, StepRecordsProtocolAndOneBodySetting)
{
    Set(kOneBody, "0");
    EXPECT_EQ(Get<StepFunction>("QelCreateFile_Step")(1, "AP214", 3), 1);
    EXPECT_EQ(Value(kLastCall), "QelCreateFile_Step ONE_BODY=0 PROTOCOL=AP214");
    EXPECT_EQ(Get<StepFunction>("QelCreateFile_Step")(1, nullptr, 3), 1);
    EXPECT_EQ(Value(kLastCall), "QelCreateFile_Step ONE_BODY=0 PROTOCOL=(null)");
}

TEST_F(QelMainStandin, FileCreationBeforeAnySettingRecordsEmptyOneBody)
{
    EXPECT_EQ(Value(kLastCall), "<missing>");
    Get<TwoArgFunction>("QelCreateFile_Iges")(0, 0);
    EXPECT_EQ(Value(kLastCall), "QelCreateFile_Iges ONE_BODY=");
}

TEST_F(QelMainStandin, PreviewAndNotificationFunctionsGiveFixedAnswers)
{
    EXPECT_EQ(Get<TwoArgFunction>("QelPreView2D_SetBkColor")(0xFFFFFF, 0), 1);
    EXPECT_EQ(Get<TwoArgFunction>("QelPreView3D_SetBkColor")(0xFFFFFF, 0), 1);
    EXPECT_EQ(Get<ThreeArgFunction>("QelPreView3D_SetBkColorFromTo")(0, 0xFFFFFF, 0), 1);
    EXPECT_EQ(Get<NoArgFunction>("QelVar_OnChange_GetWhat")(), 0);
    EXPECT_EQ(Get<NoArgFunction>("QelVar_OnChange_GetFlag")(), 0);
    EXPECT_EQ(Get<NoArgFunction>("QelVar_OnChange_GetHWnd")(), 0);
}

TEST(QelMainStandinLog, JournalsLoadCallsAndRelease)
{
    CScratchFolder folder;
    CScopedEnvironmentVariable log("QEL_STANDIN_LOG", folder.PathOf("log.txt"));
    {
        CLoadedModule module(LoadLibraryA((BinFolder() + "\\QelMain.dll").c_str()));
        ASSERT_TRUE(module);
        auto set = reinterpret_cast<SetFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(module.Get(), "QelEnvironment_Set")));
        auto get = reinterpret_cast<GetFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(module.Get(), "QelEnvironment_Get")));
        auto step = reinterpret_cast<StepFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(module.Get(), "QelCreateFile_Step")));
        char buffer[10] = {};
        set("QEL_3D_FORCE_ONE_BODY_IN_SAT", "1");
        get("QEL_3D_FORCE_ONE_BODY_IN_SAT", buffer, sizeof buffer);
        get("UNKNOWN", buffer, sizeof buffer);
        step(5, "AP203", -7);
    }
    const std::vector<std::string> expected = {
        "QelMain.dll attach",
        "QelMain.dll QelEnvironment_Set QEL_3D_FORCE_ONE_BODY_IN_SAT 1 -> 1",
        "QelMain.dll QelEnvironment_Get QEL_3D_FORCE_ONE_BODY_IN_SAT 10 -> 1",
        "QelMain.dll QelEnvironment_Get UNKNOWN 10 -> 0",
        "QelMain.dll QelCreateFile_Step 5 AP203 -7 -> 1",
        "QelMain.dll detach",
    };
    EXPECT_EQ(ReadFileLines(folder.PathOf("log.txt")), expected);
}

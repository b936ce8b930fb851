// The export tables of the stand-in libraries and their variants: plain
// undecorated names, exactly the functions the plug-in resolves, and the
// variants truly without the function they are meant to lack.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/ExportTable.h"
#include "tests/support/TestFiles.h"
#include "tools/qelhost/LoadedModule.h"

using qel::test::BinFolder;
using qel::test::CLoadedModule;
using qel::test::ExportedNames;

namespace
{

const std::vector<std::string> kMainLibraryFunctions = {
    "QelEnvironment_Set",      "QelEnvironment_Get",      "QelCreateFile_Sat",
    "QelCreateFile_Iges",      "QelCreateFile_VdaFs",     "QelCreateFile_Dxf3d",
    "QelCreateFile_Step",      "QelCreateFile_Jpg",       "QelCreateFile_Bmp",
    "QelCreateFile_Tif",       "QelCreateFile_Pcx",       "QelCreateFile_Png",
    "QelPreView2D_SetBkColor", "QelPreView3D_SetBkColor", "QelPreView3D_SetBkColorFromTo",
    "QelVar_OnChange_GetWhat", "QelVar_OnChange_GetFlag", "QelVar_OnChange_GetHWnd",
};

const std::vector<std::string> kSatWriterFunctions = {"QelSatWriter_SaveVersion",
                                                      "QelSatWriter_CreateSatFile"};

std::vector<std::string> AllBut(std::vector<std::string> names, const std::string& missing)
{
    names.erase(std::remove(names.begin(), names.end(), missing), names.end());
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

struct ExportCase
{
    const char* title;
    const char* file; // below the bin folder
    std::vector<std::string> exported;
    std::string missing; // resolvable nowhere, or empty
};

class StandinExports : public testing::TestWithParam<ExportCase>
{
};

} // namespace

TEST_P(StandinExports, ExportExactlyTheExpectedPlainNames)
{
    const ExportCase& c = GetParam();
    CLoadedModule module(LoadLibraryA((BinFolder() + "\\" + c.file).c_str()));
    ASSERT_TRUE(module) << c.file << " error " << GetLastError();

    EXPECT_EQ(ExportedNames(module.Get()), Sorted(c.exported));
    for (const std::string& name : c.exported)
        EXPECT_NE(GetProcAddress(module.Get(), name.c_str()), nullptr) << name;
    if (!c.missing.empty())
    {
        EXPECT_EQ(GetProcAddress(module.Get(), c.missing.c_str()), nullptr) << c.missing;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, StandinExports,
    testing::Values(ExportCase{"QelMain", "QelMain.dll", kMainLibraryFunctions, ""},
                    ExportCase{"QelMainNoGetHWnd", "variants\\qelmain-no-gethwnd\\QelMain.dll",
                               AllBut(kMainLibraryFunctions, "QelVar_OnChange_GetHWnd"),
                               "QelVar_OnChange_GetHWnd"},
                    ExportCase{"QelSatWr", "QelSatWr.dll", kSatWriterFunctions, ""},
                    ExportCase{"QelSatWrSaveVersionZero",
                               "variants\\qelsatwr-saveversion-zero\\QelSatWr.dll",
                               kSatWriterFunctions, ""},
                    ExportCase{"QelSatWrNoCreateSatFile",
                               "variants\\qelsatwr-no-createsatfile\\QelSatWr.dll",
                               AllBut(kSatWriterFunctions, "QelSatWriter_CreateSatFile"),
                               "QelSatWriter_CreateSatFile"}),
    [](const testing::TestParamInfo<ExportCase>& info) { return info.param.title; });

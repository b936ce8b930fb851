// The SAT writer and converter bindings against the stand-in QelSatWr.dll, its
// faulty variants and the tests' own morphkit.dll.
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "bindings/BoundCall.h"
#include "bindings/ConverterBinding.h"
#include "bindings/LibrarySearch.h"
#include "bindings/SatWriterBinding.h"
#include "tests/bindings/BindingTestSupport.h"
#include "tools/partblock/PartBlockBuilder.h"

namespace
{

using qel::CConverterBinding;
using qel::CSatWriterBinding;
using qel::test::CScratchFolder;
using qel::test::CStandinJournal;
using qel::test::IsModuleLoaded;
using qel::test::LoadError;
using qel::test::RunsLaidOutWith;
using qel::test::SystemIsGerman;
using qel::test::VariantFolder;
using Lines = std::vector<std::string>;

std::string ReadFile(const std::string& name)
{
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(SatWriterBindingTest, WrappersForwardToSatWriterAndReturnItsResults)
{
    CStandinJournal journal;
    CScratchFolder folder;
    const std::string satFile = folder.PathOf("bolt.sat");
    qel::test::CPartBlockBuilder part;
    part.AddAttribute("NB", "Bolt M8x40");
    const std::vector<uint8_t> block = part.Build();
    {
        CSatWriterBinding binding;
        EXPECT_STREQ(binding.GetLibraryName(), "QelSatWr.dll");
        EXPECT_EQ(binding.SaveVersion(4, 0), 1);
        EXPECT_EQ(CSatWriterBinding::GetLoadCount(), 1);
        EXPECT_EQ(binding.CreateSatFile(block.data(), satFile.c_str()), 1);
        EXPECT_EQ(binding.CreateSatFile(nullptr, satFile.c_str()), 0);
    }
    EXPECT_EQ(CSatWriterBinding::GetLoadCount(), 0);
    EXPECT_FALSE(IsModuleLoaded("QelSatWr.dll"));
    EXPECT_EQ(journal.Lines(), (Lines{
                                   "QelSatWr.dll attach",
                                   "QelSatWr.dll SaveVersion 4 0 -> 1",
                                   "QelSatWr.dll CreateSatFile " + satFile + " -> 1",
                                   "QelSatWr.dll CreateSatFile " + satFile + " -> 0",
                                   "QelSatWr.dll detach",
                               }));
    EXPECT_NE(ReadFile(satFile).find("Bolt M8x40"), std::string::npos);
}

TEST(SatWriterBindingTest, RefusedVersionIsPassedThrough)
{
    if (!RunsLaidOutWith({VariantFolder("qelsatwr-saveversion-zero") + "\\QelSatWr.dll"}))
        return;
    CSatWriterBinding binding;
    EXPECT_EQ(binding.SaveVersion(4, 0), 0);
}

TEST(SatWriterBindingTest, MissingCreateSatFileNamesItAndTheLibrary)
{
    if (!RunsLaidOutWith({VariantFolder("qelsatwr-no-createsatfile") + "\\QelSatWr.dll"}))
        return;
    {
        CSatWriterBinding binding;
        EXPECT_EQ(LoadError(binding),
                  SystemIsGerman() ? "Funktion \"QelSatWriter_CreateSatFile\" in Dll "
                                     "\"QelSatWr.dll\" konnte nicht geladen werden !"
                                   : "Error loading function \"QelSatWriter_CreateSatFile\" in "
                                     "dll \"QelSatWr.dll\" !");
        EXPECT_EQ(CSatWriterBinding::GetLoadCount(), 1);
    }
    EXPECT_EQ(CSatWriterBinding::GetLoadCount(), 0);
    EXPECT_FALSE(IsModuleLoaded("QelSatWr.dll"));
}

TEST(SatWriterBindingTest, MissingLibraryNamesSatWriter)
{
    if (!RunsLaidOutWith({}))
        return;
    CSatWriterBinding binding;
    EXPECT_EQ(qel::test::ErrorTextOf([&binding] { binding.SaveVersion(4, 0); }),
              SystemIsGerman() ? "Fehler beim Laden der Dll \"QelSatWr.dll\" !\n\nFehlercode: 126"
                               : "Error loading dll \"QelSatWr.dll\" !\n\nError code: 126");
}

TEST(SatWriterBindingTest, WithoutRestrictedSearch_DependencyOnlyInTheCurrentDirectoryIsNotLoaded)
{
    if (!RunsLaidOutWith({VariantFolder("qelsatwr-with-dependency") + "\\QelSatWr.dll"}))
        return;
    CScratchFolder planted;
    qel::test::CopyFileOrFail(qel::test::BuildBinFolder() + "\\qeldep.dll",
                              planted.PathOf("qeldep.dll"));
    const qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(planted.Path().c_str()));
    qel::ForceAlteredSearchPathForTests(true);
    CSatWriterBinding binding;
    EXPECT_NE(LoadError(binding), "(no error)");
    // Loads of two threads at once leave the current directory where it was.
    auto load = []
    {
        for (int i = 0; i < 300; ++i)
            LoadError(*std::make_unique<CSatWriterBinding>());
    };
    std::thread other(load);
    load();
    other.join();
    char now[MAX_PATH] = {};
    EXPECT_EQ(planted.Path(), (GetCurrentDirectoryA(MAX_PATH, now), std::string(now)));
}

extern "C" __attribute__((naked)) int __stdcall OfMoreParametersWritingThem()
{
    asm volatile("movl $0, 12(%esp)\n\tmovl $0, 16(%esp)\n\tmovl $0, 20(%esp)\n\tret $20\n\t");
}
TEST(SatWriterBindingTest, CalleeOfMoreParameters_ReturnsAndIsReported)
{
    const std::intptr_t args[] = {4, 0};
    int result = 0; // the program lives on
    EXPECT_FALSE(qel::CallKeepingStack(reinterpret_cast<FARPROC>(&OfMoreParametersWritingThem),
                                       args, 2, result));
}

TEST(SatWriterBindingTest, CdeclBuild_IsTheLibrarysFailureNamingTheFunction)
{
    if (!RunsLaidOutWith({VariantFolder("qelsatwr-cdecl") + "\\QelSatWr.dll"}))
        return;
    CSatWriterBinding binding; // the call returns, and this program lives on
    const std::string error = qel::test::ErrorTextOf([&binding] { binding.SaveVersion(4, 0); });
    EXPECT_NE(error.find("\"QelSatWriter_SaveVersion\" "), std::string::npos) << error;
}

TEST(ConverterBindingTest, AbsentLibraryIsReportedOnlyWhenUsed)
{
    // The build's program folder holds no morphkit.dll.
    CConverterBinding binding;
    EXPECT_FALSE(binding.IsLoaded());
    EXPECT_EQ(LoadError(binding),
              SystemIsGerman() ? "Fehler beim Laden der Dll \"morphkit.dll\" !\n\nFehlercode: 126"
                               : "Error loading dll \"morphkit.dll\" !\n\nError code: 126");
    EXPECT_EQ(CConverterBinding::GetLoadCount(), 0);
}

struct SConverterCase
{
    const char* name;
    std::function<int(CConverterBinding&)> call;
    int expected;
};

class ConverterBindingTest : public testing::TestWithParam<SConverterCase>
{
};

TEST_P(ConverterBindingTest, WrapperCallsItsFunctionWithArgumentsInOrder)
{
    if (!RunsLaidOutWith({VariantFolder("bindings-morphkit-probe") + "\\morphkit.dll"}))
        return;
    CConverterBinding binding;
    EXPECT_EQ(GetParam().call(binding), GetParam().expected);
    EXPECT_EQ(CConverterBinding::GetLoadCount(), 1);
}

const SConverterCase kConverterCases[] = {
    {"Sat2Vrml", [](CConverterBinding& b) { return b.Sat2Vrml(1, 2); }, 10012},
    {"Sat2VrmlUseSettings", [](CConverterBinding& b) { return b.Sat2VrmlUseSettings(1, 2, 3, 4); },
     21234},
    {"Sat2Dxf", [](CConverterBinding& b) { return b.Sat2Dxf(1, 2); }, 30012},
    {"Sat2DxfUseSettings", [](CConverterBinding& b) { return b.Sat2DxfUseSettings(1, 2, 3); },
     40123},
    {"Sat2Step", [](CConverterBinding& b) { return b.Sat2Step(1, 2, 3); }, 50123},
    {"Sat2IgesSetMsbo", [](CConverterBinding& b) { return b.Sat2IgesSetMsbo(1, 2, 3); }, 60123},
    {"Sat2IgesCatia5", [](CConverterBinding& b) { return b.Sat2IgesCatia5(1, 2); }, 70012},
    {"Sat2VdaFs", [](CConverterBinding& b) { return b.Sat2VdaFs(1, 2); }, 80012},
    {"Step2Sat", [](CConverterBinding& b) { return b.Step2Sat(1, 2); }, 90012},
    {"Sat2Sat", [](CConverterBinding& b) { return b.Sat2Sat(1, 2, 3, 4); }, 101234},
    {"Sat2SatMm", [](CConverterBinding& b) { return b.Sat2SatMm(1, 2); }, 110012},
    {"AcisWithHiddenLines", [](CConverterBinding& b) { return b.AcisWithHiddenLines(1, 2); },
     120012},
    {"AcisNoHiddenLines", [](CConverterBinding& b) { return b.AcisNoHiddenLines(1, 2); }, 130012},
};

INSTANTIATE_TEST_SUITE_P(Wrappers, ConverterBindingTest, testing::ValuesIn(kConverterCases),
                         [](const testing::TestParamInfo<SConverterCase>& info)
                         { return std::string(info.param.name); });

} // namespace

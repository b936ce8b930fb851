// The wrappers of the host main library, checked against the journal and the
// environment store of the stand-in QelMain.dll.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bindings/MainLibraryBinding.h"
#include "tests/bindings/BindingTestSupport.h"

namespace
{

using qel::CMainLibraryBinding;
using qel::test::CStandinJournal;
using Lines = std::vector<std::string>;

const char kOneBodyKey[] = "QEL_3D_FORCE_ONE_BODY_IN_SAT";

// The stored text of key, or "(unset)" when the host has none.
std::string StoredValue(CMainLibraryBinding& binding, const char* key)
{
    char value[256] = "(unset)";
    binding.EnvironmentGet(key, value, sizeof value);
    return value;
}

// The wrapper's call and the journal lines it must leave, with a loaded library.
struct SWrapperCase
{
    const char* name;
    std::function<int(CMainLibraryBinding&)> call;
    int expectedResult;
    Lines expectedJournal;
};

class MainLibraryForwardingTest : public testing::TestWithParam<SWrapperCase>
{
};

TEST_P(MainLibraryForwardingTest, PassesArgumentsInOrderAndReturnsResult)
{
    CStandinJournal journal;
    CMainLibraryBinding binding;
    binding.Load();
    std::size_t before = journal.Lines().size();

    EXPECT_EQ(GetParam().call(binding), GetParam().expectedResult);
    EXPECT_EQ(journal.LinesFrom(before), GetParam().expectedJournal);
}

const SWrapperCase kForwardingCases[] = {
    {"CreateFileSat",
     [](CMainLibraryBinding& b) { return b.CreateFileSat(11, 22, 33, 44); },
     1,
     {"QelMain.dll QelCreateFile_Sat 11 22 33 44 -> 1"}},
    {"CreateFileJpg",
     [](CMainLibraryBinding& b) { return b.CreateFileJpg(11, 22, 33, 44); },
     1,
     {"QelMain.dll QelCreateFile_Jpg 11 22 33 44 -> 1"}},
    {"CreateFileBmp",
     [](CMainLibraryBinding& b) { return b.CreateFileBmp(11, 22, 33, 44); },
     1,
     {"QelMain.dll QelCreateFile_Bmp 11 22 33 44 -> 1"}},
    {"CreateFileTif",
     [](CMainLibraryBinding& b) { return b.CreateFileTif(11, 22, 33, 44); },
     1,
     {"QelMain.dll QelCreateFile_Tif 11 22 33 44 -> 1"}},
    {"CreateFilePcx",
     [](CMainLibraryBinding& b) { return b.CreateFilePcx(11, 22, 33, 44); },
     1,
     {"QelMain.dll QelCreateFile_Pcx 11 22 33 44 -> 1"}},
    {"CreateFilePng",
     [](CMainLibraryBinding& b) { return b.CreateFilePng(-1, 0, 7, 8); },
     1,
     {"QelMain.dll QelCreateFile_Png -1 0 7 8 -> 1"}},
    {"PreView2DSetBkColor",
     [](CMainLibraryBinding& b) { return b.PreView2DSetBkColor(5, 6); },
     1,
     {"QelMain.dll QelPreView2D_SetBkColor 5 6 -> 1"}},
    {"PreView3DSetBkColor",
     [](CMainLibraryBinding& b) { return b.PreView3DSetBkColor(5, 6); },
     1,
     {"QelMain.dll QelPreView3D_SetBkColor 5 6 -> 1"}},
    {"PreView3DSetBkColorFromTo",
     [](CMainLibraryBinding& b) { return b.PreView3DSetBkColorFromTo(5, 6, 7); },
     1,
     {"QelMain.dll QelPreView3D_SetBkColorFromTo 5 6 7 -> 1"}},
    {"OnChangeGetWhat",
     [](CMainLibraryBinding& b) { return b.OnChangeGetWhat(); },
     0,
     {"QelMain.dll QelVar_OnChange_GetWhat -> 0"}},
    {"OnChangeGetFlag",
     [](CMainLibraryBinding& b) { return b.OnChangeGetFlag(); },
     0,
     {"QelMain.dll QelVar_OnChange_GetFlag -> 0"}},
    {"OnChangeGetHWnd",
     [](CMainLibraryBinding& b) { return b.OnChangeGetHWnd(); },
     0,
     {"QelMain.dll QelVar_OnChange_GetHWnd -> 0"}},
    {"EnvironmentSet",
     [](CMainLibraryBinding& b) { return b.EnvironmentSet("K", "v"); },
     1,
     {"QelMain.dll QelEnvironment_Set K v -> 1"}},
    {"EnvironmentGetUnknown",
     [](CMainLibraryBinding& b)
     {
         char buffer[8] = {};
         return b.EnvironmentGet("K", buffer, sizeof buffer);
     },
     0,
     {"QelMain.dll QelEnvironment_Get K 8 -> 0"}},
    // The one-body bracket around a creation: read, force "1", create, put back.
    {"CreateFileIges",
     [](CMainLibraryBinding& b) { return b.CreateFileIges(11, 22); },
     1,
     {"QelMain.dll QelEnvironment_Get QEL_3D_FORCE_ONE_BODY_IN_SAT 255 -> 0",
      "QelMain.dll QelEnvironment_Set QEL_3D_FORCE_ONE_BODY_IN_SAT 1 -> 1",
      "QelMain.dll QelCreateFile_Iges 11 22 -> 1",
      "QelMain.dll QelEnvironment_Set QEL_3D_FORCE_ONE_BODY_IN_SAT  -> 1"}},
    {"CreateFileStepAp214",
     [](CMainLibraryBinding& b) { return b.CreateFileStepAp214(11, 33); },
     1,
     {"QelMain.dll QelEnvironment_Get QEL_3D_FORCE_ONE_BODY_IN_SAT 255 -> 0",
      "QelMain.dll QelEnvironment_Set QEL_3D_FORCE_ONE_BODY_IN_SAT 1 -> 1",
      "QelMain.dll QelCreateFile_Step 11 AP214 33 -> 1",
      "QelMain.dll QelEnvironment_Set QEL_3D_FORCE_ONE_BODY_IN_SAT  -> 1"}},
    {"SetPreviewTemplate",
     [](CMainLibraryBinding& b) { return b.SetPreviewTemplate(-1); },
     1,
     {"QelMain.dll QelEnvironment_Set QEL_3D_PREVIEW_SET_TEMPLATE -1 -> 1"}},
    {"SetShowLineTypes",
     [](CMainLibraryBinding& b) { return b.SetShowLineTypes(7); },
     1,
     {"QelMain.dll QelEnvironment_Set QEL_2D_PREVIEW_SHOW_LINETYPES 1 -> 1"}},
    {"GetShowLineTypes",
     [](CMainLibraryBinding& b) { return b.GetShowLineTypes() ? 1 : 0; },
     0,
     {"QelMain.dll QelEnvironment_Get QEL_2D_PREVIEW_SHOW_LINETYPES 10 -> 0"}},
};

INSTANTIATE_TEST_SUITE_P(Wrappers, MainLibraryForwardingTest, testing::ValuesIn(kForwardingCases),
                         [](const testing::TestParamInfo<SWrapperCase>& info)
                         { return std::string(info.param.name); });

// The one-body bracket: "1" while the creation runs, the earlier text after it.
struct SOneBodyCase
{
    const char* name;
    std::function<int(CMainLibraryBinding&)> create;
    const char* expectedRecord; // what the stand-in recorded of the call
};

class OneBodyBracketTest
    : public testing::TestWithParam<std::tuple<SOneBodyCase, const char* /*earlier value*/>>
{
};

TEST_P(OneBodyBracketTest, ForcesOneBodyDuringCallAndRestoresEarlierValue)
{
    const SOneBodyCase& wrapper = std::get<0>(GetParam());
    const char* earlier = std::get<1>(GetParam());
    CMainLibraryBinding binding;
    if (earlier != nullptr)
        binding.EnvironmentSet(kOneBodyKey, earlier);

    EXPECT_EQ(wrapper.create(binding), 1);

    EXPECT_EQ(StoredValue(binding, "QEL_STANDIN_LAST_CALL"), wrapper.expectedRecord);
    // A key the host did not have comes back empty.
    EXPECT_EQ(StoredValue(binding, kOneBodyKey), earlier != nullptr ? earlier : "");
}

const SOneBodyCase kOneBodyWrappers[] = {
    {"Iges", [](CMainLibraryBinding& b) { return b.CreateFileIges(1, 2); },
     "QelCreateFile_Iges ONE_BODY=1"},
    {"VdaFs", [](CMainLibraryBinding& b) { return b.CreateFileVdaFs(1, 2); },
     "QelCreateFile_VdaFs ONE_BODY=1"},
    {"Dxf3d", [](CMainLibraryBinding& b) { return b.CreateFileDxf3d(1, 2); },
     "QelCreateFile_Dxf3d ONE_BODY=1"},
    {"Step", [](CMainLibraryBinding& b) { return b.CreateFileStep(1, "AP999", 3); },
     "QelCreateFile_Step ONE_BODY=1 PROTOCOL=AP999"},
    {"StepAp203", [](CMainLibraryBinding& b) { return b.CreateFileStepAp203(1, 3); },
     "QelCreateFile_Step ONE_BODY=1 PROTOCOL=AP203"},
    {"StepAp214", [](CMainLibraryBinding& b) { return b.CreateFileStepAp214(1, 3); },
     "QelCreateFile_Step ONE_BODY=1 PROTOCOL=AP214"},
};

const char* const kEarlierValues[] = {nullptr, "", "0", "1", "keep me"};

INSTANTIATE_TEST_SUITE_P(Wrappers, OneBodyBracketTest,
                         testing::Combine(testing::ValuesIn(kOneBodyWrappers),
                                          testing::ValuesIn(kEarlierValues)),
                         [](const testing::TestParamInfo<OneBodyBracketTest::ParamType>& info)
                         {
                             const char* earlier = std::get<1>(info.param);
                             std::string suffix = earlier == nullptr ? "Unset"
                                                  : *earlier == '\0' ? "Empty"
                                                  : earlier[0] == 'k'
                                                      ? "Text"
                                                      : std::string("Digit") + earlier;
                             return std::string(std::get<0>(info.param).name) + "_" + suffix;
                         });

TEST(OneBodyBracketTest, LongEarlierValueIsRestoredUpTo255Characters)
{
    CMainLibraryBinding binding;
    const std::string longValue(300, 'v');
    binding.EnvironmentSet(kOneBodyKey, longValue.c_str());

    binding.CreateFileIges(1, 2);

    EXPECT_EQ(StoredValue(binding, kOneBodyKey), std::string(254, 'v'));
}

struct STemplateCase
{
    int number;
    const char* expected;
};

class PreviewTemplateTest : public testing::TestWithParam<STemplateCase>
{
};

TEST_P(PreviewTemplateTest, WritesNumberAsSignedDecimal)
{
    CMainLibraryBinding binding;
    EXPECT_EQ(binding.SetPreviewTemplate(GetParam().number), 1);
    EXPECT_EQ(StoredValue(binding, "QEL_3D_PREVIEW_SET_TEMPLATE"), GetParam().expected);
}

const STemplateCase kTemplateCases[] = {
    {-1, "-1"}, {0, "0"}, {42, "42"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"},
};

INSTANTIATE_TEST_SUITE_P(Numbers, PreviewTemplateTest, testing::ValuesIn(kTemplateCases));

TEST(ShowLineTypesTest, SetWritesOneForNonZeroAndZeroOtherwise)
{
    CMainLibraryBinding binding;
    binding.SetShowLineTypes(-5);
    EXPECT_EQ(StoredValue(binding, "QEL_2D_PREVIEW_SHOW_LINETYPES"), "1");
    binding.SetShowLineTypes(0);
    EXPECT_EQ(StoredValue(binding, "QEL_2D_PREVIEW_SHOW_LINETYPES"), "0");
}

struct SLineTypesCase
{
    const char* stored; // null: the host has no value
    bool expected;
};

class GetShowLineTypesTest : public testing::TestWithParam<SLineTypesCase>
{
};

TEST_P(GetShowLineTypesTest, ReadsStoredTextAsNumber)
{
    CMainLibraryBinding binding;
    if (GetParam().stored != nullptr)
        binding.EnvironmentSet("QEL_2D_PREVIEW_SHOW_LINETYPES", GetParam().stored);
    EXPECT_EQ(binding.GetShowLineTypes(), GetParam().expected)
        << "stored: " << (GetParam().stored ? GetParam().stored : "(none)");
}

const SLineTypesCase kLineTypesCases[] = {
    {"0", false},           {"1", true},   {"2", true},
    {"x", false},           {"", false},   {" 3", true},
    {"-1", true},           {"00", false}, {nullptr, false},
    {"123456789012", true}, // more than the buffer holds: its first 9 characters count
};

INSTANTIATE_TEST_SUITE_P(Values, GetShowLineTypesTest, testing::ValuesIn(kLineTypesCases));

} // namespace

// Loading, counting, releasing and the error texts of the library bindings,
// and the folders the maker's libraries are loaded from.
#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "bindings/LibrarySearch.h"
#include "bindings/MainLibraryBinding.h"
#include "bindings/SatWriterBinding.h"
#include "common/WinOwners.h"
#include "tests/bindings/BindingTestSupport.h"

namespace
{

using qel::CMainLibraryBinding;
using qel::test::BinFolder;
using qel::test::BuildBinFolder;
using qel::test::CScratchFolder;
using qel::test::CStandinJournal;
using qel::test::IsModuleLoaded;
using qel::test::LoadError;
using qel::test::RunsLaidOutWith;
using qel::test::SystemIsGerman;
using qel::test::VariantFolder;

const char kMainMissingEnglish[] = "Error loading dll \"QelMain.dll\" !\n\nError code: 126";
const char kMainMissingGerman[] = "Fehler beim Laden der Dll \"QelMain.dll\" !\n\nFehlercode: 126";
const char kMainMissingFrench[] =
    "Erreur de chargement de la DLL \"QelMain.dll\".\n\nCode erreur: 126";
const char kGetHWndMissingEnglish[] =
    "Error loading function \"QelVar_OnChange_GetHWnd\" in dll \"QelMain.dll\" !";
const char kGetHWndMissingGerman[] =
    "Funktion \"QelVar_OnChange_GetHWnd\" in Dll \"QelMain.dll\" konnte nicht geladen werden !";

std::string SystemText(const char* english, const char* german)
{
    return SystemIsGerman() ? german : english;
}

// A binding of the tests' own: any file name, one function of QelMain.dll.
class CProbeBinding : public qel::CLibraryBinding
{
public:
    explicit CProbeBinding(const char* fileName)
        : CLibraryBinding(fileName, s_nLoadCount), m_functions{{{"QelEnvironment_Set", nullptr}}}
    {
    }
    bool Load() override
    {
        LoadFunctions(m_functions.data(), m_functions.size());
        return true;
    }

    static int s_nLoadCount;

private:
    std::array<SFunction, 1> m_functions;
};

int CProbeBinding::s_nLoadCount = 0;

TEST(BindingLocaleTest, SystemLanguageFollowsTheTestLocale)
{
    const char* locale = std::getenv("LC_ALL");
    ASSERT_NE(locale, nullptr);
    EXPECT_EQ(SystemIsGerman(), std::string(locale).rfind("de_", 0) == 0) << locale;
}

TEST(LibraryBindingTest, ConstructionLoadsNothing)
{
    CStandinJournal journal;
    {
        CMainLibraryBinding binding;
        EXPECT_FALSE(binding.IsLoaded());
        EXPECT_STREQ(binding.GetLibraryName(), "QelMain.dll");
        EXPECT_EQ(binding.GetMessageLanguage(), 0);
        EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 0);
    }
    EXPECT_TRUE(journal.Lines().empty());
    EXPECT_FALSE(IsModuleLoaded("QelMain.dll"));
}

TEST(LibraryBindingTest, MissingLibrary_ThrowsLibraryTextWithCode126)
{
    if (!RunsLaidOutWith({}))
        return;
    CMainLibraryBinding binding;

    EXPECT_EQ(LoadError(binding), SystemText(kMainMissingEnglish, kMainMissingGerman));
    EXPECT_FALSE(binding.IsLoaded());
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 0);
}

TEST(LibraryBindingTest, MissingFunction_NamesItAndTheLibraryAndKeepsLibraryUntilDestroyed)
{
    if (!RunsLaidOutWith({VariantFolder("qelmain-no-gethwnd") + "\\QelMain.dll"}))
        return;
    {
        CMainLibraryBinding binding;
        EXPECT_EQ(LoadError(binding), SystemText(kGetHWndMissingEnglish, kGetHWndMissingGerman));
        EXPECT_TRUE(binding.IsLoaded());
        EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 1);
        EXPECT_TRUE(IsModuleLoaded("QelMain.dll"));

        // Still unusable on a second try, and not counted twice.
        EXPECT_EQ(LoadError(binding), SystemText(kGetHWndMissingEnglish, kGetHWndMissingGerman));
        EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 1);
    }
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 0);
    EXPECT_FALSE(IsModuleLoaded("QelMain.dll"));
}

TEST(LibraryBindingTest, MissingFunction_StopsWrapperBeforeAnyCall)
{
    if (!RunsLaidOutWith({VariantFolder("qelmain-no-gethwnd") + "\\QelMain.dll"}))
        return;
    CStandinJournal journal;
    CMainLibraryBinding binding;

    std::string error = qel::test::ErrorTextOf([&binding] { binding.EnvironmentSet("A", "1"); });

    EXPECT_EQ(error, SystemText(kGetHWndMissingEnglish, kGetHWndMissingGerman));
    EXPECT_EQ(journal.Lines(), std::vector<std::string>{"QelMain.dll attach"});
}

TEST(LibraryBindingTest, TwoWrapperCallsLoadOnceAndDestructionReleases)
{
    CStandinJournal journal;
    {
        CMainLibraryBinding binding;
        EXPECT_EQ(binding.EnvironmentSet("QEL_TEST", "1"), 1);
        EXPECT_EQ(binding.OnChangeGetWhat(), 0);
        EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 1);
        EXPECT_EQ(journal.Count("QelMain.dll attach"), 1u);
    }
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 0);
    EXPECT_EQ(journal.Count("QelMain.dll detach"), 1u);
    EXPECT_FALSE(IsModuleLoaded("QelMain.dll"));
}

TEST(LibraryBindingTest, TwoLoadedObjectsEachReleaseTheirOwnReference)
{
    CStandinJournal journal;
    auto first = std::make_unique<CMainLibraryBinding>();
    auto second = std::make_unique<CMainLibraryBinding>();
    first->Load();
    second->Load();
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 2);

    first.reset();
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 1);
    EXPECT_TRUE(IsModuleLoaded("QelMain.dll"));
    EXPECT_EQ(second->EnvironmentSet("QEL_TEST", "still there"), 1);

    second.reset();
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 0);
    EXPECT_FALSE(IsModuleLoaded("QelMain.dll"));
    EXPECT_EQ(journal.Count("QelMain.dll detach"), 1u);
}

TEST(LibraryBindingTest, DestroyingUnloadedBindingChangesNothing)
{
    CMainLibraryBinding loaded;
    loaded.Load();
    {
        CMainLibraryBinding unused;
    }
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 1);
    EXPECT_TRUE(IsModuleLoaded("QelMain.dll"));
    EXPECT_EQ(loaded.OnChangeGetFlag(), 0);
}

TEST(LibraryBindingTest, LoadCountersBelongToOneClassEach)
{
    CMainLibraryBinding main;
    main.Load();
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 1);
    EXPECT_EQ(qel::CSatWriterBinding::GetLoadCount(), 0);
    EXPECT_EQ(CProbeBinding::s_nLoadCount, 0);
}

TEST(LibraryBindingTest, LongNameIsCutTo259CharactersAndMessageUsesCutName)
{
    const std::string longName(300, 'q');
    const std::string cutName(259, 'q');
    CProbeBinding binding(longName.c_str());

    EXPECT_EQ(binding.GetLibraryName(), cutName);
    const std::string expected =
        SystemIsGerman() ? "Fehler beim Laden der Dll \"" + cutName + "\" !\n\nFehlercode: 126"
                         : "Error loading dll \"" + cutName + "\" !\n\nError code: 126";
    EXPECT_EQ(LoadError(binding), expected);
    EXPECT_EQ(CProbeBinding::s_nLoadCount, 0);
}

TEST(LibraryBindingTest, NullNameGivesEmptyNameAndMissingLibrary)
{
    CProbeBinding binding(nullptr);
    EXPECT_STREQ(binding.GetLibraryName(), "");
    EXPECT_EQ(LoadError(binding),
              SystemText("Error loading dll \"\" !\n\nError code: 126",
                         "Fehler beim Laden der Dll \"\" !\n\nFehlercode: 126"));
}

TEST(LibraryBindingTest, BrokenLibraryReportsItsOwnLoadError)
{
    if (!RunsLaidOutWith({}))
        return;
    {
        HANDLE file = CreateFileA((BinFolder() + "\\QelMain.dll").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        qel::CHandle owner(file);
        DWORD written = 0;
        WriteFile(file, "not a library", 13, &written, nullptr);
    }
    CMainLibraryBinding binding;

    EXPECT_EQ(LoadError(binding),
              SystemText("Error loading dll \"QelMain.dll\" !\n\nError code: 193",
                         "Fehler beim Laden der Dll \"QelMain.dll\" !\n\nFehlercode: 193"));
    EXPECT_EQ(CMainLibraryBinding::GetLoadCount(), 0);
}

// Message language by code: 0 German when the system is German, else English.
enum class ELanguage
{
    English,
    German,
    French,
    System
};

struct SMessageLanguageCase
{
    int code;
    ELanguage language;
};

class MessageLanguageTest : public testing::TestWithParam<SMessageLanguageCase>
{
};

TEST_P(MessageLanguageTest, CodeChoosesCatalogueOfLibraryText)
{
    if (!RunsLaidOutWith({}))
        return;
    CMainLibraryBinding binding;

    EXPECT_EQ(binding.SetMessageLanguage(GetParam().code), GetParam().code);
    EXPECT_EQ(binding.GetMessageLanguage(), GetParam().code);

    std::string expected;
    switch (GetParam().language)
    {
    case ELanguage::English:
        expected = kMainMissingEnglish;
        break;
    case ELanguage::German:
        expected = kMainMissingGerman;
        break;
    case ELanguage::French:
        expected = kMainMissingFrench;
        break;
    case ELanguage::System:
        expected = SystemText(kMainMissingEnglish, kMainMissingGerman);
        break;
    }
    EXPECT_EQ(LoadError(binding), expected) << "code " << GetParam().code;
}

const SMessageLanguageCase kMessageLanguageCases[] = {
    {100, ELanguage::English}, {105, ELanguage::English}, {106, ELanguage::German},
    {107, ELanguage::German},  {108, ELanguage::German},  {109, ELanguage::French},
    {111, ELanguage::French},  {112, ELanguage::French},  {113, ELanguage::System},
    {0, ELanguage::System},    {50, ELanguage::System},   {99, ELanguage::System},
    {-106, ELanguage::System},
};

INSTANTIATE_TEST_SUITE_P(Codes, MessageLanguageTest, testing::ValuesIn(kMessageLanguageCases),
                         [](const testing::TestParamInfo<SMessageLanguageCase>& info)
                         {
                             int code = info.param.code;
                             return (code < 0 ? "Minus" : "") +
                                    std::to_string(code < 0 ? -code : code);
                         });

TEST(MessageLanguageTest, FunctionTextFollowsChosenLanguage)
{
    if (!RunsLaidOutWith({VariantFolder("qelmain-no-gethwnd") + "\\QelMain.dll"}))
        return;
    CMainLibraryBinding binding;
    binding.SetMessageLanguage(110);
    EXPECT_EQ(LoadError(binding), "Impossible de charger la fonction \"QelVar_OnChange_GetHWnd\" "
                                  "de la DLL \"QelMain.dll\".");
}

// The folders searched, in order.
TEST(LibrarySearchTest, DefaultFoldersAreProgramThenPluginThenSystem)
{
    char folder[MAX_PATH];
    ASSERT_TRUE(qel::GetLibrarySearchFolder(0, folder, sizeof folder));
    EXPECT_STRCASEEQ(folder, BinFolder().c_str());
    // The plug-in code is linked into the test program, so its folder is the same.
    ASSERT_TRUE(qel::GetLibrarySearchFolder(1, folder, sizeof folder));
    EXPECT_STRCASEEQ(folder, BinFolder().c_str());
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    ASSERT_TRUE(qel::GetLibrarySearchFolder(2, folder, sizeof folder));
    EXPECT_STRCASEEQ(folder, system);
    EXPECT_FALSE(qel::GetLibrarySearchFolder(3, folder, sizeof folder));
    EXPECT_FALSE(qel::GetLibrarySearchFolder(0, folder, 4)); // does not fit
}

TEST(LibrarySearchTest, LibraryPlantedInCurrentDirectoryIsNotLoaded)
{
    if (!RunsLaidOutWith({}))
        return;
    CScratchFolder partFolder;
    qel::test::CopyFileOrFail(BuildBinFolder() + "\\QelMain.dll", partFolder.PathOf("QelMain.dll"));
    qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(partFolder.Path().c_str()));
    {
        CMainLibraryBinding binding;
        EXPECT_EQ(LoadError(binding), SystemText(kMainMissingEnglish, kMainMissingGerman));
        EXPECT_FALSE(IsModuleLoaded("QelMain.dll"));
    }
}

TEST(LibrarySearchTest, DefaultFoldersSkipCurrentDirectory)
{
    // A library that exists only in the current directory is not found; in
    // the program's folder it loads.
    if (!RunsLaidOutWith({}))
        return;
    CScratchFolder partFolder;
    qel::test::CopyFileOrFail(BuildBinFolder() + "\\QelMain.dll",
                              partFolder.PathOf("QelPlantedProbe.dll"));
    qel::CCurrentDirectory restore;
    ASSERT_TRUE(SetCurrentDirectoryA(partFolder.Path().c_str()));
    {
        CProbeBinding binding("QelPlantedProbe.dll");
        EXPECT_EQ(LoadError(binding),
                  SystemText("Error loading dll \"QelPlantedProbe.dll\" !\n\nError code: 126",
                             "Fehler beim Laden der Dll \"QelPlantedProbe.dll\" !\n\n"
                             "Fehlercode: 126"));
        EXPECT_FALSE(IsModuleLoaded("QelPlantedProbe.dll"));
    }
    qel::test::CopyFileOrFail(BuildBinFolder() + "\\QelMain.dll",
                              BinFolder() + "\\QelPlantedProbe.dll");
    {
        CProbeBinding binding("QelPlantedProbe.dll");
        EXPECT_EQ(LoadError(binding), "(no error)");
        EXPECT_EQ(CProbeBinding::s_nLoadCount, 1);
    }
    EXPECT_EQ(CProbeBinding::s_nLoadCount, 0);
}

} // namespace

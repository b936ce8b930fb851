// Tests of the simulator's application calls, driven across processes the
// way the plug-in drives SolidWorks: GetActiveObject of "SldWorks.Application"
// and IDispatch::Invoke by dispatch id.
#include "SimulatorFixture.h"

#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace swsimtest
{
namespace
{

using swsim::SimDocumentInfo;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST_F(SimulatorTest, Revision_IsNinePointZeroUntilConfigured)
{
    EXPECT_EQ(Method(App(), kAppRevision).Text(), L"9.0");
    Sim().Configure("revision=10.0");
    EXPECT_EQ(Method(App(), kAppRevision).Text(), L"10.0");
    EXPECT_THAT(Sim().JournalLines(),
                ElementsAre(R"(app 0xC method () -> "9.0")", R"(app 0xC method () -> "10.0")"));
}

TEST_F(SimulatorTest, NoDocumentNorTemplate_FirstNewAssemblyAndActiveAreNullDispatch)
{
    Sim().Configure("new-assembly=0");
    for (const CallOutcome& outcome :
         {Method(App(), kAppFirstDoc), Method(App(), kAppFallbackDoc), Get(App(), kAppActiveDoc)})
    {
        EXPECT_EQ(outcome.hr, S_OK);
        EXPECT_EQ(outcome.Type(), VT_DISPATCH);
        EXPECT_EQ(outcome.result->Value().pdispVal, nullptr);
    }
    EXPECT_THAT(Sim().JournalLines(),
                ElementsAre("app 0x55 method () -> empty", "app 0x9 method () -> empty",
                            "app 0x1 get () -> empty"));
}

TEST_F(SimulatorTest, EmptyResultOption_GivesVariantEmpty)
{
    Sim().Configure("empty-result=empty");
    EXPECT_EQ(Method(App(), kAppFirstDoc).Type(), VT_EMPTY);
    Sim().Configure("reset=1");
    EXPECT_EQ(Method(App(), kAppFirstDoc).Type(), VT_DISPATCH);
}

TEST_F(SimulatorTest, Enumeration_VisitsOpenDocumentsInOpeningOrder)
{
    Sim().Configure("docs=part,assembly");
    std::vector<std::pair<std::wstring, long>> seen;
    for (ComPtr<IDispatch> document = FirstDocument(); document;
         document = Method(document.Get(), kDocNext).Object())
    {
        const std::wstring title = Method(document.Get(), kDocTitle).Text();
        seen.emplace_back(title, Method(document.Get(), kDocType).Int());
    }
    EXPECT_THAT(seen, ElementsAre(std::pair<std::wstring, long>(L"Part1", 1),
                                  std::pair<std::wstring, long>(L"Assem1", 2)));
    EXPECT_THAT(Sim().JournalLines(),
                ElementsAre("app 0x55 method () -> doc#1", "doc#1 0x10047 method () -> \"Part1\"",
                            "doc#1 0x10049 method () -> 1", "doc#1 0x101C1 method () -> doc#2",
                            "doc#2 0x10047 method () -> \"Assem1\"", "doc#2 0x10049 method () -> 2",
                            "doc#2 0x101C1 method () -> empty"));
}

TEST_F(SimulatorTest, NewAssembly_IsANewActiveAssemblyWithAView)
{
    Sim().Configure("docs=part,assembly,part");
    const ComPtr<IDispatch> assembly = Method(App(), kAppFallbackDoc).Object();
    ASSERT_TRUE(assembly);
    EXPECT_EQ(Method(assembly.Get(), kDocTitle).Text(), L"Assem2");
    EXPECT_EQ(Method(assembly.Get(), kDocType).Int(), 2);
    EXPECT_THAT(Titles(Sim().Documents()),
                ElementsAre("Part1", "Assem1", "Part2", "Assem2 (active)"));
    EXPECT_NE(nullptr, Sim().Documents().back().frame);
}

struct SatImportCase
{
    const char* options;
    long expectedType;
    const char* expectedTitle; // as new documents are titled
};

class SatImportTest : public SimulatorTest, public ::testing::WithParamInterface<SatImportCase>
{
};

TEST_P(SatImportTest, LoadSat_CreatesNewActiveDocumentOfImportType)
{
    Sim().Configure(GetParam().options);
    const std::string sat = TestFile("TempSW.sat");
    WriteFileText(sat, "700 0 1 0\n");
    EXPECT_TRUE(Method(App(), kAppLoadSat, CArgs().Text(Wide(sat)).NullText()).Bool());
    const ComPtr<IDispatch> active = ActiveDocument();
    ASSERT_TRUE(active);
    EXPECT_EQ(Method(active.Get(), kDocTitle).Text(), Wide(GetParam().expectedTitle));
    EXPECT_EQ(Method(active.Get(), kDocType).Int(), GetParam().expectedType);
    EXPECT_THAT(Titles(Sim().Documents()),
                ElementsAre(std::string(GetParam().expectedTitle) + " (active)"));
    EXPECT_EQ(Sim().JournalLines().at(0),
              "app 0x31 method (\"" + sat + "\", " + kNullTextJournaled + ") -> true");
}

INSTANTIATE_TEST_SUITE_P(ImportTypes, SatImportTest,
                         ::testing::Values(SatImportCase{"", 1, "Part1"},
                                           SatImportCase{"import-type=2", 2, "Assem1"}));

TEST_F(SimulatorTest, LoadSat_MissingFileReturnsFalseAndCreatesNothing)
{
    const std::string sat = TestFile("Missing.sat");
    const CallOutcome outcome = Method(App(), kAppLoadSat, CArgs().Text(Wide(sat)).NullText());
    EXPECT_EQ(outcome.hr, S_OK);
    EXPECT_EQ(outcome.Type(), VT_BOOL);
    EXPECT_FALSE(outcome.Bool());
    EXPECT_THAT(Sim().Documents(), IsEmpty());
    EXPECT_FALSE(ActiveDocument());
}

TEST_F(SimulatorTest, CloseDoc_ClosesDocumentOfTitleAndDestroysItsFrame)
{
    Sim().Configure("docs=part,assembly");
    const HWND partFrame = Sim().Documents().at(0).frame;
    ASSERT_TRUE(IsWindow(partFrame));
    const CallOutcome outcome = Method(App(), kAppCloseDoc, CArgs().Text(L"Part1"));
    EXPECT_EQ(outcome.hr, S_OK);
    EXPECT_EQ(outcome.Type(), VT_EMPTY);
    EXPECT_THAT(Titles(Sim().Documents()), ElementsAre("Assem1 (active)"));
    EXPECT_FALSE(IsWindow(partFrame));
    Method(App(), kAppCloseDoc, CArgs().Text(L"NoSuchTitle"));
    EXPECT_THAT(Titles(Sim().Documents()), ElementsAre("Assem1 (active)"));
    EXPECT_THAT(Sim().JournalLines(), ElementsAre("app 0x21 method (\"Part1\") -> none",
                                                  "app 0x21 method (\"NoSuchTitle\") -> none"));
}

TEST_F(SimulatorTest, OpenDoc_MissingFileSetsErrorAndReturnsEmpty)
{
    const std::string path = TestFile("Missing.SLDPRT");
    long error = 0;
    const CallOutcome outcome =
        Method(App(), kAppOpenDoc,
               CArgs().Text(Wide(path)).Int(1).Bool(false).Bool(false).Bool(false).IntOut(&error));
    EXPECT_EQ(outcome.hr, S_OK);
    EXPECT_FALSE(outcome.Object());
    EXPECT_NE(error, 0);
    EXPECT_THAT(Sim().Documents(), IsEmpty());
    EXPECT_THAT(Sim().JournalLines(), ElementsAre("app 0x63 method (\"" + path +
                                                  "\", 1, false, false, false, &0) -> empty"));
}

TEST_F(SimulatorTest, OpenDoc_ExistingFileOpensActiveDocumentOfGivenType)
{
    const std::string path = TestFile("Bolt.SLDASM");
    WriteFileText(path, "QelSwSim document type=2\r\n");
    long error = 7;
    const CallOutcome outcome =
        Method(App(), kAppOpenDoc,
               CArgs().Text(Wide(path)).Int(2).Bool(false).Bool(false).Bool(false).IntOut(&error));
    ASSERT_TRUE(outcome.Object());
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Method(outcome.Object().Get(), kDocType).Int(), 2);
    const std::vector<SimDocumentInfo> documents = Sim().Documents();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].title, "Bolt.SLDASM");
    EXPECT_EQ(documents[0].path, path);
    EXPECT_TRUE(documents[0].active);
    EXPECT_EQ(WindowTitle(documents[0].frame), L"Bolt.SLDASM");
    EXPECT_EQ(Sim().JournalLines().at(0),
              "app 0x63 method (\"" + path + "\", 2, false, false, false, &7) -> doc#1");
}

TEST_F(SimulatorTest, OpenDoc_FileAlreadyOpenGivesSameDocument)
{
    const std::string path = TestFile("Washer.SLDPRT");
    WriteFileText(path, "QelSwSim document type=1\r\n");
    for (int i = 0; i < 2; ++i)
    {
        long error = 0;
        Method(App(), kAppOpenDoc,
               CArgs().Text(Wide(path)).Int(1).Bool(false).Bool(false).Bool(false).IntOut(&error));
    }
    EXPECT_THAT(Titles(Sim().Documents()), ElementsAre("Washer.SLDPRT (active)"));
    EXPECT_THAT(Sim().JournalLines(), ElementsAre(HasSubstr("-> doc#1"), HasSubstr("-> doc#1")));
}

TEST_F(SimulatorTest, OpenDoc_TypeOtherThanPartOrAssemblyFails)
{
    const std::string path = TestFile("Nut.SLDPRT");
    WriteFileText(path, "x");
    long error = 0;
    const CallOutcome outcome =
        Method(App(), kAppOpenDoc,
               CArgs().Text(Wide(path)).Int(0).Bool(false).Bool(false).Bool(false).IntOut(&error));
    EXPECT_FALSE(outcome.Object());
    EXPECT_NE(error, 0);
    EXPECT_THAT(Sim().Documents(), IsEmpty());
}

TEST_F(SimulatorTest, ActivateDoc_MakesDocumentActiveAndItsFrameTopmost)
{
    Sim().Configure("docs=part,part");
    const HWND documentArea = GetWindow(Sim().MainWindow(), GW_CHILD);
    const HWND part1Frame = Sim().Documents().at(0).frame;
    ASSERT_NE(GetWindow(documentArea, GW_CHILD), part1Frame);
    long error = 5;
    const CallOutcome outcome =
        Method(App(), kAppActivateDoc, CArgs().Text(L"Part1").Bool(false).IntOut(&error));
    ASSERT_TRUE(outcome.Object());
    EXPECT_EQ(Method(outcome.Object().Get(), kDocTitle).Text(), L"Part1");
    EXPECT_EQ(error, 0);
    EXPECT_THAT(Titles(Sim().Documents()), ElementsAre("Part1 (active)", "Part2"));
    EXPECT_EQ(GetWindow(documentArea, GW_CHILD), part1Frame);
}

TEST_F(SimulatorTest, ActivateDoc_UnknownTitleSetsErrorAndReturnsEmpty)
{
    Sim().Configure("docs=part");
    long error = 0;
    const CallOutcome outcome =
        Method(App(), kAppActivateDoc, CArgs().Text(L"Part9").Bool(false).IntOut(&error));
    EXPECT_EQ(outcome.hr, S_OK);
    EXPECT_FALSE(outcome.Object());
    EXPECT_NE(error, 0);
    EXPECT_THAT(Sim().JournalLines(),
                ElementsAre("app 0x5B method (\"Part9\", false, &0) -> empty"));
}

TEST_F(SimulatorTest, GetIDsOfNames_KnowsNoNames)
{
    LPOLESTR name = const_cast<LPOLESTR>(L"RevisionNumber");
    DISPID id = 0;
    EXPECT_EQ(App()->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id),
              DISP_E_UNKNOWNNAME);
}

} // namespace
} // namespace swsimtest

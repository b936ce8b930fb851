// Tests of the simulator's document and view calls, its journal of a whole
// insertion and its windows.
#include "SimulatorFixture.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace swsimtest
{
namespace
{

using swsim::SimDocumentInfo;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST_F(SimulatorTest, SaveAs_WritesPropertiesToFileAndTakesFileNameAsTitle)
{
    Sim().Configure("docs=part");
    const ComPtr<IDispatch> document = FirstDocument();
    EXPECT_TRUE(Method(document.Get(), kDocAddProperty,
                       CArgs().Text(L"Norm").Text(L"Text").Text(L"DIN 933"))
                    .Bool());
    EXPECT_TRUE(Method(document.Get(), kDocAddProperty,
                       CArgs().Text(L"Gr\u00f6\u00dfe").Text(L"Text").Text(L"M8 x 20"))
                    .Bool());
    const std::string path = TestFile("M8x20.SLDPRT");
    EXPECT_TRUE(Method(document.Get(), kDocSaveAs, CArgs().Text(Wide(path))).Bool());

    EXPECT_EQ(ReadFileText(path),
              "QelSwSim document type=1\r\nNorm=DIN 933\r\nGr\u00f6\u00dfe=M8 x 20\r\n");
    EXPECT_EQ(Method(document.Get(), kDocTitle).Text(), L"M8x20.SLDPRT");
    const std::vector<SimDocumentInfo> documents = Sim().Documents();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(documents[0].path, path);
    EXPECT_EQ(WindowTitle(documents[0].frame), L"M8x20.SLDPRT");
    EXPECT_EQ(Sim().JournalLines().at(2),
              "doc#1 0x1018F method (\"Gr\u00f6\u00dfe\", \"Text\", \"M8 x 20\") -> true");
}

TEST_F(SimulatorTest, SaveAs_IntoMissingFolderReturnsFalseAndKeepsTitle)
{
    Sim().Configure("docs=part");
    const ComPtr<IDispatch> document = FirstDocument();
    const std::string path = TestFolder() + "no-such-folder\\Part.SLDPRT";
    const CallOutcome outcome = Method(document.Get(), kDocSaveAs, CArgs().Text(Wide(path)));
    EXPECT_EQ(outcome.hr, S_OK);
    EXPECT_FALSE(outcome.Bool());
    EXPECT_EQ(Method(document.Get(), kDocTitle).Text(), L"Part1");
}

TEST_F(SimulatorTest, ClosedDocument_CallsFailWithDescription)
{
    Sim().Configure("docs=part");
    const ComPtr<IDispatch> document = FirstDocument();
    Method(App(), kAppCloseDoc, CArgs().Text(L"Part1"));
    const CallOutcome outcome = Method(document.Get(), kDocTitle);
    EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.description, L"The document is closed.");
    EXPECT_EQ(Sim().JournalLines().back(),
              "doc#1 0x10047 method () -> FAIL \"The document is closed.\"");
}

TEST_F(SimulatorTest, Journal_RecordsInsertionSequenceExactly)
{
    Sim().Configure("docs=assembly");
    const std::string sat = TestFile("TempSW.sat");
    const std::string part = TestFile("Screw.SLDPRT");
    WriteFileText(sat, "700 0 1 0\n");

    // Import, properties, save, close.
    Method(App(), kAppLoadSat, CArgs().Text(Wide(sat)).NullText());
    ComPtr<IDispatch> imported = ActiveDocument();
    Method(imported.Get(), kDocType);
    Method(imported.Get(), kDocAddProperty, CArgs().Text(L"Norm").Text(L"Text").Text(L"ISO 4017"));
    Method(imported.Get(), kDocSaveAs, CArgs().Text(Wide(part)));
    Method(imported.Get(), kDocSaveAs, CArgs().Text(Wide(part)));
    const std::wstring title = Method(imported.Get(), kDocTitle).Text();
    Method(App(), kAppCloseDoc, CArgs().Text(title));
    imported.Reset();

    // Open again, show, activate.
    long error = 0;
    const ComPtr<IDispatch> opened =
        Method(App(), kAppOpenDoc,
               CArgs().Text(Wide(part)).Int(1).Bool(false).Bool(false).Bool(false).IntOut(&error))
            .Object();
    ASSERT_TRUE(opened);
    EXPECT_EQ(Put(opened.Get(), kDocVisible, CArgs().Bool(true)).hr, S_OK);
    const ComPtr<IDispatch> view = Get(opened.Get(), kDocView).Object();
    const long viewWindow = Method(view.Get(), kViewWindow).Int();
    Method(view.Get(), kViewRedraw);
    Method(opened.Get(), kDocRefresh);
    Method(App(), kAppActivateDoc,
           CArgs().Text(Method(opened.Get(), kDocTitle).Text()).Bool(false).IntOut(&error));
    Method(opened.Get(), kDocLastCall);

    const std::string satArg = "\"" + sat + "\"";
    const std::string partArg = "\"" + part + "\"";
    EXPECT_THAT(Sim().JournalLines(),
                ElementsAreArray({
                    "app 0x31 method (" + satArg + ", " + kNullTextJournaled + ") -> true",
                    std::string("app 0x1 get () -> doc#2"),
                    std::string("doc#2 0x10049 method () -> 1"),
                    std::string(R"(doc#2 0x1018F method ("Norm", "Text", "ISO 4017") -> true)"),
                    "doc#2 0x10025 method (" + partArg + ") -> true",
                    "doc#2 0x10025 method (" + partArg + ") -> true",
                    std::string(R"(doc#2 0x10047 method () -> "Screw.SLDPRT")"),
                    std::string(R"(app 0x21 method ("Screw.SLDPRT") -> none)"),
                    "app 0x63 method (" + partArg + ", 1, false, false, false, &0) -> doc#3",
                    std::string("doc#3 0x100E1 put (true) -> none"),
                    std::string("doc#3 0x10002 get () -> view#3"),
                    "view#3 0x2 method () -> " + std::to_string(viewWindow),
                    std::string("view#3 0x11 method () -> none"),
                    std::string("doc#3 0x10065 method () -> none"),
                    std::string(R"(doc#3 0x10047 method () -> "Screw.SLDPRT")"),
                    std::string(R"(app 0x5B method ("Screw.SLDPRT", false, &0) -> doc#3)"),
                    std::string("doc#3 0x10068 method () -> none"),
                }));
    EXPECT_THAT(Titles(Sim().Documents()), ElementsAre("Assem1", "Screw.SLDPRT (active)"));
}

TEST_F(SimulatorTest, ClearJournal_EmptiesJournal)
{
    Method(App(), kAppRevision);
    Sim().ClearJournal();
    EXPECT_EQ(Sim().Journal(), "");
}

// Windows

TEST_F(SimulatorTest, Windows_ViewLiesInFrameInsideDocumentAreaOfMainWindow)
{
    Sim().Configure("docs=assembly");
    const HWND main = Sim().MainWindow();
    const ComPtr<IDispatch> document = FirstDocument();
    const HWND view = ViewWindow(document.Get());
    ASSERT_TRUE(IsWindow(view));
    const HWND frame = GetParent(view);
    EXPECT_EQ(frame, Sim().Documents().at(0).frame);
    EXPECT_EQ(WindowTitle(frame), L"Assem1");
    EXPECT_EQ(GetParent(frame), GetWindow(main, GW_CHILD));
    EXPECT_EQ(TopLevelAncestor(view), main);
    EXPECT_EQ(ClassName(main), L"QelSwSimMain");
    EXPECT_EQ(WindowTitle(main), L"SolidWorks 2001 simulator");
    EXPECT_TRUE(IsWindowVisible(main));
    RECT frameArea{};
    RECT viewArea{};
    GetClientRect(frame, &frameArea);
    GetClientRect(view, &viewArea);
    EXPECT_EQ(viewArea.right, frameArea.right);
    EXPECT_EQ(viewArea.bottom, frameArea.bottom);
}

TEST_F(SimulatorTest, Minimized_IconifiesMainWindowUntilReset)
{
    Sim().Configure("minimized=1");
    EXPECT_TRUE(IsIconic(Sim().MainWindow()));
    Sim().Configure("reset=1");
    EXPECT_FALSE(IsIconic(Sim().MainWindow()));
}

} // namespace
} // namespace swsimtest

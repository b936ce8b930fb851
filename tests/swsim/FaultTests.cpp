// Tests of planned faults and of calls of the wrong shape.
#include "SimulatorFixture.h"

#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace swsimtest
{
namespace
{

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(SimulatorTest, FailCall_FailsOnlyTheNumberedCallWithItsDescription)
{
    Sim().Configure("fail-call=\"2:Datei ung\u00fcltig\"");
    EXPECT_EQ(Method(App(), kAppRevision).hr, S_OK);
    const CallOutcome failed = Method(App(), kAppRevision);
    EXPECT_EQ(failed.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(failed.description, L"Datei ung\u00fcltig");
    EXPECT_EQ(Method(App(), kAppRevision).hr, S_OK);
    EXPECT_EQ(Sim().JournalLines().at(1), "app 0xC method () -> FAIL \"Datei ung\u00fcltig\"");

    // Counting starts again after a clear.
    Sim().ClearJournal();
    EXPECT_EQ(Method(App(), kAppRevision).hr, S_OK);
    EXPECT_EQ(Method(App(), kAppRevision).hr, DISP_E_EXCEPTION);
}

TEST_F(SimulatorTest, FailCall_HasNoEffect)
{
    const std::string sat = TestFile("TempSW.sat");
    WriteFileText(sat, "700 0 1 0\n");
    Sim().Configure("fail-call=1:refused");
    EXPECT_EQ(Method(App(), kAppLoadSat, CArgs().Text(Wide(sat)).NullText()).hr, DISP_E_EXCEPTION);
    EXPECT_THAT(Sim().Documents(), IsEmpty());
}

TEST_F(SimulatorTest, FailDispid_FailsEveryCallOfThatIdOnThatObjectKind)
{
    Sim().Configure("docs=part fail-dispid=doc:0x10047:\"No title today\"");
    const ComPtr<IDispatch> document = FirstDocument();
    for (int i = 0; i < 2; ++i)
    {
        const CallOutcome outcome = Method(document.Get(), kDocTitle);
        EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(outcome.description, L"No title today");
    }
    EXPECT_EQ(Method(document.Get(), kDocType).Int(), 1);
    EXPECT_EQ(Method(App(), kAppRevision).hr, S_OK);
}

TEST_F(SimulatorTest, Reset_ClearsFaults)
{
    Sim().Configure("fail-dispid=app:0xC:x");
    Sim().Configure("reset=1");
    EXPECT_EQ(Method(App(), kAppRevision).hr, S_OK);
}

// Calls of the wrong shape fail with the HRESULT of IDispatch and are journaled.
long g_errorOut = 3;

struct WrongCallCase
{
    const char* name;
    DISPID id;
    WORD flags;
    std::function<void(CArgs&)> arguments;
    HRESULT expected;
    UINT expectedArgErr; // ~0u: not set
    const char* journal;
};

class WrongCallTest : public SimulatorTest, public ::testing::WithParamInterface<WrongCallCase>
{
};

TEST_P(WrongCallTest, WrongCall_FailsWithDispatchErrorAndIsJournaled)
{
    const WrongCallCase& wrong = GetParam();
    CArgs args;
    wrong.arguments(args);
    const CallOutcome outcome = InvokeRaw(App(), wrong.id, wrong.flags, args, false);
    EXPECT_EQ(outcome.hr, wrong.expected);
    if (wrong.expectedArgErr != ~0u)
    {
        EXPECT_EQ(outcome.argErr, wrong.expectedArgErr);
    }
    EXPECT_THAT(Sim().JournalLines(), ElementsAre(wrong.journal));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, WrongCallTest,
    ::testing::Values(
        WrongCallCase{"GetCalledAsMethod", kAppActiveDoc, DISPATCH_METHOD, [](CArgs&) {},
                      DISP_E_MEMBERNOTFOUND, ~0u, "app 0x1 method () -> FAIL 0x80020003"},
        WrongCallCase{"MethodCalledWithBothFlags", kAppRevision,
                      DISPATCH_METHOD | DISPATCH_PROPERTYGET, [](CArgs&) {}, DISP_E_MEMBERNOTFOUND,
                      ~0u, "app 0xC flags 0x3 () -> FAIL 0x80020003"},
        WrongCallCase{"UnknownDispid", 0x42, DISPATCH_METHOD, [](CArgs&) {}, DISP_E_MEMBERNOTFOUND,
                      ~0u, "app 0x42 method () -> FAIL 0x80020003"},
        WrongCallCase{"ExtraArgument", kAppRevision, DISPATCH_METHOD, [](CArgs& a) { a.Int(5); },
                      DISP_E_BADPARAMCOUNT, ~0u, "app 0xC method (5) -> FAIL 0x8002000E"},
        WrongCallCase{"MissingArgument", kAppLoadSat, DISPATCH_METHOD,
                      [](CArgs& a) { a.Text(L"C:\\x.sat"); }, DISP_E_BADPARAMCOUNT, ~0u,
                      R"(app 0x31 method ("C:\x.sat") -> FAIL 0x8002000E)"},
        WrongCallCase{"NumberForPath", kAppLoadSat, DISPATCH_METHOD,
                      [](CArgs& a) { a.Int(5).NullText(); }, DISP_E_TYPEMISMATCH, 1,
                      R"(app 0x31 method (5, "") -> FAIL 0x80020005)"},
        WrongCallCase{"ShortForTitle", kAppCloseDoc, DISPATCH_METHOD, [](CArgs& a) { a.Short(1); },
                      DISP_E_TYPEMISMATCH, 0, "app 0x21 method (<vt 0x2>) -> FAIL 0x80020005"},
        WrongCallCase{"PlainIntForErrorOut", kAppOpenDoc, DISPATCH_METHOD,
                      [](CArgs& a)
                      { a.Text(L"p").Int(1).Bool(false).Bool(false).Bool(false).Int(0); },
                      DISP_E_TYPEMISMATCH, 0,
                      R"(app 0x63 method ("p", 1, false, false, false, 0) -> FAIL 0x80020005)"},
        WrongCallCase{"IntForBoolean", kAppOpenDoc, DISPATCH_METHOD,
                      [](CArgs& a)
                      { a.Text(L"p").Int(1).Int(0).Bool(false).Bool(false).IntOut(&g_errorOut); },
                      DISP_E_TYPEMISMATCH, 3,
                      R"(app 0x63 method ("p", 1, 0, false, false, &3) -> FAIL 0x80020005)"}),
    [](const ::testing::TestParamInfo<WrongCallCase>& info) { return info.param.name; });

TEST_F(SimulatorTest, PropertyPut_NeedsThePropertyPutNamedArgument)
{
    Sim().Configure("docs=part");
    const ComPtr<IDispatch> document = FirstDocument();
    EXPECT_EQ(
        InvokeRaw(document.Get(), kDocVisible, DISPATCH_PROPERTYPUT, CArgs().Bool(true), false).hr,
        DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(Put(document.Get(), kDocVisible, CArgs().Bool(true)).hr, S_OK);
    EXPECT_THAT(Sim().JournalLines(), ElementsAre("app 0x55 method () -> doc#1",
                                                  "doc#1 0x100E1 put (true) -> FAIL 0x80020004",
                                                  "doc#1 0x100E1 put (true) -> none"));
}

} // namespace
} // namespace swsimtest

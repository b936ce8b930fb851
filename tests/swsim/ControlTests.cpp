// Tests of option texts and of swsimctl, the command-line client.
#include "SimulatorFixture.h"

#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace swsimtest
{
namespace
{

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class BadOptionTest : public SimulatorTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(BadOptionTest, Configure_RejectsBadOptionTextAndAppliesNothing)
{
    EXPECT_THROW(Sim().Configure(std::string("revision=7.0 docs=part ") + GetParam()),
                 std::runtime_error);
    EXPECT_EQ(Method(App(), kAppRevision).Text(), L"9.0");
    EXPECT_THAT(Sim().Documents(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Texts, BadOptionTest,
                         ::testing::Values("bogus=1", "docs=cube", "docs=part,", "fail-call=0:x",
                                           "fail-call=x", "fail-call=2", "fail-dispid=win:0x1:x",
                                           "fail-dispid=app:zz:x", "fail-dispid=app:0xC",
                                           "import-type=3", "minimized=yes", "empty-result=nothing",
                                           "reset", "=1", "revision=\"9.0", "ask-at=app:0x31#0",
                                           "hang-at=doc:", "busy-at=app:0x31"));

TEST_F(SimulatorTest, Configure_ErrorNamesTheBadItem)
{
    try
    {
        Sim().Configure("docs=part import-type=3");
        FAIL() << "no error";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_THAT(error.what(), HasSubstr("import-type=3"));
    }
}

TEST_F(SimulatorTest, Configure_QuotesKeepBlanksAndBackslashQuoteIsAQuote)
{
    Sim().Configure(R"(revision="9.0  beta" fail-dispid=app:49:"say \"no\"")");
    EXPECT_EQ(Method(App(), kAppRevision).Text(), L"9.0  beta");
    EXPECT_EQ(Method(App(), kAppLoadSat, CArgs().Text(L"x").NullText()).description, L"say \"no\"");
}

// swsimctl

TEST_F(SimulatorTest, Swsimctl_ConfiguresAndReadsTheRunningSimulator)
{
    EXPECT_EQ(RunCtl("configure \"revision=7.5 docs=part\"").exitCode, 0u);
    EXPECT_EQ(Method(App(), kAppRevision).Text(), L"7.5");

    const CtlOutcome journal = RunCtl("journal");
    EXPECT_EQ(journal.exitCode, 0u);
    EXPECT_EQ(journal.output, "app 0xC method () -> \"7.5\"\n");

    const CtlOutcome refs = RunCtl("refs");
    EXPECT_EQ(refs.output, "1\n"); // the fixture's application

    const CtlOutcome documents = RunCtl("documents");
    EXPECT_THAT(documents.output, ::testing::StartsWith("1\tPart1\t1\t\t"));

    EXPECT_EQ(RunCtl("clear").exitCode, 0u);
    EXPECT_EQ(Sim().Journal(), "");
    EXPECT_EQ(RunCtl("wait").exitCode, 0u);
}

TEST_F(SimulatorTest, Swsimctl_ReportsUsageAndFailures)
{
    EXPECT_EQ(RunCtl("fly").exitCode, 2u);
    const CtlOutcome bad = RunCtl("configure bogus=1");
    EXPECT_EQ(bad.exitCode, 1u);
    EXPECT_THAT(bad.output, HasSubstr("bogus=1: unknown option"));
}

} // namespace
} // namespace swsimtest

// Tests of option texts and of swsimctl, the command-line client.
#include "SimulatorFixture.h"

#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/swsim/Handle.h"

namespace swsimtest
{
namespace
{

using swsim::CHandle;
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
                                           "reset", "=1", "revision=\"9.0"));

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

struct CtlOutcome
{
    DWORD exitCode;
    std::string output;
};

CtlOutcome RunCtl(const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
    {
        throw std::runtime_error("CreatePipe failed");
    }
    const CHandle reader(readEnd);
    CHandle writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);

    const std::string program = ProgramFolder() + "swsimctl.exe";
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.Get();
    startup.hStdError = writer.Get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process))
    {
        throw std::runtime_error("cannot start swsimctl.exe");
    }
    const CHandle processHandle(process.hProcess);
    const CHandle threadHandle(process.hThread);
    writer = CHandle(); // the child holds the only write end now

    CtlOutcome outcome{1, ""};
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(reader.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
    {
        outcome.output.append(buffer, got);
    }
    WaitForSingleObject(processHandle.Get(), INFINITE);
    GetExitCodeProcess(processHandle.Get(), &outcome.exitCode);
    return outcome;
}

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

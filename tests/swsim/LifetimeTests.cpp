// Tests of the start and end of the simulator process (one simulator per test).
#include "SimulatorFixture.h"

#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/swsim/ControlConnection.h"
#include "tools/swsim/Handle.h"
#include "tools/swsim/SimIds.h"

namespace swsimtest
{
namespace
{

using swsim::CHandle;
using swsim::CSimulatorClient;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A swsim.exe started without a client, as a script or a crashed test
// program leaves it; ended by force should a test leave it running.
class CUnmanagedSimulator
{
public:
    explicit CUnmanagedSimulator(const std::string& options)
    {
        const std::string program = BinFolder() + "\\swsim.exe";
        std::string commandLine = "\"" + program + "\" " + options;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process))
        {
            const CHandle thread(process.hThread);
            m_process = CHandle(process.hProcess);
            RunCtl("wait");
        }
    }
    CUnmanagedSimulator(const CUnmanagedSimulator&) = delete;
    CUnmanagedSimulator& operator=(const CUnmanagedSimulator&) = delete;
    ~CUnmanagedSimulator()
    {
        if (m_process && !Ended(0))
        {
            TerminateProcess(m_process.Get(), 1);
        }
    }

    bool Started() const { return static_cast<bool>(m_process); }
    bool Ended(DWORD waitMs) const
    {
        return WaitForSingleObject(m_process.Get(), waitMs) == WAIT_OBJECT_0;
    }

private:
    CHandle m_process;
};

TEST(SimulatorLifetimeTest, StartOptions_ApplyFromCommandLine)
{
    CSimulatorClient simulator("docs=assembly revision=\"8.5 SP1\" minimized=1");
    EXPECT_THAT(Titles(simulator.Documents()), ElementsAre("Assem1 (active)"));
    EXPECT_TRUE(IsIconic(simulator.MainWindow()));
    ComPtr<IDispatch> app;
    ASSERT_EQ(swsim::GetActiveDispatch(swsim::kApplicationProgId, app), S_OK);
    EXPECT_EQ(Method(app.Get(), kAppRevision).Text(), L"8.5 SP1");
}

TEST(SimulatorLifetimeTest, BadStartOption_ReportsExitCode)
{
    try
    {
        CSimulatorClient simulator("docs=cube");
        FAIL() << "the simulator started";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_THAT(error.what(), HasSubstr("exit code 2"));
    }
}

TEST(SimulatorLifetimeTest, NewClient_EndsSimulatorLeftRunning)
{
    const CUnmanagedSimulator leftover("docs=part");
    ASSERT_TRUE(leftover.Started());
    CSimulatorClient simulator;
    EXPECT_TRUE(leftover.Ended(0));
    EXPECT_THAT(simulator.Documents(), IsEmpty());
}

TEST(SimulatorLifetimeTest, Swsimctl_ServesOneClientProcessAfterAnother)
{
    const CUnmanagedSimulator simulator("docs=part");
    ASSERT_TRUE(simulator.Started());
    // No process holds the control object between these calls.
    EXPECT_EQ(RunCtl("configure revision=9.1").exitCode, 0u);
    EXPECT_EQ(RunCtl("journal").exitCode, 0u);
    EXPECT_THAT(RunCtl("documents").output, ::testing::StartsWith("1\tPart1\t"));
    EXPECT_EQ(RunCtl("quit").exitCode, 0u);
    EXPECT_TRUE(simulator.Ended(10000));
}

TEST(SimulatorLifetimeTest, Quit_LeavesNoActiveObject)
{
    CSimulatorClient simulator;
    simulator.Quit();
    ComPtr<IDispatch> object;
    EXPECT_EQ(swsim::GetActiveDispatch(swsim::kApplicationProgId, object), MK_E_UNAVAILABLE);
    EXPECT_EQ(swsim::GetActiveDispatch(swsim::kControlProgId, object), MK_E_UNAVAILABLE);
}

TEST(SimulatorLifetimeTest, ClosingMainWindow_EndsSimulator)
{
    CSimulatorClient simulator;
    PostMessageW(simulator.MainWindow(), WM_CLOSE, 0, 0);
    ComPtr<IDispatch> object;
    HRESULT hr = S_OK;
    for (int i = 0; i < 200 && hr != MK_E_UNAVAILABLE; ++i)
    {
        Sleep(50);
        hr = swsim::GetActiveDispatch(swsim::kApplicationProgId, object);
        object.Reset();
    }
    EXPECT_EQ(hr, MK_E_UNAVAILABLE);
}

} // namespace
} // namespace swsimtest

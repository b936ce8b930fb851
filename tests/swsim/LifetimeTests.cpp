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

// Starts swsim.exe without a client, as a crashed test program would leave
// it, and waits until it answers.
CHandle StartUnmanagedSimulator(const std::string& options)
{
    const std::string program = ProgramFolder() + "swsim.exe";
    std::string commandLine = "\"" + program + "\" " + options;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
    {
        return CHandle();
    }
    CloseHandle(process.hThread);
    for (int i = 0; i < 200 && !swsim::CControlConnection::TryConnect(); ++i)
    {
        Sleep(50);
    }
    return CHandle(process.hProcess);
}

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
    const CHandle leftover = StartUnmanagedSimulator("docs=part");
    ASSERT_TRUE(leftover);
    CSimulatorClient simulator;
    EXPECT_EQ(WaitForSingleObject(leftover.Get(), 0), WAIT_OBJECT_0);
    EXPECT_THAT(simulator.Documents(), IsEmpty());
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

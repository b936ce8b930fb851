// The fixture of the simulator's tests: one simulator per test suite, put
// back to its start state before each test; after each test no reference
// may be left. Also the helpers for files and windows the tests look at.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AutomationCaller.h"
#include "tests/support/TestFiles.h"
#include "tools/swsim/SimulatorClient.h"

namespace swsimtest
{

using qel::test::BinFolder;
using qel::test::ReadFileText;
using qel::test::WriteFileText;

class SimulatorTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static swsim::CSimulatorClient& Sim() { return *s_simulator; }
    IDispatch* App() const { return m_app.Get(); }

    ComPtr<IDispatch> FirstDocument() { return Method(App(), kAppFirstDoc).Object(); }
    ComPtr<IDispatch> ActiveDocument() { return Get(App(), kAppActiveDoc).Object(); }
    // The window handle that the document's view reports.
    static HWND ViewWindow(IDispatch* document);

private:
    static std::unique_ptr<swsim::CSimulatorClient> s_simulator;
    static std::string s_startError;
    ComPtr<IDispatch> m_app;
};

// Files in a folder of the temporary directory (the simulator runs in the
// same Wine prefix and sees the same paths). The paths are plain ASCII, so
// one text serves the streams here and the wide automation arguments.
std::string TestFolder();
// A path in the test folder; a file left there by an earlier run is deleted.
std::string TestFile(const std::string& name);
std::wstring Wide(const std::string& text);

// Runs swsimctl.exe with the arguments and collects its output.
struct CtlOutcome
{
    DWORD exitCode;
    std::string output;
};
CtlOutcome RunCtl(const std::string& arguments);

std::wstring ClassName(HWND window);
std::wstring WindowTitle(HWND window);
HWND TopLevelAncestor(HWND window);
// The titles of the open documents, the active one marked " (active)".
std::vector<std::string> Titles(const std::vector<swsim::SimDocumentInfo>& documents);

} // namespace swsimtest

#include "SimulatorFixture.h"

#include <stdexcept>

#include "tools/swsim/ControlConnection.h"
#include "tools/swsim/Handle.h"
#include "tools/swsim/SimIds.h"
#include "tools/swsim/TextConversion.h"

namespace swsimtest
{

std::unique_ptr<swsim::CSimulatorClient> SimulatorTest::s_simulator;
std::string SimulatorTest::s_startError;

void SimulatorTest::SetUpTestSuite()
{
    try
    {
        s_simulator = std::make_unique<swsim::CSimulatorClient>();
    }
    catch (const std::exception& error)
    {
        s_startError = error.what();
    }
}

void SimulatorTest::TearDownTestSuite()
{
    s_simulator.reset();
}

void SimulatorTest::SetUp()
{
    ASSERT_TRUE(s_simulator) << s_startError;
    Sim().Configure("reset=1");
    ASSERT_EQ(swsim::GetActiveDispatch(swsim::kApplicationProgId, m_app), S_OK);
}

void SimulatorTest::TearDown()
{
    if (!s_simulator)
    {
        return;
    }
    m_app.Reset();
    EXPECT_EQ(Sim().OutstandingReferences(), 0) << "a reference was not released";
}

HWND SimulatorTest::ViewWindow(IDispatch* document)
{
    const ComPtr<IDispatch> view = Get(document, kDocView).Object();
    return view ? reinterpret_cast<HWND>(
                      static_cast<LONG_PTR>(Method(view.Get(), kViewWindow).Int()))
                : nullptr;
}

std::string TestFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "swsim-tests\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string TestFile(const std::string& name)
{
    const std::string path = TestFolder() + name;
    DeleteFileA(path.c_str());
    return path;
}

std::wstring Wide(const std::string& text)
{
    return swsim::WideFromUtf8(text);
}

CtlOutcome RunCtl(const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
    {
        throw std::runtime_error("CreatePipe failed");
    }
    const swsim::CHandle reader(readEnd);
    swsim::CHandle writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);

    const std::string program = BinFolder() + "\\swsimctl.exe";
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
    const swsim::CHandle processHandle(process.hProcess);
    const swsim::CHandle threadHandle(process.hThread);
    writer = swsim::CHandle(); // the child holds the only write end now

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

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring WindowTitle(HWND window)
{
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    return title;
}

HWND TopLevelAncestor(HWND window)
{
    while (HWND parent = GetParent(window))
    {
        window = parent;
    }
    return window;
}

std::vector<std::string> Titles(const std::vector<swsim::SimDocumentInfo>& documents)
{
    std::vector<std::string> titles;
    for (const swsim::SimDocumentInfo& document : documents)
    {
        titles.push_back(document.title + (document.active ? " (active)" : ""));
    }
    return titles;
}

} // namespace swsimtest

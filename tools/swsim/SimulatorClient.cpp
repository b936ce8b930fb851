#include "tools/swsim/SimulatorClient.h"

#include <sstream>
#include <stdexcept>

#include "tools/swsim/TextConversion.h"

namespace swsim
{
namespace
{

constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kStopTimeoutMs = 10000;
constexpr DWORD kPollMs = 25;

std::wstring SimulatorPath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    const size_t separator = folder.find_last_of(L"\\/");
    folder.resize(separator == std::wstring::npos ? 0 : separator + 1);
    return folder + L"swsim.exe";
}

// Ends a simulator that an earlier program left running; it would answer in
// place of ours.
void EndLeftoverSimulator()
{
    std::unique_ptr<CControlConnection> leftover = CControlConnection::TryConnect();
    if (!leftover)
    {
        return;
    }
    leftover->Quit();
    leftover.reset();
    for (DWORD waited = 0; waited < kStopTimeoutMs; waited += kPollMs)
    {
        Sleep(kPollMs);
        if (!CControlConnection::TryConnect())
        {
            return;
        }
    }
    throw std::runtime_error("a running swsim.exe does not end");
}

CHandle StartProcess(const std::string& options)
{
    const std::wstring path = SimulatorPath();
    std::wstring commandLine = L"\"" + path + L"\" " + WideFromUtf8(options);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
    {
        throw std::runtime_error("cannot start " + Utf8FromWide(path));
    }
    const CHandle thread(process.hThread);
    return CHandle(process.hProcess);
}

std::unique_ptr<CControlConnection> WaitUntilRunning(HANDLE process)
{
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs)
    {
        if (std::unique_ptr<CControlConnection> control = CControlConnection::TryConnect())
        {
            return control;
        }
        if (WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0)
        {
            DWORD exitCode = 0;
            GetExitCodeProcess(process, &exitCode);
            throw std::runtime_error("swsim.exe ended at start with exit code " +
                                     std::to_string(exitCode));
        }
    }
    TerminateProcess(process, 1);
    throw std::runtime_error("swsim.exe did not answer within 10 s");
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
    {
        lines.push_back(line);
    }
    return lines;
}

SimDocumentInfo ParseDocumentLine(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
    {
        fields.push_back(field);
    }
    if (fields.size() != 6)
    {
        throw std::runtime_error("swsim: unexpected document line: " + line);
    }
    return {std::stol(fields[0]),
            fields[1],
            std::stol(fields[2]),
            fields[3],
            reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoul(fields[4]))),
            fields[5] == "1"};
}

} // namespace

CSimulatorClient::CSimulatorClient(const std::string& options)
{
    if (!m_ole.Usable())
    {
        throw std::runtime_error("swsim client: OLE cannot be initialised");
    }
    EndLeftoverSimulator();
    m_process = StartProcess(options);
    m_control = WaitUntilRunning(m_process.Get());
}

CSimulatorClient::~CSimulatorClient()
{
    try
    {
        Quit();
    }
    catch (const std::exception&)
    {
        // The process is ended below whatever the control call said.
    }
    if (m_process && WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0)
    {
        TerminateProcess(m_process.Get(), 1);
    }
}

void CSimulatorClient::Configure(const std::string& options)
{
    Control().Configure(options);
}

std::string CSimulatorClient::Journal()
{
    return Control().Journal();
}

std::vector<std::string> CSimulatorClient::JournalLines()
{
    return SplitLines(Journal());
}

void CSimulatorClient::ClearJournal()
{
    Control().ClearJournal();
}

long CSimulatorClient::OutstandingReferences()
{
    return Control().OutstandingReferences();
}

HWND CSimulatorClient::MainWindow()
{
    return Control().MainWindow();
}

std::vector<SimDocumentInfo> CSimulatorClient::Documents()
{
    std::vector<SimDocumentInfo> documents;
    for (const std::string& line : SplitLines(Control().Documents()))
    {
        documents.push_back(ParseDocumentLine(line));
    }
    return documents;
}

void CSimulatorClient::Quit()
{
    if (!m_control)
    {
        return;
    }
    // The control reference goes before the process ends, so that its
    // release does not wait for a server that is gone.
    std::unique_ptr<CControlConnection> control = std::move(m_control);
    control->Quit();
    control.reset();
    if (WaitForSingleObject(m_process.Get(), kStopTimeoutMs) != WAIT_OBJECT_0)
    {
        TerminateProcess(m_process.Get(), 1);
        throw std::runtime_error("swsim.exe did not end within 10 s after Quit");
    }
}

void CSimulatorClient::Kill()
{
    if (m_process && WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0)
    {
        TerminateProcess(m_process.Get(), 9);
        WaitForSingleObject(m_process.Get(), kStopTimeoutMs);
    }
    // Released after the end: a proxy of a server that is gone lets go at once.
    m_control.reset();
}

CControlConnection& CSimulatorClient::Control()
{
    if (!m_control)
    {
        throw std::runtime_error("swsim.exe is not running");
    }
    return *m_control;
}

} // namespace swsim

// Test programs' handle on the SolidWorks simulator: starts swsim.exe from
// the folder of the running program with the given options, waits until it
// answers, and ends it in the destructor. A simulator left running by an
// earlier program is ended first. Failures throw std::runtime_error.
//
//     swsim::CSimulatorClient simulator("docs=assembly");
//     ... the code under test drives "SldWorks.Application" ...
//     EXPECT_EQ(simulator.JournalLines(), expected);
//     EXPECT_EQ(simulator.OutstandingReferences(), 0);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "tools/swsim/ControlConnection.h"
#include "tools/swsim/Handle.h"
#include "tools/swsim/OleSession.h"

namespace swsim
{

// One open document of the simulator.
struct SimDocumentInfo
{
    long serial;
    std::string title;
    long type; // 1 part, 2 assembly
    std::string path;
    HWND frame;
    bool active;
};

class CSimulatorClient
{
public:
    // options: as for Configure, e.g. "docs=part,assembly minimized=1".
    explicit CSimulatorClient(const std::string& options = "");
    CSimulatorClient(const CSimulatorClient&) = delete;
    CSimulatorClient& operator=(const CSimulatorClient&) = delete;
    ~CSimulatorClient();

    // Applies an option text; "reset=1" first puts everything back to start.
    void Configure(const std::string& options);
    // The journal: one line per automation call since start or the last clear.
    std::string Journal();
    std::vector<std::string> JournalLines();
    void ClearJournal();
    // References that clients still hold on the application, documents and
    // views, as the COM stubs report them: under Wine one for each object that
    // any client holds, however many references it holds. A client's last
    // Release of a proxy reaches the simulator before it returns, so the count
    // is exact as soon as the code under test has let go.
    long OutstandingReferences();
    HWND MainWindow();
    std::vector<SimDocumentInfo> Documents();
    // Ends the simulator now and waits until it is gone.
    void Quit();
    // Ends the simulator's process at once, as a crash would, and waits until
    // it is gone.
    void Kill();
    // Lets a call held by the option hang-at go on; answers ask-at's question.
    void ReleaseHang() { Configure("release=1"); }

private:
    CControlConnection& Control();

    COleSession m_ole;
    CHandle m_process;
    std::unique_ptr<CControlConnection> m_control;
};

} // namespace swsim

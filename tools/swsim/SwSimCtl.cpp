// swsimctl.exe: command-line client of a running simulator, for scripts.
//   swsimctl journal | refs | documents | mainwindow | clear | quit | wait
//   swsimctl configure "<options>"
// Exit codes: 0 done, 1 no simulator running or the call failed, 2 usage.
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "tools/swsim/ControlConnection.h"
#include "tools/swsim/OleSession.h"

namespace
{

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kWaitTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;

int Usage()
{
    std::fputs("usage: swsimctl journal | refs | documents | mainwindow | clear | quit | wait\n"
               "       swsimctl configure \"<options>\"\n",
               stderr);
    return kExitUsage;
}

std::unique_ptr<swsim::CControlConnection> Connect(bool wait)
{
    for (DWORD waited = 0;; waited += kPollMs)
    {
        if (auto control = swsim::CControlConnection::TryConnect())
        {
            return control;
        }
        if (!wait || waited >= kWaitTimeoutMs)
        {
            throw std::runtime_error("no simulator running");
        }
        Sleep(kPollMs);
    }
}

void PrintText(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
    if (!text.empty() && text.back() != '\n')
    {
        std::fputc('\n', stdout);
    }
}

int Run(const std::string& command, int argc, char** argv)
{
    auto control = Connect(command == "wait");
    if (command == "journal")
    {
        PrintText(control->Journal());
    }
    else if (command == "refs")
    {
        std::printf("%ld\n", control->OutstandingReferences());
    }
    else if (command == "documents")
    {
        PrintText(control->Documents());
    }
    else if (command == "mainwindow")
    {
        std::printf("%lu\n",
                    static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(control->MainWindow())));
    }
    else if (command == "clear")
    {
        control->ClearJournal();
    }
    else if (command == "quit")
    {
        control->Quit();
    }
    else if (command == "configure" && argc == 3)
    {
        control->Configure(argv[2]);
    }
    else if (command != "wait")
    {
        return Usage();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        return Usage();
    }
    // Lines end in "\n" alone, also for the shell scripts that read them.
    _setmode(_fileno(stdout), _O_BINARY);
    const swsim::COleSession ole;
    try
    {
        return Run(argv[1], argc, argv);
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "swsimctl: %s\n", error.what());
        return kExitFailed;
    }
}

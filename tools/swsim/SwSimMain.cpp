// swsim.exe: stands in for the SolidWorks automation server in the plug-in's
// tests and demo. Arguments: options as in Configure (see README.md).
// Exit codes: 0 after Quit or closing the main window, 2 bad options, 3 OLE
// or registration failure, 4 no main window.
#include <stdexcept>
#include <string>

#include <windows.h>
#include <wrl/client.h>

#include "tools/swsim/ActiveObjectRegistration.h"
#include "tools/swsim/ControlObject.h"
#include "tools/swsim/MainWindow.h"
#include "tools/swsim/OleSession.h"
#include "tools/swsim/OptionText.h"
#include "tools/swsim/ProgIdRegistry.h"
#include "tools/swsim/SimIds.h"
#include "tools/swsim/SimOptions.h"
#include "tools/swsim/Simulator.h"

namespace
{

constexpr int kExitBadOptions = 2;
constexpr int kExitNoAutomation = 3;
constexpr int kExitNoWindow = 4;

int Report(const std::string& text, int exitCode)
{
    const std::string line = "swsim: " + text + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
    return exitCode;
}

void PumpMessages(HWND documentArea)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        if (!TranslateMDISysAccel(documentArea, &message))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    using namespace swsim;
    const COleSession ole;
    if (FAILED(ole.Result()))
    {
        return Report("OleInitialize failed", kExitNoAutomation);
    }
    CSimOptions options;
    try
    {
        options = CSimOptions::Parse(CommandLineArguments(GetCommandLineW()));
    }
    catch (const std::invalid_argument& error)
    {
        return Report(error.what(), kExitBadOptions);
    }
    if (CProgIdRegistry::Register(kApplicationProgId, kApplicationClsid) != ERROR_SUCCESS ||
        CProgIdRegistry::Register(kControlProgId, kControlClsid) != ERROR_SUCCESS)
    {
        return Report("cannot register the program ids", kExitNoAutomation);
    }

    CSimMainWindow window(instance, options.minimized.value_or(false));
    if (!window.Created())
    {
        return Report("cannot create the main window", kExitNoWindow);
    }
    CSimulator simulator(window);
    simulator.Configure(options);

    Microsoft::WRL::ComPtr<CControlObject> control;
    control.Attach(new CControlObject(simulator, window));
    // The application is published weakly: a strong entry holds an external
    // connection of its own for good, which would hide whether clients let
    // go of the application object. Under Wine a weak entry outlives its
    // first client only because the object implements IExternalConnection;
    // the control object does not, so it is published strongly.
    const CActiveObjectRegistration application(simulator.Application(), kApplicationClsid,
                                                ACTIVEOBJECT_WEAK);
    const CActiveObjectRegistration controlEntry(control.Get(), kControlClsid, ACTIVEOBJECT_STRONG);
    if (FAILED(application.Result()) || FAILED(controlEntry.Result()))
    {
        return Report("cannot enter the objects in the running object table", kExitNoAutomation);
    }

    PumpMessages(window.DocumentArea());
    return 0;
}

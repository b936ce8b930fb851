#include "entry/Exports.h"

#include <windows.h>

#include "bindings/CallContext.h"
#include "bindings/MainLibraryBinding.h"
#include "cad/InsertionDriver.h"
#include "common/StringTable.h"
#include "common/WinOwners.h"
#include "entry/ErrorBox.h"
#include "entry/ErrorFrame.h"
#include "entry/SatFileName.h"
#include "resources/resource.h"

using namespace qel;

namespace
{

// OLE for the length of one export, on the host's calling thread. False (after
// telling the user) when it cannot be started.
bool OleIsUsable(const COleInit& ole)
{
    if (ole.IsUsable())
        return true;
    ShowErrorBox(LoadMessage(IDS_OLE_INIT_FAILED).c_str());
    return false;
}

int RunInsertion(const void* part)
{
    CInsertionDriver driver;
    return driver.Run(part);
}

int RunOptions()
{
    CInsertionDriver driver;
    return driver.ShowOptions();
}

// The direct-file work shared by both forms: checks the arguments, completes
// the name with ".sat" and has the SAT writer write it.
int CreateDirectFile(const void* part, char* fileName, unsigned fileNameSize)
{
    if (part == nullptr || !CompleteSatFileName(fileName, fileNameSize))
        return 0;
    CInsertionDriver driver;
    return driver.WriteSatFile(part, fileName);
}

} // namespace

extern "C" int __stdcall QelCreate(const void* part)
{
    COleInit ole;
    if (!OleIsUsable(ole))
        return 0;
    int result = 0;
    CMainLibraryBinding mainLibrary;
    ErrorText error = RunInErrorFrame([&] {
        mainLibrary.Load();
        result = RunInsertion(part);
    });
    if (error == nullptr)
        return result;
    ShowErrorBox(error);
    return 0;
}

extern "C" int __stdcall QelCreate_2(const void* part, const char* parameters, char* errorBuffer,
                                     unsigned errorBufferSize)
{
    COleInit ole;
    if (!OleIsUsable(ole))
        return 0;
    int result = 0;
    CMainLibraryBinding mainLibrary;
    CCallContext context;
    ErrorText error = RunInErrorFrame([&] {
        context.SetText(parameters);
        mainLibrary.Load();
        result = RunInsertion(part);
    });
    if (error == nullptr)
        return result;
    CopyErrorText(errorBuffer, errorBufferSize, error);
    if (context.GetShowMessages())
        ShowErrorBox(error);
    return 0;
}

extern "C" int __stdcall QelOptions()
{
    COleInit ole;
    if (!OleIsUsable(ole))
        return 0;
    int result = 0;
    ErrorText error = RunInErrorFrame([&] { result = RunOptions(); });
    if (error == nullptr)
        return result;
    ShowErrorBox(error);
    return 0;
}

extern "C" int __stdcall QelOptions_2(const char* parameters, char* /*unusedBuffer*/,
                                      unsigned /*unusedSize*/)
{
    COleInit ole;
    if (!OleIsUsable(ole))
        return 0;
    int result = 0;
    CCallContext context;
    ErrorText error = RunInErrorFrame([&] {
        context.SetText(parameters);
        result = RunOptions();
    });
    if (error == nullptr)
        return result;
    // Shown whatever the parameter text says about messages.
    ShowErrorBox(error);
    return 0;
}

extern "C" int __stdcall QelCreateDirectFile(const void* part, char* fileName, unsigned fileNameSize)
{
    COleInit ole;
    if (!OleIsUsable(ole))
        return 0;
    int result = 0;
    ErrorText error = RunInErrorFrame([&] { result = CreateDirectFile(part, fileName, fileNameSize); });
    return error == nullptr ? result : 0;
}

extern "C" int __stdcall QelCreateDirectFile_2(const void* part, const char* parameters,
                                               char* /*unusedBuffer*/, unsigned /*unusedSize*/,
                                               char* fileName, unsigned fileNameSize)
{
    COleInit ole;
    if (!OleIsUsable(ole))
        return 0;
    int result = 0;
    CCallContext context;
    ErrorText error = RunInErrorFrame([&] {
        context.SetText(parameters);
        result = CreateDirectFile(part, fileName, fileNameSize);
    });
    return error == nullptr ? result : 0;
}

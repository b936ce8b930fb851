#include "entry/Exports.h"

#include <windows.h>

#include "bindings/CallContext.h"
#include "bindings/MainLibraryBinding.h"
#include "cad/InsertionDriver.h"
#include "common/ErrorMessage.h"
#include "common/StringTable.h"
#include "common/WinOwners.h"
#include "entry/ErrorBox.h"
#include "entry/ErrorFrame.h"
#include "entry/SatFileName.h"
#include "resources/resource.h"

using namespace qel;

namespace
{

// OLE for the length of one export, on the host's calling thread. A failure
// to start it is thrown as an error text like any other, so each export
// reports it by its own policy.
class CExportOle : public COleInit
{
public:
    CExportOle()
    {
        if (IsUsable())
            return;
        static CErrorMessage s_message;
        s_message.Throw(LoadMessage(IDS_OLE_INIT_FAILED));
    }
};

// messagesShown: whether the export shows its errors in a box, and so may
// show the box of a wait as well.
int RunInsertion(const void* part, bool messagesShown)
{
    CInsertionDriver driver;
    driver.SetMessagesShown(messagesShown);
    return driver.Run(part);
}

int RunOptions()
{
    CInsertionDriver driver;
    return driver.ShowOptions();
}

// The direct-file work shared by both forms: checks the arguments, completes
// the name with ".sat" and has the SAT writer write it. Nothing of it uses
// COM, so these exports leave OLE alone.
int CreateDirectFile(const void* part, char* fileName, unsigned fileNameSize)
{
    if (part == nullptr || !CompleteSatFileName(fileName, fileNameSize))
        return 0;
    CInsertionDriver driver;
    return driver.WriteSatFile(part, fileName);
}

// One export: the error frame around work, and the export's own way of
// reporting a failure.
template <class Work, class Report> int RunExport(Work&& work, Report&& report)
{
    int result = 0;
    ErrorText error = RunInErrorFrame([&] { result = work(); });
    if (error == nullptr)
        return result;
    report(error);
    return 0;
}

void ShowError(ErrorText error)
{
    ShowErrorBox(error);
}

// The direct-file exports report a failure through their result only.
void ReportNothing(ErrorText) {}

} // namespace

extern "C" int __stdcall QelCreate(const void* part)
{
    CMainLibraryBinding mainLibrary;
    return RunExport(
        [&]
        {
            const CExportOle ole;
            mainLibrary.Load();
            return RunInsertion(part, true);
        },
        ShowError);
}

extern "C" int __stdcall QelCreate_2(const void* part, const char* parameters, char* errorBuffer,
                                     unsigned errorBufferSize)
{
    CMainLibraryBinding mainLibrary;
    CCallContext context;
    return RunExport(
        [&]
        {
            context.SetText(parameters);
            const CExportOle ole;
            mainLibrary.Load();
            return RunInsertion(part, context.GetShowMessages());
        },
        [&](ErrorText error)
        {
            CopyErrorText(errorBuffer, errorBufferSize, error);
            if (context.GetShowMessages())
                ShowErrorBox(error);
        });
}

extern "C" int __stdcall QelOptions()
{
    return RunExport(
        []
        {
            const CExportOle ole;
            return RunOptions();
        },
        ShowError);
}

extern "C" int __stdcall QelOptions_2(const char* parameters, char* /*unusedBuffer*/,
                                      unsigned /*unusedSize*/)
{
    CCallContext context;
    // The error is shown whatever the parameter text says about messages.
    return RunExport(
        [&]
        {
            context.SetText(parameters);
            const CExportOle ole;
            return RunOptions();
        },
        ShowError);
}

extern "C" int __stdcall QelCreateDirectFile(const void* part, char* fileName,
                                             unsigned fileNameSize)
{
    return RunExport([&] { return CreateDirectFile(part, fileName, fileNameSize); }, ReportNothing);
}

extern "C" int __stdcall QelCreateDirectFile_2(const void* part, const char* parameters,
                                               char* /*unusedBuffer*/, unsigned /*unusedSize*/,
                                               char* fileName, unsigned fileNameSize)
{
    CCallContext context;
    return RunExport(
        [&]
        {
            context.SetText(parameters);
            return CreateDirectFile(part, fileName, fileNameSize);
        },
        ReportNothing);
}

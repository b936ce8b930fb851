#include "entry/Exports.h"

#include <string>

#include <windows.h>

#include "bindings/CallContext.h"
#include "bindings/MainLibraryBinding.h"
#include "cad/InsertionDriver.h"
#include "common/BoundedString.h"
#include "common/ErrorMessage.h"
#include "common/StringTable.h"
#include "common/Trace.h"
#include "common/WinOwners.h"
#include "entry/CallOrigin.h"
#include "entry/EarlierFile.h"
#include "entry/ErrorBox.h"
#include "entry/ErrorFrame.h"
#include "entry/SatFileName.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"

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
        CErrorMessage::Throw(LoadMessage(IDS_OLE_INIT_FAILED));
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
// the name with ".sat" and has the SAT writer write it. An earlier file of
// that name stays whole until the new one is written. Nothing of it uses
// COM, so these exports leave OLE alone.
int CreateDirectFile(const void* part, char* fileName, unsigned fileNameSize)
{
    const char* reason = "no part block";
    if (part == nullptr || !CompleteSatFileName(fileName, fileNameSize, &reason))
    {
        CTrace::Line("direct file not written: %s", reason);
        return 0;
    }
    CEarlierFile earlier(fileName);
    if (!earlier.IsSafe())
    {
        CTrace::Line("direct file not written: the earlier file %s cannot be moved aside "
                     "(error %lu)",
                     fileName, earlier.GetError());
        return 0;
    }
    CInsertionDriver driver;
    const int written = driver.WriteSatFile(part, fileName);
    if (written != 0)
        earlier.Replaced();
    return written;
}

// The trace's words for the host's part block: its total size (its first
// field), read so that a block the host got wrong cannot end the call here.
std::string PartBlockText(const void* part)
{
    if (part == nullptr)
        return "no part block";
    DWORD size = 0;
    if (!ReadProcessMemory(GetCurrentProcess(), part, &size, sizeof size, nullptr))
        return "an unreadable part block";
    return "a part block of " + std::to_string(size) + " bytes";
}

std::string QuotedText(const char* text, std::size_t most = static_cast<std::size_t>(-1))
{
    if (text == nullptr)
        return "null";
    return "\"" + std::string(text, BoundedLength(text, most)) + "\"";
}

// The host's file name buffer: its text (within the buffer) and its size.
std::string FileNameText(const char* fileName, unsigned size)
{
    return "file name " + QuotedText(fileName, size) + " in a buffer of " + std::to_string(size) +
           " bytes";
}

// One export: the trace (when the settings switch it on), the error frame
// around work, and the export's own way of reporting a failure. describe
// gives the arguments' text; it runs only when the trace is on.
template <class Describe, class Work, class Report>
int RunExport(const char* name, Describe&& describe, Work&& work, Report&& report)
{
    const CErrorMessage errorTexts; // the call's own, until it has reported them
    const CTrace trace(CSettingsFile::IsTraceOn());
    if (CTrace::IsOn())
    {
        try
        {
            // The origin first: a line cut at its bound (a long parameter text) keeps it.
            CTrace::Line("%s (%s) with %s", name, DescribeCallOrigin().c_str(), describe().c_str());
        }
        catch (...)
        {
            // out of memory: the arguments go untraced
        }
    }
    int result = 0;
    ErrorText error = RunInErrorFrame([&] { result = work(); });
    CTrace::Line("%s result %d%s%s", name, error == nullptr ? result : 0,
                 error != nullptr ? ", message: " : "", error != nullptr ? error : "");
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
        "QelCreate", [&] { return PartBlockText(part); },
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
        "QelCreate_2",
        [&]
        {
            return PartBlockText(part) + ", parameters " + QuotedText(parameters) +
                   ", an error buffer of " + std::to_string(errorBufferSize) + " bytes";
        },
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
        "QelOptions", [] { return std::string("no arguments"); },
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
        "QelOptions_2", [&] { return "parameters " + QuotedText(parameters); },
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
    return RunExport(
        "QelCreateDirectFile",
        [&] { return PartBlockText(part) + ", " + FileNameText(fileName, fileNameSize); },
        [&] { return CreateDirectFile(part, fileName, fileNameSize); }, ReportNothing);
}

extern "C" int __stdcall QelCreateDirectFile_2(const void* part, const char* parameters,
                                               char* /*unusedBuffer*/, unsigned /*unusedSize*/,
                                               char* fileName, unsigned fileNameSize)
{
    CCallContext context;
    return RunExport(
        "QelCreateDirectFile_2",
        [&]
        {
            return PartBlockText(part) + ", parameters " + QuotedText(parameters) + ", " +
                   FileNameText(fileName, fileNameSize);
        },
        [&]
        {
            context.SetText(parameters);
            return CreateDirectFile(part, fileName, fileNameSize);
        },
        ReportNothing);
}

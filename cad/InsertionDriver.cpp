#include "cad/InsertionDriver.h"

#include <cstring>

#include <wrl/client.h>

#include "bindings/SatWriterBinding.h"
#include "cad/PartBlockReader.h"
#include "cad/PartDirectoryLock.h"
#include "cad/SolidWorksCallFilter.h"
#include "common/AnsiPath.h"
#include "common/AutomationFailure.h"
#include "common/ErrorMessage.h"
#include "common/StringTable.h"
#include "common/Trace.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"
#include "ui/OptionsDlg.h"
#include "ui/PartFileDialog.h"

using Microsoft::WRL::ComPtr;

namespace qel
{

namespace
{

constexpr const char* kSolidWorksProgId = "SldWorks.Application";
constexpr const char* kSolidWorksRelease = "2001";

[[noreturn]] void ThrowStartSolidWorks()
{
    CErrorMessage::Throw(FormatMessageText(IDS_START_SOLIDWORKS, kSolidWorksRelease));
}

[[noreturn]] void ThrowMessage(unsigned id)
{
    CErrorMessage::Throw(LoadMessage(id));
}

// The running SolidWorks application object, or null when none is reachable.
ComPtr<IDispatch> FindRunningSolidWorks()
{
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(CBstr(kSolidWorksProgId).Get(), &clsid)))
        return nullptr;
    ComPtr<IUnknown> running;
    if (FAILED(GetActiveObject(clsid, nullptr, &running)) || running == nullptr)
        return nullptr;
    ComPtr<IDispatch> application;
    if (FAILED(running.As(&application)))
        return nullptr;
    return application;
}

} // namespace

// Gives SolidWorks' references back when the insertion ends, however it ends,
// before the call filter goes.
class CInsertionDriver::CSolidWorksRelease
{
public:
    explicit CSolidWorksRelease(CInsertionDriver& driver) : m_driver(driver) {}
    CSolidWorksRelease(const CSolidWorksRelease&) = delete;
    CSolidWorksRelease& operator=(const CSolidWorksRelease&) = delete;
    ~CSolidWorksRelease() { m_driver.ReleaseSolidWorks(); }

private:
    CInsertionDriver& m_driver;
};

CInsertionDriver::CInsertionDriver()
    : m_szPartFile(), m_szSatFile(), m_hMainWnd(nullptr), m_nDocType(0), m_pFileDialog(nullptr)
{
    static CPartFileDialog s_systemDialog;
    m_pFileDialog = &s_systemDialog;
}

CInsertionDriver::~CInsertionDriver()
{
    ReleaseResources();
}

int CInsertionDriver::Run(const void* part)
{
    m_pSettings = std::make_unique<CSettingsFile>(CSettingsFile::kFileName);
    TraceSettings("read from");
    // No directory stored and no usable temporary directory (TEMP too long
    // for the system): the lock, the SAT file and the part would land in
    // whatever the host's current directory is.
    if (m_pSettings->GetPartPath()[0] == '\0')
        ThrowCannotInsertPart(LoadMessage(IDS_NO_PART_DIRECTORY));
    // A relative directory ("parts", "\parts", "C:parts"), as hand-written
    // settings hold, would follow the host's current directory, which no user
    // chose: SolidWorks would read and save the part relative to its own.
    if (!IsFullPath(m_pSettings->GetPartPath()))
        ThrowCannotInsertPart(
            FormatMessageText(IDS_PART_DIRECTORY_RELATIVE, m_pSettings->GetPartPath()));
    // SolidWorks may accept a call and not answer it (a question of its own
    // open, a long rebuild): the host stays usable, and the user can switch
    // to SolidWorks or cancel.
    const CSolidWorksCallFilter filter(
        m_bShowMessages, m_pSettings->GetSolidWorksWaitSeconds(),
        [this] { return m_hMainWnd != nullptr; }, [this] { SwitchToSolidWorks(); });
    const CSolidWorksRelease release(*this);
    Connect();
    m_hMainWnd = FindMainWindow();
    CollectAttributes(part);
    MakeSatFileName();

    // Pass 0 takes the alphanumeric name only when its file exists; pass 1
    // the file-safe name, or the Save dialog when no name can be built.
    bool named = true;
    bool create = true;
    for (int pass = 0; pass < 2; ++pass)
    {
        named = ChoosePartFile(pass, pass) != 0;
        if (named)
        {
            create = FindExistingPartFile() != 0;
            if (!create)
                break;
        }
    }

    if (named)
    {
        // Other hosts on the part directory, on this workstation or others,
        // write the same TempSW.sat, may create this very part, and make
        // their documents active in a SolidWorks shared with this one: one
        // insertion at a time creates and opens its part.
        CPartDirectoryLock lock(m_pSettings->GetPartPath());
        LockPartDirectory(lock, create);
        // A part file that appeared while waiting is taken as it is.
        if (create && FindExistingPartFile() != 0)
            CreateFromSatFile(part);
        UnlockUpdates();
        InsertIntoAssembly();
    }
    LockUpdates();
    ReleaseResources();
    return named ? 1 : 0;
}

void CInsertionDriver::CreateFromSatFile(const void* part)
{
    // A SAT file that was not written must not be imported: a stale
    // TempSW.sat of an earlier part would become this part.
    if (WriteSatFile(part, m_szSatFile) == 0)
        ThrowCannotCreatePart(FormatMessageText(IDS_SAT_FILE_NOT_WRITTEN, m_szSatFile));
    CreatePartDocument();
}

int CInsertionDriver::ShowOptions()
{
    LockUpdates(); // no SolidWorks window is known here: nothing is locked
    // The dialog only shows the part directory: it is neither created nor
    // waited for (a server that is down, a mistyped path).
    m_pSettings = std::make_unique<CSettingsFile>(CSettingsFile::kFileName,
                                                  CSettingsFile::PartDirectory::AsStored);
    TraceSettings("read from");
    COptionsDlg dialog; // owned by the host's active window
    const int edited = m_pSettings->EditSettings(dialog);
    if (m_pSettings->HasWritten())
        TraceSettings("written to");
    else
        CTrace::Line("settings not written to %s: %s", m_pSettings->GetIniFile(),
                     edited != 0 ? "nothing changed" : "the options dialog was not set up");
    ReleaseResources();
    UnlockUpdates();
    return 1;
}

int CInsertionDriver::Connect()
{
    ComPtr<IDispatch> application = FindRunningSolidWorks();
    if (application == nullptr)
        ThrowStartSolidWorks();
    m_app.Attach(application.Detach(), true);

    std::string revision;
    try
    {
        revision = m_app.GetRevisionNumber();
    }
    catch (const CCallCancelled& cancelled)
    {
        // SolidWorks runs and did not answer: the user ended the insertion.
        ThrowCannotInsertPart(cancelled.what());
    }
    catch (const CAutomationFailure&)
    {
        // A SolidWorks that cannot tell its revision is no usable one.
        ThrowStartSolidWorks();
    }
    if (revision.compare(0, 2, "9.") != 0)
        ThrowStartSolidWorks();
    return 1;
}

void CInsertionDriver::CollectAttributes(const void* part)
{
    const CPartBlockReader reader(part);
    switch (reader.CollectAttributes(m_attributes))
    {
    case PartBlockResult::Collected:
        // No name can then be built, and the Save dialog asks for one.
        if (!reader.HasReadableFormat())
            CTrace::Line("part block: format words at offsets 4, 8, 12 not 0, 2, 54: no "
                         "attribute read");
        return;
    case PartBlockResult::NullBlock:
        ThrowMessage(IDS_GEOMETRY_POINTER_NULL);
    case PartBlockResult::NoGeometry:
    case PartBlockResult::Malformed:
        ThrowMessage(IDS_NO_GEOMETRY_DATA);
    case PartBlockResult::TwoDimensional:
        ThrowMessage(IDS_CANNOT_CREATE_2D_PART);
    }
}

int CInsertionDriver::MakeFileNameFromAttributes(char* buffer, int capacity, int mode)
{
    if (capacity <= 1)
        return 0; // no room for even one character
    const unsigned room = static_cast<unsigned>(capacity);
    int joined = mode == 0 ? m_attributes.JoinValuesAlnum(buffer, room)
                           : m_attributes.JoinValuesFileSafe(buffer, room);
    return joined == 1 || joined == -1 ? 1 : 0;
}

int CInsertionDriver::WriteSatFile(const void* part, const char* fileName)
{
    if (fileName == nullptr || *fileName == '\0' || part == nullptr)
        return 0;
    CSatWriterBinding writer;
    if (writer.SaveVersion(4, 0) == 0)
    {
        CTrace::Line("SAT file not written: the SAT writer refused save version 4.0: %s", fileName);
        return 0;
    }
    const int written = writer.CreateSatFile(part, fileName) != 0 ? 1 : 0;
    CTrace::Line("SAT file %s: %s", written ? "written" : "not written", fileName);
    return written;
}

void CInsertionDriver::TraceSettings(const char* what) const
{
    const char* stored = m_pSettings->GetStoredPartPath();
    const bool expanded = *stored != '\0' && std::strcmp(stored, m_pSettings->GetPartPath()) != 0;
    CTrace::Line("settings %s %s: PartPath=%s%s%s%s Overwrite=%d LockWaitSeconds=%u", what,
                 m_pSettings->GetIniFile(), m_pSettings->GetPartPath(),
                 expanded ? " (stored as " : "", expanded ? stored : "", expanded ? ")" : "",
                 m_pSettings->GetOverwrite(), m_pSettings->GetLockWaitSeconds());
    if (!m_pSettings->GetMutexNote().empty())
        CTrace::Line("%s", m_pSettings->GetMutexNote().c_str());
}

std::string CInsertionDriver::FailureText(const std::string& reason)
{
    char text[255];
    CopyBounded(text, sizeof(text), reason.c_str());
    return text;
}

void CInsertionDriver::LockUpdates()
{
    if (m_hMainWnd == nullptr)
        return;
    LockWindowUpdate(nullptr);
    LockWindowUpdate(m_hMainWnd);
}

void CInsertionDriver::UnlockUpdates()
{
    LockWindowUpdate(nullptr);
}

void CInsertionDriver::ReleaseSolidWorks()
{
    // A release goes to SolidWorks too: each is a call of its own under the
    // filter, with its box or bound, and no earlier cancel applies to it.
    {
        const CSolidWorksCallFilter::CCallScope call;
        m_refDoc.Empty();
    }
    const CSolidWorksCallFilter::CCallScope call;
    m_app.Empty();
}

void CInsertionDriver::ReleaseResources()
{
    UnlockUpdates();
    m_pSettings.reset();
}

} // namespace qel

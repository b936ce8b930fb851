#include "tools/swsim/Simulator.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include <ole2.h>

#include "tools/swsim/DispatchCall.h"
#include "tools/swsim/Handle.h"
#include "tools/swsim/MainWindow.h"
#include "tools/swsim/SatIdentity.h"
#include "tools/swsim/SimIds.h"

namespace swsim
{
namespace
{

constexpr wchar_t kDefaultRevision[] = L"9.0";
constexpr long kErrorNone = 0;
constexpr long kErrorGeneric = 1;
constexpr long kErrorFileNotFound = 2;
// SolidWorks holds one document of a name: another folder's file of that name is not opened.
constexpr long kErrorSameTitleOpen = 65536;
constexpr size_t kSaveNameMax = 255;
constexpr char kDocumentHeader[] = "QelSwSim document type=";
constexpr UINT kExitAtCall = 5;

std::wstring Hex(DISPID id)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%lX", static_cast<unsigned long>(id));
    return text;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsEmptyFile(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           data.nFileSizeLow == 0 && data.nFileSizeHigh == 0;
}

// The type a document file of this simulator names in its header; 0 for any
// other file (a cut one, another program's), which SolidWorks cannot read;
// -1 when the file cannot be read at all (another program holds it).
long SavedDocumentType(const std::wstring& path)
{
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
    {
        return -1;
    }
    char head[sizeof(kDocumentHeader)] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), head, sizeof(head), &read, nullptr) || read != sizeof(head) ||
        std::memcmp(head, kDocumentHeader, sizeof(head) - 1) != 0)
    {
        return 0;
    }
    const char type = head[sizeof(head) - 1];
    return type == '1' || type == '2' ? type - '0' : 0;
}

} // namespace

CSimulator::CSimulator(CSimMainWindow& window)
    : m_window(window), m_revision(kDefaultRevision),
      m_application(new CSimObject(*this, ObjectKind::App, 0)), m_documents(*this, window)
{
}

CSimulator::~CSimulator()
{
    // End every client connection first, so that no call arrives while the
    // objects are taken apart; objects still referenced then outlive us
    // detached.
    const std::vector<CSimObject*> objects = m_objects;
    for (CSimObject* object : objects)
    {
        CoDisconnectObject(static_cast<IDispatch*>(object), 0);
    }
    for (CSimObject* object : m_objects)
    {
        object->Detach();
    }
    m_objects.clear();
}

long CSimulator::OutstandingReferences() const
{
    long sum = 0;
    for (const CSimObject* object : m_objects)
    {
        sum += object->ExternalReferences();
    }
    return sum;
}

void CSimulator::Untrack(const CSimObject& object)
{
    m_objects.erase(std::remove(m_objects.begin(), m_objects.end(), &object), m_objects.end());
}

void CSimulator::Configure(const CSimOptions& options)
{
    if (options.reset)
    {
        Reset();
    }
    if (options.revision)
    {
        m_revision = *options.revision;
    }
    if (options.importType)
    {
        m_importType = *options.importType;
    }
    if (options.importRefused)
    {
        m_importRefused = *options.importRefused;
    }
    if (options.emptyAsVariantEmpty)
    {
        m_emptyAsVariantEmpty = *options.emptyAsVariantEmpty;
    }
    if (options.newAssembly)
    {
        m_newAssembly = *options.newAssembly;
    }
    if (options.minimized)
    {
        m_window.SetMinimized(*options.minimized);
    }
    for (const FailCallOption& fault : options.failCalls)
    {
        m_faults.Add(fault);
    }
    for (const FailDispidOption& fault : options.failDispids)
    {
        m_faults.Add(fault);
    }
    for (const FailHresultOption& fault : options.failHresults)
    {
        m_faults.Add(fault);
    }
    for (const AnswerOption& answer : options.answers)
    {
        m_faults.AddAnswer(answer);
    }
    if (options.exitAt)
    {
        m_faults.SetExitAt(*options.exitAt);
    }
    if (options.hangAt)
    {
        m_faults.SetHangAt(*options.hangAt);
    }
    if (options.askAt)
    {
        m_faults.SetAskAt(*options.askAt);
    }
    if (options.busyAt)
    {
        m_faults.SetBusyAt(*options.busyAt);
    }
    if (options.saveRefused)
    {
        m_saveRefused = *options.saveRefused;
    }
    if (options.holdFiles)
    {
        m_holdFiles = *options.holdFiles;
    }
    if (options.release)
    {
        m_hangReleased = true;
        AnswerQuestion();
    }
    if (options.area)
    {
        m_window.SetDocumentAreaSize(options.area->width, options.area->height);
    }
    if (options.noView)
    {
        m_documents.SetWithViews(!*options.noView);
    }
    if (options.showExtensions)
    {
        m_showExtensions = *options.showExtensions;
    }
    for (long type : options.componentTypes)
    {
        m_documents.CreateComponent(type);
    }
    for (long type : options.documentTypes)
    {
        m_documents.CreateNew(type);
    }
    for (const std::wstring& path : options.openPaths)
    {
        OpenFile(path);
    }
}

void CSimulator::OpenFile(const std::wstring& path)
{
    const long type = SavedDocumentType(path);
    if (type > 0 && !m_documents.FindPath(path) && !m_documents.FindTitle(FileNameOf(path)))
    {
        m_documents.Create(type, FileNameOf(path), path);
    }
}

void CSimulator::Reset()
{
    m_documents.Reset();
    m_faults.Clear();
    m_journal.Clear();
    m_revision = kDefaultRevision;
    m_importType = 1;
    m_importRefused = false;
    m_emptyAsVariantEmpty = false;
    m_newAssembly = true;
    m_showExtensions = true;
    m_holdFiles = false;
    m_saveRefused = false;
    m_window.SetMinimized(false);
    m_window.RestoreSize();
}

void CSimulator::HangUntilReleased()
{
    // Other calls (the control object's above all) are served meanwhile, as a
    // program busy in a modal loop serves them.
    m_hangReleased = false;
    MSG message;
    while (!m_hangReleased && GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void CSimulator::AskQuestion()
{
    // A box owned by the main window, as a program asks about a file or the
    // geometry in the middle of a call; its modal loop serves other calls.
    MessageBoxW(m_window.Handle(), L"Go on with this call?", kQuestionCaption,
                MB_OK | MB_ICONQUESTION);
}

void CSimulator::AnswerQuestion()
{
    HWND question = FindWindowW(L"#32770", kQuestionCaption);
    if (question != nullptr && GetWindow(question, GW_OWNER) == m_window.Handle())
    {
        PostMessageW(question, WM_COMMAND, IDOK, 0);
    }
}

HRESULT CSimulator::Invoke(const CSimObject& target, DISPID id, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argErr)
{
    const CDispatchCall call(flags, params);
    // Taken before the call runs: out-arguments are journaled as they came in.
    const std::wstring line =
        target.Name() + L" " + Hex(id) + L" " + call.KindText() + L" " + call.ArgumentsText();
    const CallPlace place = {m_journal.Count() + 1, target.Kind(), id,
                             m_journal.CountOf(target.Kind(), id) + 1};
    if (m_faults.ExitsAt(place))
    {
        // The program ends in the middle of the call, as a crash would end it.
        ExitProcess(kExitAtCall);
    }
    if (m_faults.HangsAt(place))
    {
        HangUntilReleased();
    }
    if (m_faults.AsksAt(place))
    {
        // Once: a call of another client served meanwhile gets the same number.
        m_faults.SetAskAt(std::nullopt);
        AskQuestion();
    }
    if (const DWORD busyMs = m_faults.BusyMsAt(place))
    {
        // Computing: no message is read, not even those of its own windows.
        Sleep(busyMs);
    }
    const std::wstring* fault = m_faults.FaultFor(place);
    const HRESULT* rejected = m_faults.HresultFor(place);
    CCallResult outcome = rejected ? CCallResult::Error(*rejected)
                          : fault  ? CCallResult::Fault(*fault)
                                   : Run(target, id, call, argErr);
    const std::wstring* answer = m_faults.AnswerFor(target.Kind(), id);
    if (answer && outcome.Succeeded())
    {
        outcome = CCallResult::Answer(*answer);
    }
    m_journal.Add(target.Kind(), id, line + L" -> " + outcome.JournalText());
    return outcome.Deliver(result, exception, m_emptyAsVariantEmpty);
}

CCallResult CSimulator::Run(const CSimObject& target, DISPID id, const CDispatchCall& call,
                            UINT* argErr)
{
    const CallSignature* signature = FindCallSignature(target.Kind(), id);
    if (!signature)
    {
        return CCallResult::Error(DISP_E_MEMBERNOTFOUND);
    }
    const HRESULT shape = call.Check(*signature, argErr);
    if (FAILED(shape))
    {
        return CCallResult::Error(shape);
    }
    if (target.Kind() == ObjectKind::App)
    {
        return RunApplication(id, call);
    }
    CSimDocument* document = m_documents.FindOwner(target);
    if (!document)
    {
        return CCallResult::Fault(L"The document is closed.");
    }
    return target.Kind() == ObjectKind::Doc ? RunDocument(*document, id, call)
                                            : RunView(*document, id);
}

CCallResult CSimulator::RunApplication(DISPID id, const CDispatchCall& call)
{
    switch (id)
    {
    case 12:
        return CCallResult::Text(m_revision);
    case 85:
        return DocumentResult(m_documents.First());
    case 9:
        // NewAssembly: a new, empty, active assembly (none without a template).
        return DocumentResult(m_newAssembly ? &m_documents.CreateNew(2) : nullptr);
    case 1:
        return DocumentResult(m_documents.Active());
    case 49:
        return LoadSatFile(call);
    case 33:
        return CloseDocument(call);
    case 99:
        return OpenDocument(call);
    case 91:
        return ActivateDocument(call);
    default:
        return CCallResult::Error(DISP_E_MEMBERNOTFOUND);
    }
}

CCallResult CSimulator::RunDocument(CSimDocument& document, DISPID id, const CDispatchCall& call)
{
    switch (id)
    {
    case 0x10049:
        return CCallResult::Int(document.Type());
    case 0x101C1:
        return DocumentResult(m_documents.Next(document));
    case 0x1018F:
        document.AddTextProperty(call.Text(0), call.Text(2));
        return CCallResult::Bool(true);
    case 0x10025:
        return SaveDocument(document, call.Text(0));
    case 0x10047:
        return DocumentTitle(document);
    case 0x10002:
        return document.HasView() ? CCallResult::Object(document.ViewObject())
                                  : CCallResult::Empty();
    case 0x100E1:
    case 0x10065:
    case 0x10068:
        return CCallResult::None();
    default:
        return CCallResult::Error(DISP_E_MEMBERNOTFOUND);
    }
}

CCallResult CSimulator::RunView(const CSimDocument& document, DISPID id)
{
    switch (id)
    {
    case 2:
        return CCallResult::Int(static_cast<long>(reinterpret_cast<LONG_PTR>(document.View())));
    case 17:
        InvalidateRect(document.View(), nullptr, TRUE);
        return CCallResult::None();
    default:
        return CCallResult::Error(DISP_E_MEMBERNOTFOUND);
    }
}

CCallResult CSimulator::SaveDocument(CSimDocument& document, const std::wstring& path)
{
    // SolidWorks refuses some names and places: false, nothing written.
    if (m_saveRefused || SaveRefused(document, path))
    {
        return CCallResult::Bool(false);
    }
    // Its own hold does not keep the document from saving over its file.
    document.ReleaseFile();
    const bool saved = document.SaveAs(path);
    if (m_holdFiles && !document.Path().empty())
    {
        document.HoldFile();
    }
    return CCallResult::Bool(saved);
}

CCallResult CSimulator::LoadSatFile(const CDispatchCall& call)
{
    const std::wstring path = call.Text(0);
    // SolidWorks answers false and opens nothing for a file it cannot read.
    if (m_importRefused || !FileExists(path))
    {
        return CCallResult::Bool(false);
    }
    // A new document, titled as SolidWorks titles new ones ("Part<n>").
    m_documents.CreateNew(m_importType).SetImported(SatIdentity(path));
    return CCallResult::Bool(true);
}

CCallResult CSimulator::CloseDocument(const CDispatchCall& call)
{
    // An empty title closes the active document, without saving it.
    const std::wstring title = call.Text(0);
    if (const CSimDocument* document =
            title.empty() ? m_documents.Active() : m_documents.FindName(title))
    {
        m_documents.Close(*document);
    }
    return CCallResult::None();
}

CCallResult CSimulator::OpenDocument(const CDispatchCall& call)
{
    constexpr size_t kErrorArg = 5;
    const std::wstring path = call.Text(0);
    const long type = call.Int(1);
    if (!FileExists(path))
    {
        call.SetOut(kErrorArg, kErrorFileNotFound);
        return CCallResult::Empty();
    }
    // SolidWorks cannot read an empty file (a save that never ended) as a
    // document, nor a cut one or another program's.
    if ((type != 1 && type != 2) || IsEmptyFile(path) || SavedDocumentType(path) == 0)
    {
        call.SetOut(kErrorArg, kErrorGeneric);
        return CCallResult::Empty();
    }
    CSimDocument* document = m_documents.FindPath(path);
    if (!document && m_documents.FindTitle(FileNameOf(path)))
    {
        call.SetOut(kErrorArg, kErrorSameTitleOpen);
        return CCallResult::Empty();
    }
    if (document)
    {
        // A file that is open already is not opened twice.
        m_documents.Activate(*document);
    }
    else
    {
        document = &m_documents.Create(type, FileNameOf(path), path);
        if (m_holdFiles)
        {
            document->HoldFile();
        }
    }
    call.SetOut(kErrorArg, kErrorNone);
    return DocumentResult(document);
}

CCallResult CSimulator::ActivateDocument(const CDispatchCall& call)
{
    constexpr size_t kErrorArg = 2;
    CSimDocument* document = m_documents.FindName(call.Text(0));
    if (!document)
    {
        call.SetOut(kErrorArg, kErrorGeneric);
        return CCallResult::Empty();
    }
    m_documents.Activate(*document);
    call.SetOut(kErrorArg, kErrorNone);
    return DocumentResult(document);
}

CCallResult CSimulator::DocumentTitle(const CSimDocument& document) const
{
    // The title as the window shows it: without extension when Windows hides them.
    return CCallResult::Text(m_showExtensions ? document.Title() : StemOf(document.Title()));
}

bool CSimulator::SaveRefused(const CSimDocument& document, const std::wstring& path) const
{
    const CSimDocument* holder = m_documents.FindTitle(FileNameOf(path));
    return FileNameOf(path).find(L'@') != std::wstring::npos || path.size() > kSaveNameMax ||
           (holder != nullptr && holder != &document);
}

CCallResult CSimulator::DocumentResult(const CSimDocument* document)
{
    return document ? CCallResult::Object(document->DocumentObject()) : CCallResult::Empty();
}

} // namespace swsim

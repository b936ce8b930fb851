// CInsertionDriver, the windows: the SolidWorks main window found through a
// document's view, and the last step of an insertion, which opens the part
// file, places its window in the lower right corner of the document area and
// activates it.
#include "cad/InsertionDriver.h"

#include <algorithm>
#include <optional>

#include "cad/OsVersion.h"
#include "cad/SolidWorksCallFilter.h"
#include "common/AutomationFailure.h"
#include "common/ErrorMessage.h"
#include "common/StringTable.h"
#include "resources/resource.h"

namespace qel
{

namespace
{
constexpr long kPartWindowWidth = 300;
constexpr long kPartWindowHeight = 200;
// OpenDoc's error when SolidWorks holds another folder's document of that name.
constexpr long kSameTitleAlreadyOpen = 65536;

// Restores the foreground lock time-out when the scope ends.
class CForegroundLockLift
{
public:
    explicit CForegroundLockLift(bool lift) : m_bLifted(lift)
    {
        if (!m_bLifted)
            return;
        SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &m_saved, 0);
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    }
    CForegroundLockLift(const CForegroundLockLift&) = delete;
    CForegroundLockLift& operator=(const CForegroundLockLift&) = delete;
    ~CForegroundLockLift()
    {
        if (m_bLifted)
            SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                  reinterpret_cast<PVOID>(static_cast<UINT_PTR>(m_saved)), 0);
    }

private:
    bool m_bLifted;
    DWORD m_saved = 0;
};

// The window SolidWorks waits in: an enabled, visible window its main window owns.
struct QuestionSearch
{
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindQuestion(HWND window, LPARAM search)
{
    auto& question = *reinterpret_cast<QuestionSearch*>(search);
    if (GetWindow(window, GW_OWNER) != question.owner || !IsWindowEnabled(window) ||
        !IsWindowVisible(window))
        return TRUE;
    question.found = window;
    return FALSE;
}
} // namespace

int CInsertionDriver::FindReferenceDocument(std::optional<CSwView>& view)
{
    // The first open assembly with a window of its own: the list begins with
    // the components of the first assembly opened, which have none. When no
    // assembly has one, the first assembly (the part's window then stays
    // where SolidWorks opens it); without any, the document SolidWorks offers.
    // The view read to decide is the one handed back: SolidWorks is asked for
    // each assembly's view once.
    CSwDoc firstAssembly;
    CSwDoc document = m_app.GetFirstDocument();
    while (!document.IsEmpty())
    {
        const bool assembly = document.GetType() == CSwDoc::kAssembly;
        if (assembly)
        {
            CSwView assemblyView = document.GetView();
            if (!assemblyView.IsEmpty())
            {
                m_refDoc = std::move(document);
                view = std::move(assemblyView);
                return 1;
            }
        }
        CSwDoc next = document.GetNextDocument();
        if (assembly && firstAssembly.IsEmpty())
            firstAssembly = std::move(document);
        document = std::move(next);
    }
    if (!firstAssembly.IsEmpty())
    {
        m_refDoc = std::move(firstAssembly);
        view.emplace(); // read already: it has none
        return 1;
    }
    m_refDoc = m_app.GetFallbackDocument();
    return m_refDoc.IsEmpty() ? 0 : 1;
}

HWND CInsertionDriver::FindMainWindow()
{
    if (m_app.IsEmpty())
        return nullptr;
    HWND result = nullptr;
    try
    {
        std::optional<CSwView> looked;
        FindReferenceDocument(looked);
        if (!m_refDoc.IsEmpty())
        {
            CSwView view = looked ? std::move(*looked) : m_refDoc.GetView();
            if (!view.IsEmpty())
            {
                result = view.GetWindowHandle();
                for (HWND parent = GetParent(result); parent != nullptr; parent = GetParent(result))
                    result = parent;
            }
        }
    }
    catch (const CCallCancelled& cancelled)
    {
        // The user's decision ends the insertion; nothing is written yet.
        ThrowCannotInsertPart(cancelled.what());
    }
    catch (const CAutomationFailure&)
    {
        // Without a main window the window steps do nothing.
    }
    return result;
}

int CInsertionDriver::InsertIntoAssembly()
{
    UnlockUpdates();
    ShowMainWindow();

    try
    {
        long error = 0;
        CSwDoc document = m_app.OpenPartFile(m_szPartFile, m_nDocType, &error);
        // Going on would report an insertion that never happened.
        if (document.IsEmpty() && (error & kSameTitleAlreadyOpen) != 0)
            throw CAutomationFailure(E_FAIL, FormatMessageText(IDS_NAMESAKE_OPEN, PartFileName()));
        if (document.IsEmpty())
            throw CAutomationFailure(
                E_FAIL, FormatMessageText(IDS_PART_FILE_NOT_OPENED, m_szPartFile, error));
        document.SetDocumentFlag(true);
        PlacePartWindow(document.GetBorrowed());
        RefreshPartView(document.GetBorrowed());
        const std::wstring title = document.GetTitle();
        m_app.ActivateDocument(DocumentName(title).c_str(), &error);
        document.FinishOpening();
    }
    catch (const CAutomationFailure& failure)
    {
        ThrowCannotInsertPart(failure.what());
    }
    return 1;
}

void CInsertionDriver::PlacePartWindow(IDispatch* document)
{
    if (document == nullptr || m_hMainWnd == nullptr)
        return;
    HWND client = GetWindow(m_hMainWnd, GW_CHILD); // the document area
    if (client == nullptr)
        return;
    try
    {
        CSwView view = CSwDoc(document, false).GetView();
        if (view.IsEmpty())
            return;
        // The view's ancestor right below the document area is its frame.
        HWND frame = nullptr;
        for (HWND w = view.GetWindowHandle(); w != client && w != nullptr; w = GetParent(w))
            frame = w;
        if (frame == nullptr || frame == client)
            return;
        RECT area = {};
        GetClientRect(client, &area);
        // In an area smaller than the window its top-left stays inside: a
        // caption above or left of the area would be out of the user's reach.
        MoveWindow(frame, std::max(0L, area.right - kPartWindowWidth),
                   std::max(0L, area.bottom - kPartWindowHeight), kPartWindowWidth,
                   kPartWindowHeight, TRUE);
    }
    catch (const CCallCancelled&)
    {
        throw;
    }
    catch (...)
    {
        // Placing the window is a courtesy: the part is open all the same.
    }
}

void CInsertionDriver::RefreshPartView(IDispatch* document)
{
    if (document == nullptr)
        return;
    try
    {
        CSwDoc borrowed(document, false);
        CSwView view = borrowed.GetView();
        if (view.IsEmpty())
            return;
        view.Repaint();
        borrowed.RefreshDocument();
    }
    catch (const CCallCancelled&)
    {
        throw;
    }
    catch (const CAutomationFailure&)
    {
        // A view that does not redraw now redraws later.
    }
}

void CInsertionDriver::BringToForeground(HWND window)
{
    if (!IsWindow(window))
        return;
    const COsVersion version;
    const CForegroundLockLift lift(version.IsWindows98OrLater() || version.IsWindowsNT5());
    SetForegroundWindow(window);
}

void CInsertionDriver::ShowMainWindow()
{
    // SolidWorks' window belongs to another process: ShowWindow would wait
    // until SolidWorks reads its messages, which a busy SolidWorks does not.
    if (IsIconic(m_hMainWnd))
        ShowWindowAsync(m_hMainWnd, SW_SHOWNORMAL);
    BringToForeground(m_hMainWnd);
}

void CInsertionDriver::SwitchToSolidWorks()
{
    if (m_hMainWnd == nullptr)
        return;
    if (IsIconic(m_hMainWnd))
        ShowWindowAsync(m_hMainWnd, SW_SHOWNORMAL);
    // One request only: SolidWorks activates asynchronously, and its main
    // window activated after its question would hide the question again.
    QuestionSearch search = {m_hMainWnd, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(m_hMainWnd, nullptr), &FindQuestion,
                      reinterpret_cast<LPARAM>(&search));
    BringToForeground(search.found != nullptr ? search.found : m_hMainWnd);
}

void CInsertionDriver::ThrowCannotInsertPart(const std::string& reason)
{
    CErrorMessage::Throw(FormatMessageText(IDS_CANNOT_INSERT_PART, FailureText(reason).c_str()));
}

} // namespace qel

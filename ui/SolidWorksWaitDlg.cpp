#include "ui/SolidWorksWaitDlg.h"

#include <utility>

#include "common/StringTable.h"
#include "resources/resource.h"
#include "ui/ModalDialog.h"

namespace qel
{

CSolidWorksWaitDlg::CSolidWorksWaitDlg(std::function<bool()> canSwitch,
                                       std::function<void()> switchTo)
    : m_canSwitch(std::move(canSwitch)), m_switchTo(std::move(switchTo))
{
}

CSolidWorksWaitDlg::~CSolidWorksWaitDlg()
{
    // The owner first takes input again, so that it is activated when the box goes.
    if (m_bOwnerDisabled)
        EnableWindow(m_hOwner, TRUE);
    m_bClosing = true;
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}

bool CSolidWorksWaitDlg::Show(unsigned seconds)
{
    if (m_bCreated)
    {
        if (m_hWnd != nullptr)
        {
            SetSeconds(seconds);
            EnableSwitch();
        }
        return true;
    }
    m_nSeconds = seconds;
    m_hOwner = CModalDialog::DefaultOwner();
    if (CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_SOLIDWORKS_WAIT), m_hOwner,
                           &CSolidWorksWaitDlg::DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr)
        return false;
    m_bCreated = true;
    EnableSwitch();
    // EnableWindow answers whether the window was disabled before.
    m_bOwnerDisabled = m_hOwner != nullptr && !EnableWindow(m_hOwner, FALSE);
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    return true;
}

WaitOutcome CSolidWorksWaitDlg::Serve()
{
    if (m_hWnd != nullptr)
    {
        ServeWindow(m_hWnd);
        for (HWND child = GetWindow(m_hWnd, GW_CHILD); child != nullptr && m_hWnd != nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
            ServeWindow(child);
    }
    return m_outcome;
}

void CSolidWorksWaitDlg::ServeWindow(HWND window)
{
    MSG message;
    while (m_hWnd != nullptr && PeekMessageA(&message, window, 0, 0, PM_REMOVE))
    {
        // The box takes no typed text: keys are the dialog manager's.
        if (!IsDialogMessageA(m_hWnd, &message))
            DispatchMessageA(&message);
    }
}

void CSolidWorksWaitDlg::EnableSwitch()
{
    // Before SolidWorks' window is known (its revision, its first document)
    // there is nothing to switch to.
    const HWND button = GetDlgItem(m_hWnd, IDC_SOLIDWORKS_SWITCH);
    const bool canSwitch = m_canSwitch();
    // A disabled button keeps no focus: Enter and Esc go on reaching Cancel.
    if (!canSwitch && GetFocus() == button)
        SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_hWnd, IDCANCEL)),
                     TRUE);
    EnableWindow(button, canSwitch ? TRUE : FALSE);
}

void CSolidWorksWaitDlg::SetSeconds(unsigned seconds)
{
    if (seconds == m_nSeconds && m_hWnd != nullptr)
        return;
    m_nSeconds = seconds;
    SetDlgItemTextA(
        m_hWnd, IDC_SOLIDWORKS_WAIT_TEXT,
        FormatMessageText(IDS_SOLIDWORKS_NOT_ANSWERING, static_cast<int>(seconds)).c_str());
}

void CSolidWorksWaitDlg::OnInitDialog()
{
    SetWindowTextA(m_hWnd, CModalDialog::ModuleTitle().c_str());
    SetDlgItemTextA(m_hWnd, IDC_SOLIDWORKS_SWITCH, LoadMessage(IDS_SOLIDWORKS_SWITCH).c_str());
    SetDlgItemTextA(m_hWnd, IDCANCEL, LoadMessage(IDS_OPTIONS_CANCEL).c_str());
    SetDlgItemTextA(
        m_hWnd, IDC_SOLIDWORKS_WAIT_TEXT,
        FormatMessageText(IDS_SOLIDWORKS_NOT_ANSWERING, static_cast<int>(m_nSeconds)).c_str());
    CModalDialog::CenterOnOwner(m_hWnd);
}

void CSolidWorksWaitDlg::OnCommand(int id)
{
    // Enter on a control that is no push button: the focused button.
    if (id == IDOK)
        id = GetDlgCtrlID(GetFocus());
    if (id == IDCANCEL)
    {
        m_outcome = WaitOutcome::Cancelled;
        EnableWindow(m_hOwner, TRUE);
        m_bOwnerDisabled = false;
        m_bClosing = true;
        DestroyWindow(m_hWnd);
    }
    else if (id == IDC_SOLIDWORKS_SWITCH)
        m_switchTo();
}

INT_PTR CALLBACK CSolidWorksWaitDlg::DialogProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<CSolidWorksWaitDlg*>(lParam)->m_hWnd = window;
    }
    auto* self = reinterpret_cast<CSolidWorksWaitDlg*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    switch (message)
    {
    case WM_INITDIALOG:
        self->OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        self->OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NCDESTROY:
        self->m_hWnd = nullptr;
        // Destroyed from outside (with the host's window): the user's cancel.
        if (!self->m_bClosing)
            self->m_outcome = WaitOutcome::Cancelled;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace qel

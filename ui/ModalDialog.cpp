#include "ui/ModalDialog.h"

#include <utility>
#include <vector>

#include "common/AnsiPath.h"
#include "common/StringTable.h"

namespace qel
{

namespace
{
// EnumThreadWindows' callback: keeps the first enabled, visible, unowned
// top-level window that is no tool window, and stops there.
BOOL CALLBACK TakeFrame(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
        GetWindow(window, GW_OWNER) != nullptr ||
        (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
} // namespace

CModalDialog::CModalDialog(unsigned templateId, HWND parent)
    : m_nTemplateId(templateId), m_hParent(parent)
{
}

INT_PTR CModalDialog::DoModal()
{
    m_failure = nullptr;
    const HWND owner = m_hParent != nullptr ? m_hParent : DefaultOwner();
    const INT_PTR result =
        DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(m_nTemplateId), owner,
                        &CModalDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (m_failure != nullptr)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    return result;
}

void CModalDialog::EndWithFailure(std::exception_ptr failure) noexcept
{
    if (m_failure == nullptr)
        m_failure = failure;
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, -1);
}

HWND CModalDialog::DefaultOwner()
{
    HWND active = GetActiveWindow();
    // The root owner: a tool window the frame owns would leave the frame usable.
    if (active != nullptr)
        return GetAncestor(active, GA_ROOTOWNER);
    // Another program is active: the host's own frame still owns the dialog,
    // or the user could go on working in it meanwhile.
    HWND frame = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &TakeFrame, reinterpret_cast<LPARAM>(&frame));
    return frame;
}

void CModalDialog::CenterOnOwner(HWND window)
{
    RECT own = {};
    RECT area = {};
    GetWindowRect(window, &own);
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner == nullptr || IsIconic(owner) || !IsWindowVisible(owner))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    else
        GetWindowRect(owner, &area);
    SetWindowPos(window, nullptr,
                 area.left + ((area.right - area.left) - (own.right - own.left)) / 2,
                 area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CModalDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_hWnd, result);
}

void CModalDialog::UpdateData(bool save)
{
    DoDataExchange(save);
}

std::string CModalDialog::ModuleTitle()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(ResourceModule(), path, MAX_PATH - 1);
    std::string title(path);
    const std::size_t separator = FindLastSeparator(title.c_str());
    title.erase(0, separator == std::string::npos ? 0 : separator + 1);
    const std::size_t dot = title.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        title.erase(dot);
    return title;
}

int CModalDialog::ShowMessage(const std::string& text, UINT type) const
{
    return MessageBoxA(m_hWnd, text.c_str(), ModuleTitle().c_str(), type);
}

void CModalDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CModalDialog::PressFocusedButton()
{
    HWND focus = GetFocus();
    if (focus == nullptr || GetParent(focus) != m_hWnd)
        return;
    const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0)
        return;
    SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                 reinterpret_cast<LPARAM>(focus));
}

void CModalDialog::ExchangeText(int id, std::string& value, bool save)
{
    HWND control = GetDlgItem(m_hWnd, id);
    if (control == nullptr)
        return;
    if (!save)
    {
        SetWindowTextA(control, value.c_str());
        return;
    }
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1);
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    value = text.data();
}

void CModalDialog::ExchangeCheck(int id, BOOL& value, bool save)
{
    if (GetDlgItem(m_hWnd, id) == nullptr)
        return;
    if (save)
        value = IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
    else
        CheckDlgButton(m_hWnd, id, value ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<CModalDialog*>(lParam)->m_hWnd = window;
    }
    auto* self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    try
    {
        return self->HandleMessage(message, wParam, lParam);
    }
    catch (...)
    {
        self->EndWithFailure(std::current_exception());
        return TRUE;
    }
}

INT_PTR CModalDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
    {
        RECT before = {};
        GetWindowRect(m_hWnd, &before);
        const BOOL result = OnInitDialog();
        // As the host's own dialogs do: centred unless the dialog placed itself.
        RECT after = {};
        GetWindowRect(m_hWnd, &after);
        if (EqualRect(&before, &after))
            CenterOnOwner(m_hWnd);
        return result;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            OnOK();
        else if (LOWORD(wParam) == IDCANCEL)
            OnCancel();
        else
            return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        return TRUE;
    case WM_HELP:
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT,
                          OnHelpInfo(*reinterpret_cast<const HELPINFO*>(lParam)));
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_NCDESTROY:
        m_hWnd = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace qel

// A modal dialog from a resource template, in plain Win32: the dialog
// procedure finds its object through WM_INITDIALOG's lParam (kept in
// DWLP_USER) and hands each message or command to one virtual handler. Data
// exchange covers what the plug-in's dialogs need: an edit field's text and a
// check box's state. A dialog given no parent is owned by the host's active
// window, which is disabled while it runs; it opens centred on its owner.
// No C++ exception leaves a handler through the system's frames: the first
// one ends the dialog and DoModal throws it again once the dialog is gone.
#pragma once

#include <exception>
#include <string>

#include <windows.h>

namespace qel
{

class CModalDialog
{
public:
    CModalDialog(unsigned templateId, HWND parent);
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;
    virtual ~CModalDialog() = default;

    // Attributes
    HWND GetHwnd() const { return m_hWnd; }

    // Operations
    // Runs the dialog from the plug-in's resources; its EndDialog result, or
    // -1 when the template cannot be loaded. Throws what a handler threw.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    // Moves the exchange variables into the controls (save false) or the
    // controls' values into the variables (save true).
    void UpdateData(bool save);
    // The module whose file name (without extension) captions its message boxes.
    static std::string ModuleTitle();
    int ShowMessage(const std::string& text, UINT type) const;
    // The owner of a dialog given none: the active window of the calling
    // thread (its root owner: the frame when a child or a window the frame
    // owns is active), else the thread's
    // enabled, visible, unowned top-level window (the host's frame while
    // another program is active); null in a host without windows.
    static HWND DefaultOwner();
    // Centres window on its owner, or on the work area when it has none.
    static void CenterOnOwner(HWND window);
    // Ends the dialog because a handler failed; DoModal throws the failure.
    void EndWithFailure(std::exception_ptr failure) noexcept;

protected:
    // Overrideables
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void DoDataExchange(bool /*save*/) {}
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A command other than OK and Cancel; false when not handled.
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    virtual BOOL OnHelpInfo(const HELPINFO& /*info*/) { return FALSE; }
    virtual void OnTimer(UINT_PTR /*id*/) {}

    // Enter as the focused push button's click (the dialog manager sends
    // IDOK whatever has the focus); nothing when the focus is elsewhere.
    void PressFocusedButton();
    void ExchangeText(int id, std::string& value, bool save);
    void ExchangeCheck(int id, BOOL& value, bool save);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    unsigned m_nTemplateId;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
    std::exception_ptr m_failure;
};

} // namespace qel

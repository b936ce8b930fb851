#include "ui/OptionsDlg.h"

#include "common/StringTable.h"
#include "resources/resource.h"
#include "ui/ChooseDir.h"

namespace qel
{

namespace
{

struct HelpEntry
{
    int controlId;
    unsigned stringId;
};

// Context help: control id -> string id.
constexpr HelpEntry kHelpTable[] = {
    {IDOK, IDS_HELP_OK},
    {IDCANCEL, IDS_HELP_CANCEL},
    {IDC_OPTIONS_APPLY, IDS_HELP_APPLY},
    {IDC_OPTIONS_PATH, IDS_HELP_PATH},
    {IDC_OPTIONS_BROWSE, IDS_HELP_BROWSE},
    {IDC_OPTIONS_OVERWRITE, IDS_HELP_OVERWRITE},
};

constexpr INT_PTR kResultSetupFailed = CSettingsFile::IEditor::kSetupFailed;

} // namespace

COptionsDlg::COptionsDlg(HWND parent) : CModalDialog(IDD_OPTIONS, parent)
{
    m_helpTip.SetFailureHandler([this](std::exception_ptr failure) { EndWithFailure(failure); });
}

void COptionsDlg::SetPartPath(const char* path)
{
    CopyBounded(m_szPartPath, sizeof(m_szPartPath), path);
    CopyBounded(m_szWorkPath, sizeof(m_szWorkPath), path);
}

void COptionsDlg::SetOverwrite(BOOL overwrite)
{
    m_bOverwrite = overwrite;
    m_bWorkOverwrite = overwrite;
}

void COptionsDlg::TellKept(const std::string& text)
{
    MessageBoxA(DefaultOwner(), text.c_str(), ModuleTitle().c_str(), MB_OK | MB_ICONINFORMATION);
}

BOOL COptionsDlg::OnInitDialog()
{
    SetWindowTextA(GetHwnd(), LoadMessage(IDS_OPTIONS_CAPTION).c_str());
    if (!SetItemText(IDOK, IDS_OPTIONS_OK) || !SetItemText(IDCANCEL, IDS_OPTIONS_CANCEL) ||
        !SetItemText(IDC_OPTIONS_APPLY, IDS_OPTIONS_APPLY) ||
        !SetItemText(IDC_OPTIONS_LABEL, IDS_OPTIONS_LABEL))
    {
        ShowMessage("Creating Dialog failed", MB_OK | MB_ICONEXCLAMATION);
        EndDialog(kResultSetupFailed);
        return TRUE;
    }
    m_strPathText = m_szWorkPath;
    m_bCheck = m_bWorkOverwrite;
    EnableApply(false);
    UpdateData(false);
    return TRUE;
}

void COptionsDlg::DoDataExchange(bool save)
{
    ExchangeText(IDC_OPTIONS_PATH, m_strPathText, save);
    ExchangeCheck(IDC_OPTIONS_OVERWRITE, m_bCheck, save);
}

void COptionsDlg::OnOK()
{
    Commit();
    CModalDialog::OnOK();
}

void COptionsDlg::OnCancel()
{
    EndDialog(IDCANCEL); // nothing committed
}

bool COptionsDlg::OnCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id)
    {
    case IDC_OPTIONS_OVERWRITE:
        OnCheckOverwrite();
        return true;
    case IDC_OPTIONS_BROWSE:
        OnBrowse();
        return true;
    case IDC_OPTIONS_APPLY:
        OnApply();
        return true;
    default:
        return false;
    }
}

BOOL COptionsDlg::OnHelpInfo(const HELPINFO& info)
{
    if (info.iContextType != HELPINFO_WINDOW)
        return TRUE;
    for (const HelpEntry& entry : kHelpTable)
    {
        if (entry.controlId == info.iCtrlId)
        {
            m_helpTip.ShowTip(LoadMessage(entry.stringId).c_str(),
                              static_cast<HWND>(info.hItemHandle));
            break;
        }
    }
    return TRUE;
}

void COptionsDlg::OnCheckOverwrite()
{
    UpdateData(true);
    m_bWorkOverwrite = m_bCheck;
    EnableApply(true);
}

void COptionsDlg::OnBrowse()
{
    char directory[kPathBufferSize] = {};
    CopyBounded(directory, sizeof(directory), m_szWorkPath);
    if (CChooseDir::ChooseDirectory(directory, sizeof(directory), GetHwnd()) != 1)
        return;
    CopyBounded(m_szWorkPath, sizeof(m_szWorkPath), directory);
    m_strPathText = m_szWorkPath;
    UpdateData(false);
    EnableApply(true);
}

void COptionsDlg::OnApply()
{
    Commit();
    EnableApply(false);
}

void COptionsDlg::Commit()
{
    CopyBounded(m_szPartPath, sizeof(m_szPartPath), m_szWorkPath);
    m_bOverwrite = m_bWorkOverwrite;
}

void COptionsDlg::EnableApply(bool enable)
{
    if (HWND apply = GetDlgItem(GetHwnd(), IDC_OPTIONS_APPLY))
        EnableWindow(apply, enable ? TRUE : FALSE);
}

bool COptionsDlg::SetItemText(int controlId, unsigned stringId)
{
    HWND control = GetDlgItem(GetHwnd(), controlId);
    if (control == nullptr)
        return false;
    SetWindowTextA(control, LoadMessage(stringId).c_str());
    ShowWindow(control, SW_SHOW);
    return true;
}

} // namespace qel

// The options dialog (template 129): the part directory, shown read-only and
// changed only through the directory chooser, with Apply, OK and Cancel, and
// context help in a tooltip. It keeps a working copy (what the controls show)
// and a committed copy (what OK and Apply confirmed, read by the caller).
#pragma once

#include <string>

#include "common/BoundedString.h"
#include "ui/HelpToolTip.h"
#include "ui/ModalDialog.h"
#include "settings/SettingsFile.h"

namespace qel
{

class COptionsDlg : public CModalDialog, public CSettingsFile::IEditor
{
public:
    explicit COptionsDlg(HWND parent = nullptr);

    // Attributes
    const char* GetPartPath() const override { return m_szPartPath; }
    BOOL GetOverwrite() const override { return m_bOverwrite; }

    // Operations
    void SetPartPath(const char* path) override;
    void SetOverwrite(BOOL overwrite) override;
    // 1 after OK, 2 after Cancel, 3 when the set-up failed.
    INT_PTR DoModal() override { return CModalDialog::DoModal(); }
    // A box owned by the host's window (the dialog has closed by then).
    void TellKept(const std::string& text) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    BOOL OnHelpInfo(const HELPINFO& info) override;

private:
    void OnCheckOverwrite();
    void OnBrowse();
    void OnApply();
    void Commit();
    void EnableApply(bool enable);
    // Sets the control's text from the string table and shows it; false when
    // the template lacks the control.
    bool SetItemText(int controlId, unsigned stringId);

    char m_szPartPath[kPathBufferSize] = {};
    char m_szWorkPath[kPathBufferSize] = {};
    BOOL m_bOverwrite = FALSE;
    BOOL m_bWorkOverwrite = FALSE;
    CHelpToolTip m_helpTip;
    std::string m_strPathText;
    BOOL m_bCheck = FALSE;
};

} // namespace qel

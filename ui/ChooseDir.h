// The directory chooser: the system's old-style Save dialog on template 101,
// which hides every file control and shows the directory list, the drive
// list and an edit field holding the chosen directory. OK checks the
// directory itself and offers to create a missing one; a dummy file name
// ("Junk") keeps the dialog's own OK processing satisfied.
#pragma once

#include <cstddef>
#include <exception>
#include <string>

#include <windows.h>

namespace qel
{

class CChooseDir
{
public:
    // Lets the user choose a directory, starting in the one that directory
    // (size bytes, at least 260) holds. 1 with the chosen full path and one
    // trailing backslash in directory; 0 when cancelled, directory unchanged.
    // The process's current directory is the same afterwards. Without a
    // parent the host's active window owns the dialog. Throws what a check
    // threw, once the dialog is gone.
    static int ChooseDirectory(char* directory, std::size_t size, HWND parent);

private:
    CChooseDir() = default;

    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR HandleMessage(UINT message, WPARAM wParam);
    void OnInitDialog();
    void OnListSelectionChanged();
    void OnPaint();
    // True keeps the dialog open.
    bool OnFileNameOK();

    // After the dialog has moved to another drive: the directory it shows now.
    void OnDriveChanged();
    // The directory the list's selection names; at set-up the directory the
    // dialog shows.
    std::string DirectoryFromList(bool atSetUp) const;
    int Message(const char* format, UINT type) const;
    void RefreshOntoCurrentDirectory();

    HWND m_hWnd = nullptr;
    std::string m_strDir;
    bool m_bFirstPaint = false;
    std::exception_ptr m_failure;
};

} // namespace qel

#include "ui/PartFileDialog.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "common/WinOwners.h"
#include "ui/ModalDialog.h"

namespace qel
{

namespace
{
// One entry: "Solid Works Part / Assembly (*.SLDPRT;*.SLDASM)|*.SLDPRT;*.SLDASM||".
constexpr char kFilter[] = "Solid Works Part / Assembly (*.SLDPRT;*.SLDASM)\0*.SLDPRT;*.SLDASM\0";

// The longest directory path a directory can have (room left for an 8.3 file
// name). A longer initial directory cannot exist, and the dialog may not cope
// with it (Wine's crashes on one of 259 characters): the dialog then opens
// where it would without one.
constexpr std::size_t kMaxDirectoryPath = MAX_PATH - 12;

const char* UsableInitialDirectory(const char* directory)
{
    if (directory == nullptr || strnlen(directory, kMaxDirectoryPath) >= kMaxDirectoryPath)
        return nullptr;
    return directory;
}
} // namespace

bool CPartFileDialog::Choose(const char* initialDirectory, const char* title, char* path,
                             std::size_t pathSize)
{
    if (path == nullptr || pathSize == 0)
        return false;
    path[0] = '\0'; // no initial file name
    // The dialog moves the current directory as the user navigates (also
    // when the user cancels); the host's relative paths need it back.
    const CCurrentDirectory restore;
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = CModalDialog::DefaultOwner();
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(pathSize);
    dialog.lpstrInitialDir = UsableInitialDirectory(initialDirectory);
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_HIDEREADONLY;
    dialog.lpstrDefExt = nullptr; // no default extension
    if (!GetSaveFileNameA(&dialog))
    {
        path[0] = '\0';
        return false;
    }
    path[pathSize - 1] = '\0';
    return true;
}

} // namespace qel

#include "ui/PartFileDialog.h"

#include <windows.h>
#include <commdlg.h>

namespace qel
{

namespace
{
// One entry: "Solid Works Part / Assembly (*.SLDPRT;*.SLDASM)|*.SLDPRT;*.SLDASM||".
constexpr char kFilter[] = "Solid Works Part / Assembly (*.SLDPRT;*.SLDASM)\0*.SLDPRT;*.SLDASM\0";
} // namespace

bool CPartFileDialog::Choose(const char* initialDirectory, const char* title, char* path,
                             std::size_t pathSize)
{
    if (path == nullptr || pathSize == 0)
        return false;
    path[0] = '\0'; // no initial file name
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    // There is no framework window to own the dialog: the host's active one does.
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(pathSize);
    dialog.lpstrInitialDir = initialDirectory;
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

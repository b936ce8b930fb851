#include "ui/ChooseDir.h"

#include <cctype>
#include <vector>

#include <commdlg.h>
#include <dlgs.h>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/Platform.h"
#include "common/StringTable.h"
#include "common/WinOwners.h"
#include "resources/resource.h"
#include "ui/DirectoryListPath.h"
#include "ui/ModalDialog.h"

namespace qel
{

namespace
{

constexpr const char* kObjectProperty = "QelChooseDir";
constexpr const char* kDummyFileName = "Junk";
constexpr const char* kInvalidCharacters = "*?|/<>\"";
constexpr int kDriveListShift = 1000;
// Posted to the dialog after a drive change, so that it is handled once the
// dialog has read the new drive.
constexpr UINT kDriveChanged = WM_APP + 1;

// The chooser's own texts, chosen from the system default language.
struct ChooserTexts
{
    const char* caption;
    const char* drives;
    const char* help;
    const char* readOnly;
    const char* directory;
    const char* cancel;
    const char* ok;
};

constexpr ChooserTexts kGermanTexts = {"Teile Verzeichnis ausw\xE4hlen",
                                       "Laufwerke:",
                                       "Hilfe",
                                       "read only",
                                       "Verzeichnis",
                                       "Abbrechen",
                                       "OK"};
constexpr ChooserTexts kEnglishTexts = {"Directory for parts", "drive:", "&help", "read only",
                                        "Directory",           "Cancel", "OK"};

const ChooserTexts& TextsForSystemLanguage()
{
    return (SystemDefaultLangId() & 0x3FF) == LANG_GERMAN ? kGermanTexts : kEnglishTexts;
}

void SetTextIfPresent(HWND dialog, int id, const char* text)
{
    if (HWND control = GetDlgItem(dialog, id))
        SetWindowTextA(control, text);
}

std::string ListItemText(HWND list, int index)
{
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

std::string CurrentDirectory()
{
    char directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    return length > 0 && length < MAX_PATH ? directory : "";
}

std::string WindowText(HWND window)
{
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1);
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

bool IsDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "X:" of a drive-relative path ("X:parts") whose drive is there: the chooser
// then opens on that drive's current directory; "" otherwise.
std::string DriveOfRelativePath(const std::string& path)
{
    const std::string drive = path.substr(0, 2);
    return path.size() > 2 && path[1] == ':' && IsDirectory(drive) ? drive : std::string();
}

// The directory itself when it exists, else its nearest existing level; ""
// when no level exists (a drive that is missing or not ready).
std::string NearestExistingLevel(std::string directory)
{
    while (!directory.empty() && !IsDirectory(directory))
    {
        if (IsPathSeparator(LastCharacter(directory.c_str())))
            directory.pop_back();
        const std::size_t separator = FindLastSeparator(directory.c_str());
        if (separator == std::string::npos || separator + 1 >= directory.size())
            return DriveOfRelativePath(directory);
        directory.resize(separator + 1);
    }
    return directory;
}

// A full path: on a drive ("C:\...") or a share ("\\server\share\...").
bool IsRooted(const char* path)
{
    const char drive = static_cast<char>(path[0] & ~0x20); // upper case, for ASCII letters
    return (drive >= 'A' && drive <= 'Z' && path[1] == ':') ||
           (IsPathSeparator(path[0]) && IsPathSeparator(path[1]));
}

} // namespace

int CChooseDir::ChooseDirectory(char* directory, std::size_t size, HWND parent)
{
    if (directory == nullptr || size < kPathBufferSize)
        return 0;
    // The dialog moves the current directory as the user navigates; the
    // host's relative paths need it back.
    const CCurrentDirectory restore;
    CChooseDir chooser;
    char fileName[kPathBufferSize] = {};
    char fileTitle[kPathBufferSize] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = parent != nullptr ? parent : CModalDialog::DefaultOwner();
    dialog.hInstance = ResourceModule();
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof(fileName);
    dialog.lpstrFileTitle = fileTitle;
    dialog.nMaxFileTitle = sizeof(fileTitle);
    // A stored directory that is gone opens on its nearest existing level,
    // not on whatever the host's current directory is.
    const std::string start = NearestExistingLevel(directory);
    dialog.lpstrInitialDir = start.empty() ? directory : start.c_str();
    // Not one level is there: the chooser opens where the system puts it,
    // and the user must know why before taking that directory.
    if (start.empty() && IsRooted(directory))
        MessageBoxA(dialog.hwndOwner, FormatMessageText(IDS_DRIVE_NOT_READY, directory).c_str(),
                    CModalDialog::ModuleTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    dialog.Flags =
        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_SHOWHELP | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
    dialog.lpfnHook = &CChooseDir::HookProc;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_CHOOSE_DIR);
    dialog.lCustData = reinterpret_cast<LPARAM>(&chooser);
    const BOOL chosen = GetSaveFileNameA(&dialog);
    if (chooser.m_failure != nullptr)
        std::rethrow_exception(chooser.m_failure);
    if (!chosen)
        return 0;
    CopyBounded(directory, size, chooser.m_strDir.c_str());
    if (directory[0] != '\0' && LastCharacter(directory) != '\\')
        AppendBounded(directory, size, "\\");
    return 1;
}

UINT_PTR CALLBACK CChooseDir::HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        auto* self = reinterpret_cast<CChooseDir*>(
            reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
        SetPropA(dialog, kObjectProperty, self);
        self->m_hWnd = dialog;
    }
    auto* self = static_cast<CChooseDir*>(GetPropA(dialog, kObjectProperty));
    if (self == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY)
        RemovePropA(dialog, kObjectProperty);
    if (self->m_failure != nullptr)
        return FALSE; // cancelled already: nothing more of ours runs
    try
    {
        return self->HandleMessage(message, wParam);
    }
    catch (...)
    {
        // No exception may pass the system's frames: the dialog is cancelled
        // and ChooseDirectory throws it again.
        self->m_failure = std::current_exception();
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE); // an OK stays unaccepted
        return TRUE;
    }
}

UINT_PTR CChooseDir::HandleMessage(UINT message, WPARAM wParam)
{
    static const UINT s_fileNameOk = RegisterWindowMessageA(FILEOKSTRINGA);
    static const UINT s_selectionChanged = RegisterWindowMessageA(LBSELCHSTRINGA);
    if (message == WM_INITDIALOG)
    {
        OnInitDialog();
        return FALSE; // the focus is placed already
    }
    if (message == s_fileNameOk)
    {
        const BOOL keepOpen = OnFileNameOK() ? TRUE : FALSE;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, keepOpen);
        return keepOpen;
    }
    const bool driveList =
        (message == s_selectionChanged && wParam == cmb2) ||
        (message == WM_COMMAND && LOWORD(wParam) == cmb2 && HIWORD(wParam) == CBN_SELCHANGE);
    if (driveList)
        PostMessageA(m_hWnd, kDriveChanged, 0, 0);
    else if (message == kDriveChanged)
        OnDriveChanged();
    else if (message == s_selectionChanged ||
             (message == WM_COMMAND && LOWORD(wParam) == lst2 && HIWORD(wParam) == LBN_SELCHANGE))
        OnListSelectionChanged();
    else if (message == WM_PAINT && m_bFirstPaint)
        OnPaint();
    return FALSE;
}

void CChooseDir::OnInitDialog()
{
    const ChooserTexts& texts = TextsForSystemLanguage();
    SetWindowTextA(m_hWnd, texts.caption);
    SetTextIfPresent(m_hWnd, IDC_CHOOSE_DIR_LABEL, texts.directory);
    SetTextIfPresent(m_hWnd, stc4, texts.drives);
    SetTextIfPresent(m_hWnd, pshHelp, texts.help);
    SetTextIfPresent(m_hWnd, chx1, texts.readOnly);
    SetTextIfPresent(m_hWnd, IDCANCEL, texts.cancel);
    SetTextIfPresent(m_hWnd, IDOK, texts.ok);

    CModalDialog::CenterOnOwner(m_hWnd);

    for (int id : {stc2, stc3, edt1, lst1, cmb1, stc1, chx1})
        if (HWND control = GetDlgItem(m_hWnd, id))
            ShowWindow(control, SW_HIDE);
    if (HWND help = GetDlgItem(m_hWnd, pshHelp))
        EnableWindow(help, FALSE);
    SetTextIfPresent(m_hWnd, edt1, kDummyFileName);

    m_strDir = DirectoryFromList(true);
    if (!m_strDir.empty())
    {
        m_strDir = UpperCaseCodePage(m_strDir);
        SetTextIfPresent(m_hWnd, IDC_CHOOSE_DIR_EDIT, m_strDir.c_str());
    }
    SetFocus(GetDlgItem(m_hWnd, lst2));
    m_bFirstPaint = true;
}

void CChooseDir::OnListSelectionChanged()
{
    m_strDir = DirectoryFromList(false);
    if (!m_strDir.empty())
        SetTextIfPresent(m_hWnd, IDC_CHOOSE_DIR_EDIT, m_strDir.c_str());
}

void CChooseDir::OnDriveChanged()
{
    // The list's selection may still name a level of the drive before: the
    // field shows the directory the dialog has moved to.
    m_strDir = DirectoryFromList(true);
    if (m_strDir.empty())
        m_strDir = CurrentDirectory();
    SetTextIfPresent(m_hWnd, IDC_CHOOSE_DIR_EDIT, m_strDir.c_str());
}

void CChooseDir::OnPaint()
{
    // The first paint selects the drive root, without notification.
    m_bFirstPaint = false;
    SendDlgItemMessageA(m_hWnd, lst2, LB_SETCURSEL, 0, 0);
}

std::string CChooseDir::DirectoryFromList(bool atSetUp) const
{
    HWND list = GetDlgItem(m_hWnd, lst2);
    const LRESULT selected = list != nullptr ? SendMessageA(list, LB_GETCURSEL, 0, 0) : LB_ERR;
    const std::string root = ListItemText(list, 0);
    const bool levels = root.size() >= 3 && root[1] == ':' && root[2] == '\\';
    if (selected == LB_ERR && (levels || !atSetUp))
        return std::string();
    if (levels)
    {
        // Windows' list: the drive root, the levels down to the current
        // directory, then its subdirectories.
        std::vector<std::string> items;
        for (int i = 0; i <= static_cast<int>(selected); ++i)
            items.push_back(ListItemText(list, i));
        return DirectoryListPath(items, static_cast<std::size_t>(selected), CurrentDirectory());
    }
    // A list of names in brackets ("[..]", "[sub]", "[-c-]") below the
    // current directory that stc1 shows.
    std::string current = WindowText(GetDlgItem(m_hWnd, stc1));
    if (current.empty())
        current = CurrentDirectory();
    if (atSetUp)
        return current;
    std::string item = ListItemText(list, static_cast<int>(selected));
    if (item.size() < 3 || item.front() != '[' || item.back() != ']')
        return current;
    item = item.substr(1, item.size() - 2);
    if (item.size() == 3 && item[0] == '-' && item[2] == '-')
        return std::string(1, item[1]) + ":\\";
    if (item == "..")
    {
        // The parent: up to the separator before the last level.
        std::string level = current;
        if (IsPathSeparator(LastCharacter(level.c_str())))
            level.pop_back();
        const std::size_t separator = FindLastSeparator(level.c_str());
        return separator == std::string::npos ? current : current.substr(0, separator + 1);
    }
    AppendSeparatorIfMissing(current);
    return current + item;
}

int CChooseDir::Message(const char* format, UINT type) const
{
    char text[kPathBufferSize + 64];
    FormatBounded(text, sizeof(text), format, m_strDir.c_str());
    return MessageBoxA(m_hWnd, text, CModalDialog::ModuleTitle().c_str(),
                       type | MB_ICONEXCLAMATION);
}

bool CChooseDir::OnFileNameOK()
{
    m_strDir = WindowText(GetDlgItem(m_hWnd, IDC_CHOOSE_DIR_EDIT));
    if (FindCharacterOf(m_strDir.c_str(), kInvalidCharacters) != std::string::npos)
    {
        Message("%s is not a valid pathname !", MB_OK);
        return true;
    }
    // A relative directory means the one the chooser shows (its current
    // directory); only a full path is handed back. It must fit the caller's
    // buffer with its backslash and terminator.
    char full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameA(m_strDir.c_str(), sizeof(full), full, nullptr);
    const bool hasBackslash = length > 0 && length < sizeof(full) && LastCharacter(full) == '\\';
    if (m_strDir.empty() || length == 0 || length + (hasBackslash ? 1 : 2) > kPathBufferSize)
    {
        Message("%s is not a valid pathname !", MB_OK);
        return true;
    }
    m_strDir = full;
    if (SetCurrentDirectoryA(m_strDir.c_str()))
        return false;
    if (Message("Directory %s not found !.\nCreate ?", MB_YESNO) != IDYES)
        return true;
    if (!CreateDirectoryA(m_strDir.c_str(), nullptr))
    {
        Message("Failed to create directoy %s !", MB_OK);
        return true;
    }
    SetCurrentDirectoryA(m_strDir.c_str());
    // The field names the new directory in full: a second OK takes it (a
    // relative name would now mean one level further down).
    SetTextIfPresent(m_hWnd, IDC_CHOOSE_DIR_EDIT, m_strDir.c_str());
    RefreshOntoCurrentDirectory();
    return true;
}

void CChooseDir::RefreshOntoCurrentDirectory()
{
    // Opening the drive list makes the dialog read the current drive and
    // directory again; it is moved out of sight meanwhile.
    HWND drives = GetDlgItem(m_hWnd, cmb2);
    if (drives == nullptr)
        return;
    RECT rect = {};
    GetWindowRect(drives, &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    MoveWindow(drives, rect.left, rect.top + kDriveListShift, width, height, FALSE);
    SendMessageA(drives, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(drives, CB_SHOWDROPDOWN, FALSE, 0);
    MoveWindow(drives, rect.left, rect.top, width, height, FALSE);
}

} // namespace qel

// uitour.exe: opens the plug-in's windows as a user meets them and asks for
// a screenshot of each (for the README's pictures). Runs in the language of
// its locale.
//   uitour.exe FOLDER [options]      the options dialog, a help tip, the
//                                    directory chooser
//   uitour.exe FOLDER lock-wait      an insertion whose part directory
//       another process holds: the wait box, then the Retry / Cancel box at
//       the bound (Cancel)
//   uitour.exe FOLDER solidworks-wait  an insertion whose SolidWorks asks a
//       question in the import: the box of the call that has not come back
//       (the caller answers the question once the picture is taken)
// For each shot NAME it writes FOLDER\NAME.ready holding "x y width height"
// (screen pixels) and waits up to 20 s for FOLDER\NAME.done, which
// scripts/screenshots writes once it has saved the picture. A window that
// does not appear in time is named on stderr, and the exit code is 1.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "entry/QelSW99_3D.h"
#include "resources/resource.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/PartBlockBuilder.h"

namespace
{

using qel::test::CDialogDriver;

std::string g_folder;

// Asks for a picture of rect and waits until it was taken.
void Shot(const char* name, RECT rect)
{
    const std::string base = g_folder + "\\" + name;
    char text[64];
    std::snprintf(text, sizeof(text), "%ld %ld %ld %ld", rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top);
    qel::test::WriteFileText(base + ".ready", text);
    CDialogDriver::WaitFor([&] { return qel::test::FileExists(base + ".done"); }, 20000);
}

BOOL CALLBACK FindUnpainted(HWND window, LPARAM param)
{
    if (GetUpdateRect(window, nullptr, FALSE))
    {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether window and its controls have painted everything they were asked to.
bool IsPainted(HWND window)
{
    bool unpainted = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    if (!unpainted)
        EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

// Has window painted whole before its picture: the screen shows a window
// only as far as its thread has drawn it, and a moment after.
void Present(HWND window)
{
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    CDialogDriver::WaitFor([&] { return IsPainted(window); }, 5000);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT Union(RECT a, RECT b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

int OptionsTour(HMODULE plugin)
{
    auto options = reinterpret_cast<QelOptionsProc>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "QelOptions")));
    if (options == nullptr)
        return 1;
    qel::test::CSettingsFileOverride settings("[Options]\r\nPartPath=C:\\Parts\\DIN 933\\\r\n");
    CDialogDriver user(
        {{CDialogDriver::kOptions,
          [](HWND dialog)
          {
              Present(dialog);
              Shot("options", WindowRect(dialog));
              SetCursorPos(0, 0);
              CDialogDriver::Help(dialog, 1044);
              HWND tip = nullptr;
              CDialogDriver::WaitFor(
                  [&]
                  { return (tip = FindWindowA("QelWndClassHelpToolTip", nullptr)) != nullptr; });
              if (tip == nullptr)
                  std::fprintf(stderr, "uitour: the help tip did not appear\n");
              else
              {
                  Present(tip);
                  Shot("helptip", Union(WindowRect(dialog), WindowRect(tip)));
              }
              SetForegroundWindow(dialog);
              CDialogDriver::Press(dialog, 1102);
          }},
         {CDialogDriver::kChooser,
          [](HWND dialog)
          {
              Present(dialog);
              Shot("chooser", WindowRect(dialog));
              CDialogDriver::Press(dialog, IDCANCEL);
          }},
         {CDialogDriver::kOptions, [](HWND dialog) { CDialogDriver::Press(dialog, IDCANCEL); }}},
        GetCurrentThreadId(), 120000);
    return options() == 1 ? 0 : 1;
}

// The boxes of this process (whichever of its threads shows them): visible
// dialogs that take input and carry a control (their caption is the
// plug-in's name in every language).
struct BoxSearch
{
    int control;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && std::string(className) == "#32770" &&
        IsWindowVisible(window) && IsWindowEnabled(window) &&
        GetDlgItem(window, search->control) != nullptr)
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindBoxOf(int control)
{
    BoxSearch search = {control, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the box with control; it is set up once its thread has answered
// a sent message.
HWND WaitForBox(int control, DWORD timeoutMs, const char* what)
{
    HWND box = nullptr;
    CDialogDriver::WaitFor([&] { return (box = FindBoxOf(control)) != nullptr; }, timeoutMs);
    if (box == nullptr || !SendMessageTimeoutA(box, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr))
    {
        std::fprintf(stderr, "uitour: %s did not appear within %lu s\n", what, timeoutMs / 1000);
        return nullptr;
    }
    Present(box);
    return box;
}

// Answers the box that carries control: Cancel where it has one, else OK.
void Dismiss(int control)
{
    HWND box = FindBoxOf(control);
    if (box != nullptr)
        CDialogDriver::Press(box, GetDlgItem(box, IDCANCEL) != nullptr ? IDCANCEL : IDOK);
}

// Inserts a new part with QelCreate on this thread, as a catalogue host
// does, while watch looks at its boxes beside it. What the call shows after
// the watch (its error message, say) is answered; once the watch failed,
// every box is cancelled, so that the call comes back.
int WatchedInsertion(HMODULE plugin, const std::function<bool()>& watch)
{
    auto create = reinterpret_cast<QelCreateProc>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "QelCreate")));
    if (create == nullptr)
        return 1;
    qel::test::CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    const std::vector<uint8_t> block = builder.Build();
    std::atomic<bool> returned{false};
    bool seen = false;
    std::thread user(
        [&]
        {
            seen = watch();
            while (!returned)
            {
                Dismiss(CDialogDriver::kMessageBox);
                if (!seen)
                {
                    Dismiss(IDC_LOCK_WAIT_TEXT);
                    Dismiss(IDC_SOLIDWORKS_WAIT_TEXT);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    create(block.data());
    returned = true;
    user.join();
    return seen ? 0 : 1;
}

// The box while the lock is held, then the question at the bound (Cancel).
bool WatchLockWait()
{
    HWND box = WaitForBox(IDC_LOCK_WAIT_TEXT, 20000, "the box of the wait for the lock");
    if (box == nullptr)
        return false;
    Shot("lockwait", WindowRect(box));
    HWND retry = WaitForBox(IDRETRY, 60000, "the Retry / Cancel box at the bound");
    if (retry == nullptr)
        return false;
    Shot("lockretry", WindowRect(retry));
    CDialogDriver::Press(retry, IDCANCEL);
    return true;
}

// The box of the call SolidWorks has not answered; it closes by itself once
// SolidWorks' question is answered.
bool WatchSolidWorksWait()
{
    HWND box = WaitForBox(IDC_SOLIDWORKS_WAIT_TEXT, 30000,
                          "the box of the call SolidWorks has not answered");
    if (box == nullptr)
        return false;
    Shot("notanswering", WindowRect(box));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string tour = argc == 3 ? argv[2] : "options";
    if (argc < 2 || argc > 3 ||
        (tour != "options" && tour != "lock-wait" && tour != "solidworks-wait"))
    {
        std::fprintf(stderr, "usage: uitour FOLDER [options|lock-wait|solidworks-wait]\n");
        return 2;
    }
    g_folder = argv[1];
    HMODULE plugin = LoadLibraryA((qel::test::BinFolder() + "\\QelSW99_3D.dll").c_str());
    if (plugin == nullptr)
        return 1;
    const int result = tour == "options"     ? OptionsTour(plugin)
                       : tour == "lock-wait" ? WatchedInsertion(plugin, WatchLockWait)
                                             : WatchedInsertion(plugin, WatchSolidWorksWait);
    FreeLibrary(plugin);
    return result;
}

// uitour.exe: opens the plug-in's options dialog, a help tip and the
// directory chooser one after another, as a user would, and asks for a
// screenshot of each (for the README's pictures). Runs in the language of
// its locale.
//   uitour.exe FOLDER
// For each shot NAME it writes FOLDER\NAME.ready holding "x y width height"
// (screen pixels) and waits up to 20 s for FOLDER\NAME.done, which
// scripts/screenshots writes once it has saved the picture.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <windows.h>

#include "tests/support/DialogDriver.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"

namespace
{

using qel::test::CDialogDriver;
using Options = int(__stdcall*)();

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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: uitour FOLDER\n");
        return 2;
    }
    g_folder = argv[1];
    HMODULE plugin = LoadLibraryA((qel::test::BinFolder() + "\\QelSW99_3D.dll").c_str());
    auto options = reinterpret_cast<Options>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "QelOptions")));
    if (options == nullptr)
        return 1;
    qel::test::CSettingsFileOverride settings("[Options]\r\nPartPath=C:\\Parts\\DIN 933\\\r\n");
    CDialogDriver user({{CDialogDriver::kOptions,
                         [](HWND dialog)
                         {
                             Shot("options", WindowRect(dialog));
                             SetCursorPos(0, 0);
                             CDialogDriver::Help(dialog, 1044);
                             HWND tip = nullptr;
                             CDialogDriver::WaitFor(
                                 [&] { return (tip = FindWindowA("QelWndClassHelpToolTip", nullptr)) != nullptr; });
                             std::this_thread::sleep_for(std::chrono::milliseconds(300));
                             Shot("helptip", Union(WindowRect(dialog), WindowRect(tip)));
                             SetForegroundWindow(dialog);
                             CDialogDriver::Press(dialog, 1102);
                         }},
                        {CDialogDriver::kChooser,
                         [](HWND dialog)
                         {
                             Shot("chooser", WindowRect(dialog));
                             CDialogDriver::Press(dialog, IDCANCEL);
                         }},
                        {CDialogDriver::kOptions,
                         [](HWND dialog) { CDialogDriver::Press(dialog, IDCANCEL); }}},
                       GetCurrentThreadId(), 120000);
    const int result = options();
    FreeLibrary(plugin);
    return result == 1 ? 0 : 1;
}

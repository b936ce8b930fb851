#include "entry/ErrorBox.h"

#include <windows.h>

#include "common/StringTable.h"

namespace qel
{

void ShowErrorBox(const char* text)
{
    char moduleName[520] = {};
    GetModuleFileNameA(ResourceModule(), moduleName, 515);
    MessageBeep(MB_ICONHAND);
    MessageBoxA(nullptr, text, moduleName, MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST | MB_OK);
}

} // namespace qel

// Texts of the plug-in's string table, in the language the resource loader
// picks for the running thread (English, or German in three regional tables).
#pragma once

#include <string>

#include <windows.h>

namespace qel
{

// The module whose resources hold the string table: the plug-in DLL once it is
// loaded (set from DllMain), else the program itself (test programs link the
// same resources).
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

// The text of string id, or the empty text when the table has none.
std::string LoadMessage(unsigned id);

// The text of string id formatted printf-style with the given arguments.
std::string FormatMessageText(unsigned id, ...);

} // namespace qel

// The plug-in loaded into the test program the way the catalogue program
// loads it, with its six exports.
#pragma once

#include <string>

#include <windows.h>

#include "common/WinOwners.h"

namespace qel::test
{

using QelCreateFunction = int(__stdcall*)(const void*);
using QelCreate2Function = int(__stdcall*)(const void*, const char*, char*, unsigned);
using QelOptionsFunction = int(__stdcall*)();
using QelOptions2Function = int(__stdcall*)(const char*, char*, unsigned);
using QelCreateDirectFileFunction = int(__stdcall*)(const void*, char*, unsigned);
using QelCreateDirectFile2Function = int(__stdcall*)(const void*, const char*, char*, unsigned,
                                                     char*, unsigned);

class CPluginModule
{
public:
    CPluginModule();

    std::string Path() const;

    QelCreateFunction QelCreate;
    QelCreate2Function QelCreate_2;
    QelOptionsFunction QelOptions;
    QelOptions2Function QelOptions_2;
    QelCreateDirectFileFunction QelCreateDirectFile;
    QelCreateDirectFile2Function QelCreateDirectFile_2;

private:
    CModule m_module;
};

// True when the plug-in's user texts are expected in German (the resource
// loader follows the user's language).
bool GermanUserTexts();
// True when the binding texts are expected in German (they follow the system
// default language).
bool GermanSystemTexts();

} // namespace qel::test

// Loads the plug-in as the catalogue program does (LoadLibraryA by file name,
// so the standard search finds it next to the program) and finds its exports
// by their plain names. Libraries loaded before it stay loaded while it runs,
// as the host's own QelMain.dll does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/qelhost/LoadedModule.h"

namespace qel::test
{

// The exports of the plug-in, exactly as the host declares them.
using QelCreateFunction = int(__stdcall*)(const void* part);
using QelCreate2Function = int(__stdcall*)(const void* part, const char* params, char* errorBuffer,
                                           unsigned errorSize);
using QelOptionsFunction = int(__stdcall*)();
using QelOptions2Function = int(__stdcall*)(const char* params, int, int);
using QelCreateDirectFileFunction = int(__stdcall*)(const void* part, char* fileName,
                                                    unsigned size);
using QelCreateDirectFile2Function = int(__stdcall*)(const void* part, const char* params, int, int,
                                                     char* fileName, unsigned size);

class CPluginHost
{
public:
    // Loads a library that stays loaded until the host ends; false with the
    // reason in error when it cannot be loaded.
    bool Preload(const std::string& path, std::string& error);

    bool LoadPlugin(const std::string& path, std::string& error);

    // The export of the loaded plug-in, or null with the reason in error.
    template <typename Function> Function Export(const char* name, std::string& error) const
    {
        FARPROC address = FindExport(name, error);
        // Through the generic function type: no warning about the cast.
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    }

private:
    FARPROC FindExport(const char* name, std::string& error) const;

    // Declared first: released after the plug-in.
    std::vector<CLoadedModule> m_preloaded;
    CLoadedModule m_plugin;
    std::string m_pluginPath;
};

} // namespace qel::test

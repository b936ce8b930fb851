// Loads the plug-in as the catalogue program does (LoadLibraryA by file name,
// so the standard search finds it next to the program) and finds its exports
// by their plain names. Libraries loaded before it stay loaded while it runs,
// as the host's own QelMain.dll does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "entry/QelSW99_3D.h"
#include "tools/qelhost/LoadedModule.h"

namespace qel::test
{

// The exports of the plug-in, as the header for integrators declares them.
using QelCreateFunction = QelCreateProc;
using QelCreate2Function = QelCreate2Proc;
using QelOptionsFunction = QelOptionsProc;
using QelOptions2Function = QelOptions2Proc;
using QelCreateDirectFileFunction = QelCreateDirectFileProc;
using QelCreateDirectFile2Function = QelCreateDirectFile2Proc;

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

// The plug-in's application object: knows the plug-in's module (for its
// resources and its file name). OLE is deliberately not started here: the
// loader lock forbids it in DllMain, so each export starts OLE for itself.
#pragma once

#include <windows.h>

namespace qel
{

class CPluginApp
{
public:
    void InitInstance(HINSTANCE module);
    void ExitInstance();

    HINSTANCE GetModule() const { return m_hModule; }

private:
    HINSTANCE m_hModule = nullptr;
};

CPluginApp& ThePluginApp();

} // namespace qel

#include "entry/PluginApp.h"

#include "common/StringTable.h"

namespace qel
{

void CPluginApp::InitInstance(HINSTANCE module)
{
    m_hModule = module;
    SetResourceModule(module);
    DisableThreadLibraryCalls(module);
}

void CPluginApp::ExitInstance()
{
    SetResourceModule(nullptr);
    m_hModule = nullptr;
}

CPluginApp& ThePluginApp()
{
    static CPluginApp s_app;
    return s_app;
}

} // namespace qel

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        qel::ThePluginApp().InitInstance(module);
    else if (reason == DLL_PROCESS_DETACH)
        qel::ThePluginApp().ExitInstance();
    return TRUE;
}

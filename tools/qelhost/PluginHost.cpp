#include "tools/qelhost/PluginHost.h"

namespace qel::test
{

namespace
{

bool LoadModule(const std::string& path, CLoadedModule& module, std::string& error)
{
    module = CLoadedModule(LoadLibraryA(path.c_str()));
    if (module)
        return true;
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
}

} // namespace

bool CPluginHost::Preload(const std::string& path, std::string& error)
{
    CLoadedModule module;
    if (!LoadModule(path, module, error))
        return false;
    m_preloaded.push_back(std::move(module));
    return true;
}

bool CPluginHost::LoadPlugin(const std::string& path, std::string& error)
{
    m_pluginPath = path;
    return LoadModule(path, m_plugin, error);
}

FARPROC CPluginHost::FindExport(const char* name, std::string& error) const
{
    FARPROC address = m_plugin ? GetProcAddress(m_plugin.Get(), name) : nullptr;
    if (address == nullptr)
        error = m_pluginPath + " exports no function " + name;
    return address;
}

} // namespace qel::test

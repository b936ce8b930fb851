#include "PluginModule.h"

#include <stdexcept>

#include "tests/support/TestFiles.h"

namespace qel::test
{

namespace
{
template <class Function> Function ExportOf(HMODULE module, const char* name)
{
    FARPROC address = GetProcAddress(module, name);
    if (address == nullptr)
        throw std::runtime_error(std::string("export missing: ") + name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
} // namespace

CPluginModule::CPluginModule() : m_module(LoadLibraryA((BinFolder() + "\\QelSW99_3D.dll").c_str()))
{
    if (m_module.Get() == nullptr)
        throw std::runtime_error("cannot load QelSW99_3D.dll");
    QelCreate = ExportOf<QelCreateFunction>(m_module.Get(), "QelCreate");
    QelCreate_2 = ExportOf<QelCreate2Function>(m_module.Get(), "QelCreate_2");
    QelOptions = ExportOf<QelOptionsFunction>(m_module.Get(), "QelOptions");
    QelOptions_2 = ExportOf<QelOptions2Function>(m_module.Get(), "QelOptions_2");
    QelCreateDirectFile =
        ExportOf<QelCreateDirectFileFunction>(m_module.Get(), "QelCreateDirectFile");
    QelCreateDirectFile_2 =
        ExportOf<QelCreateDirectFile2Function>(m_module.Get(), "QelCreateDirectFile_2");
}

std::string CPluginModule::Path() const
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(m_module.Get(), path, MAX_PATH);
    return path;
}

bool GermanUserTexts()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
}

bool GermanSystemTexts()
{
    return PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_GERMAN;
}

} // namespace qel::test

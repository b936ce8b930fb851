#include "tools/qelhost/LoadedModule.h"

#include <utility>

namespace qel::test
{

CLoadedModule::~CLoadedModule()
{
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}

CLoadedModule::CLoadedModule(CLoadedModule&& other) noexcept
    : m_hModule(std::exchange(other.m_hModule, nullptr))
{
}

CLoadedModule& CLoadedModule::operator=(CLoadedModule&& other) noexcept
{
    if (this != &other)
    {
        CLoadedModule old(std::exchange(m_hModule, std::exchange(other.m_hModule, nullptr)));
    }
    return *this;
}

} // namespace qel::test

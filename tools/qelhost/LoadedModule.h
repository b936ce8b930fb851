// Owner of a module loaded with LoadLibraryA: released with FreeLibrary.
#pragma once

#include <windows.h>

namespace qel::test
{

class CLoadedModule
{
public:
    CLoadedModule() = default;
    explicit CLoadedModule(HMODULE module) : m_hModule(module) {}
    ~CLoadedModule();
    CLoadedModule(CLoadedModule&& other) noexcept;
    CLoadedModule& operator=(CLoadedModule&& other) noexcept;
    CLoadedModule(const CLoadedModule&) = delete;
    CLoadedModule& operator=(const CLoadedModule&) = delete;

    HMODULE Get() const { return m_hModule; }
    explicit operator bool() const { return m_hModule != nullptr; }

private:
    HMODULE m_hModule = nullptr;
};

} // namespace qel::test

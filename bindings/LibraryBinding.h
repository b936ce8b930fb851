// Base of the run-time bindings of the maker's libraries. A binding loads its
// library on first use, resolves its whole list of exported functions at once
// and throws an error text (English, German or French) when the library or a
// function is missing. Each derived class counts its loaded objects in one
// process-wide counter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <windows.h>

#include "common/BoundedString.h"
#include "common/WinOwners.h"

namespace qel
{

struct SMessageCatalogue;

class CLibraryBinding
{
public:
    // One argument or result of a maker's function: a 32-bit integer, handle
    // or text pointer.
    using Arg = std::intptr_t;

    // Releases the library when this object loaded it.
    virtual ~CLibraryBinding();
    CLibraryBinding(const CLibraryBinding&) = delete;
    CLibraryBinding& operator=(const CLibraryBinding&) = delete;

    // Attributes
    // The library's file name, cut to 259 characters.
    const char* GetLibraryName() const { return m_szLibraryName; }
    int GetMessageLanguage() const { return m_nMessageLanguage; }
    bool IsLoaded() const { return m_module.Get() != nullptr; }

    // Overrideables
    // Chooses the language of the error texts by language code: 100 to 105
    // English, 106 to 108 German, 109 to 112 French; any other code German
    // when the system's default language is German, else English. Returns the
    // code.
    virtual int SetMessageLanguage(int languageCode);
    // Loads the library and resolves every function of the list, once.
    // Returns true; throws the error text when something is missing.
    virtual bool Load() = 0;

protected:
    // A function of the library: its exported name and, once resolved, its address.
    struct SFunction
    {
        const char* pszName;
        FARPROC pfnAddress;
    };

    // libraryName may be null (empty name). loadCounter is the process-wide
    // counter of the derived class. Loads nothing.
    CLibraryBinding(const char* libraryName, int& loadCounter);

    // The work of Load for the derived class's function list: loads the
    // library (counting it) unless loaded, then resolves the functions in list
    // order and throws for the first one missing.
    void LoadFunctions(SFunction* functions, std::size_t count);

    // Calls a resolved function (__stdcall, 32-bit arguments and result).
    template <typename... Args> static int CallFunction(const SFunction& function, Args... args)
    {
        static_assert(((sizeof(Args) == 4) && ...), "the maker's functions take 32-bit arguments");
        using Function = int(__stdcall*)(Args...);
        Function call;
        static_assert(sizeof call == sizeof function.pfnAddress, "function pointer size");
        std::memcpy(&call, &function.pfnAddress, sizeof call);
        return call(args...);
    }

private:
    [[noreturn]] void ThrowLibraryError(DWORD errorCode) const;
    [[noreturn]] void ThrowFunctionError(const char* functionName) const;

    int m_nMessageLanguage;
    const SMessageCatalogue* m_pCatalogue;
    CModule m_module;
    char m_szLibraryName[kPathBufferSize];
    int& m_rnLoadCounter; // changed atomically: host threads bind at once
    bool m_bResolved;     // every function of the list has its address
};

} // namespace qel

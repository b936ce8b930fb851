// Test helper: makes the native build report a chosen system default language
// (the native platform layer reads QEL_LANGID) for the lifetime of the object.
// Windows takes the language from the system, so tests that need a particular
// one skip there.
#pragma once

#include <cstdlib>
#include <string>

namespace qel::test
{

class CSystemLanguageOverride
{
public:
    explicit CSystemLanguageOverride(const char* langId)
    {
#ifndef _WIN32
        const char* old = std::getenv("QEL_LANGID");
        m_hadOld = old != nullptr;
        if (m_hadOld)
            m_old = old;
        setenv("QEL_LANGID", langId, 1);
#else
        (void)langId;
#endif
    }
    CSystemLanguageOverride(const CSystemLanguageOverride&) = delete;
    CSystemLanguageOverride& operator=(const CSystemLanguageOverride&) = delete;
    ~CSystemLanguageOverride()
    {
#ifndef _WIN32
        if (m_hadOld)
            setenv("QEL_LANGID", m_old.c_str(), 1);
        else
            unsetenv("QEL_LANGID");
#endif
    }

    static constexpr bool kSupported =
#ifdef _WIN32
        false;
#else
        true;
#endif

private:
#ifndef _WIN32
    bool m_hadOld = false;
    std::string m_old;
#endif
};

} // namespace qel::test

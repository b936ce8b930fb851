#include "tests/tools/ScopedEnvironmentVariable.h"

#include <windows.h>

#include <vector>

namespace qel::test
{

CScopedEnvironmentVariable::CScopedEnvironmentVariable(const std::string& name,
                                                       const std::string& value)
    : m_name(name)
{
    DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (needed > 0)
    {
        std::vector<char> old(needed);
        GetEnvironmentVariableA(name.c_str(), old.data(), needed);
        m_hadValue = true;
        m_oldValue = old.data();
    }
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

CScopedEnvironmentVariable::~CScopedEnvironmentVariable()
{
    SetEnvironmentVariableA(m_name.c_str(), m_hadValue ? m_oldValue.c_str() : nullptr);
}

} // namespace qel::test

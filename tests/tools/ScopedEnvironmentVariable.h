// Sets a variable of this process's environment (inherited by the processes
// it starts, read by the libraries it loads) and restores the old state when
// the owner goes.
#pragma once

#include <string>

namespace qel::test
{

class CScopedEnvironmentVariable
{
public:
    CScopedEnvironmentVariable(const std::string& name, const std::string& value);
    ~CScopedEnvironmentVariable();
    CScopedEnvironmentVariable(const CScopedEnvironmentVariable&) = delete;
    CScopedEnvironmentVariable& operator=(const CScopedEnvironmentVariable&) = delete;

private:
    std::string m_name;
    bool m_hadValue = false;
    std::string m_oldValue;
};

} // namespace qel::test

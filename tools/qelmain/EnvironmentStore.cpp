#include "tools/qelmain/EnvironmentStore.h"

#include <cstring>

namespace qel::test
{

void CEnvironmentStore::Set(const std::string& key, const std::string& value)
{
    m_values[key] = value;
}

bool CEnvironmentStore::Get(const std::string& key, char* buffer, int size) const
{
    auto found = m_values.find(key);
    if (found == m_values.end())
        return false;
    if (buffer == nullptr || size <= 0)
        return true;
    std::size_t length = found->second.size();
    std::size_t room = static_cast<std::size_t>(size) - 1;
    if (length > room)
        length = room;
    std::memcpy(buffer, found->second.data(), length);
    buffer[length] = '\0';
    return true;
}

std::string CEnvironmentStore::Value(const std::string& key) const
{
    auto found = m_values.find(key);
    return found == m_values.end() ? std::string() : found->second;
}

} // namespace qel::test

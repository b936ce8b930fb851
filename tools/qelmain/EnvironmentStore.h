// The host's environment store: text values under text keys, kept for as long
// as the library stays loaded.
#pragma once

#include <map>
#include <string>

namespace qel::test
{

class CEnvironmentStore
{
public:
    void Set(const std::string& key, const std::string& value);

    // Copies the value into buffer as a bounded copy (at most size - 1
    // characters and a NUL). Returns false, buffer untouched, when the key is
    // unknown; with no buffer or size 0 nothing is copied.
    bool Get(const std::string& key, char* buffer, int size) const;

    // The stored value, or the empty text for an unknown key.
    std::string Value(const std::string& key) const;

private:
    std::map<std::string, std::string> m_values;
};

} // namespace qel::test

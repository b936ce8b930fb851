#include "bindings/ParameterList.h"

#include <new>
#include <utility>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"

namespace qel
{

CParameterList::CParameterList(const char* const* keyTable, char keyValueSeparator,
                               char itemSeparator)
    : m_chKeyValueSeparator(keyValueSeparator), m_chItemSeparator(itemSeparator)
{
    if (keyTable == nullptr)
        return;
    try
    {
        for (const char* const* key = keyTable; *key != nullptr; ++key)
            m_keys.emplace_back(*key);
        m_values.resize(m_keys.size());
    }
    catch (const std::bad_alloc&)
    {
        Clear();
    }
}

CParameterList::~CParameterList() = default;

const char* CParameterList::GetKey(unsigned keyIndex) const
{
    return keyIndex < m_keys.size() ? m_keys[keyIndex].c_str() : nullptr;
}

const char* CParameterList::GetValue(unsigned keyIndex) const
{
    if (keyIndex >= m_values.size() || !m_values[keyIndex])
        return nullptr;
    return m_values[keyIndex]->c_str();
}

const char* CParameterList::RenderText()
{
    try
    {
        std::string text;
        for (std::size_t i = 0; i < m_values.size(); ++i)
        {
            if (!m_values[i])
                continue;
            text += m_keys[i];
            text += m_chKeyValueSeparator;
            text += *m_values[i];
            text += m_chItemSeparator;
        }
        if (!text.empty())
            text.pop_back(); // the separator behind the last item
        m_rendered = std::move(text);
        return m_rendered->c_str();
    }
    catch (const std::bad_alloc&)
    {
        m_rendered.reset();
        return nullptr;
    }
}

int CParameterList::SetText(const char* text)
{
    return ParseText(text);
}

int CParameterList::ParseText(const char* text)
{
    for (std::optional<std::string>& value : m_values)
        value.reset();
    if (text == nullptr || *text == '\0')
        return 1;

    std::string key;
    std::string value;
    try
    {
        // Both buffers are reserved up front, so no value is stored from a text
        // that could only be read in part.
        std::size_t capacity = std::char_traits<char>::length(text) + 1;
        key.reserve(capacity);
        value.reserve(capacity);
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }

    int result = 1;
    bool inValue = false;
    // By character: the second byte of a two-byte character (that of ポ is a
    // bar's) is never a separator.
    for (const char *c = text, *next = text; *c != '\0'; c = next)
    {
        next = NextCharacter(c);
        const bool single = next == c + 1;
        if (!inValue)
        {
            if (single && *c == m_chKeyValueSeparator)
            {
                inValue = true;
                value.clear();
            }
            else
            {
                key.append(c, next);
            }
        }
        else if (single && *c == m_chItemSeparator)
        {
            if (result == 1)
                result = StoreItem(key, value);
            key.clear();
            value.clear();
            inValue = false;
        }
        else
        {
            value.append(c, next);
        }
    }
    // The last item needs no separator behind it, and may lack the "=".
    if ((!key.empty() || !value.empty()) && result == 1)
        result = StoreItem(key, value);
    return result;
}

int CParameterList::StoreItem(const std::string& key, const std::string& value)
{
    return SetByName(key.c_str(), value.c_str(), true) != 0 ? 1 : 0;
}

int CParameterList::Set(const char* keyName, const char* value, bool overwrite)
{
    return SetByName(keyName, value, overwrite);
}

int CParameterList::Set(unsigned keyIndex, const char* value, bool overwrite)
{
    return SetByIndex(keyIndex, value, overwrite);
}

int CParameterList::SetByName(const char* keyName, const char* value, bool overwrite)
{
    // An unknown name is passed on as an index beyond the keys, which SetByIndex
    // answers with -1.
    unsigned index = GetKeyCount() + 1;
    if (keyName != nullptr)
    {
        for (unsigned i = 0; i < GetKeyCount(); ++i)
        {
            if (EqualsIgnoringAsciiCase(keyName, m_keys[i].c_str()))
            {
                index = i;
                break;
            }
        }
    }
    return SetByIndex(index, value, overwrite);
}

int CParameterList::SetByIndex(unsigned keyIndex, const char* value, bool overwrite)
{
    if (keyIndex >= GetKeyCount())
        return -1;
    std::optional<std::string>& stored = m_values[keyIndex];
    if (overwrite)
        stored.reset();
    if (stored)
        return 1;

    int result = 1;
    if (value != nullptr)
    {
        try
        {
            stored.emplace(value);
        }
        catch (const std::bad_alloc&)
        {
            result = 0; // the entry stays empty
        }
    }
    OnValueChanged(keyIndex);
    return result;
}

void CParameterList::CopyFrom(const CParameterList& other)
{
    if (&other == this)
        return;
    m_chKeyValueSeparator = other.m_chKeyValueSeparator;
    m_chItemSeparator = other.m_chItemSeparator;
    try
    {
        std::vector<std::string> keys(other.m_keys);
        std::vector<std::optional<std::string>> values(other.m_values);
        std::optional<std::string> rendered(other.m_rendered);
        m_keys = std::move(keys);
        m_values = std::move(values);
        m_rendered = std::move(rendered);
    }
    catch (const std::bad_alloc&)
    {
        Clear();
    }
}

void CParameterList::Clear()
{
    m_keys.clear();
    m_values.clear();
    m_rendered.reset();
}

} // namespace qel

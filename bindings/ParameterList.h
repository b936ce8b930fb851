// A list of text values over a fixed table of key names, read from and
// rendered to a text of items "key<kv>value" separated by an item separator.
// A key either holds a text (possibly empty) or nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qel
{

class CParameterList
{
public:
    // keyTable: texts up to the first null entry; null gives a list without
    // keys. The keys are copied. A list whose keys cannot be allocated is left
    // without keys.
    CParameterList(const char* const* keyTable, char keyValueSeparator, char itemSeparator);
    CParameterList(const CParameterList&) = delete;
    CParameterList& operator=(const CParameterList&) = delete;
    virtual ~CParameterList();

    // Attributes
    unsigned GetKeyCount() const { return static_cast<unsigned>(m_keys.size()); }
    // The key name at index, or null when the index is not below the key count.
    const char* GetKey(unsigned keyIndex) const;
    // The stored text of key index, or null when nothing is stored or the
    // index is not below the key count.
    const char* GetValue(unsigned keyIndex) const;

    // Operations
    // Builds "key<kv>value" for every stored value, in key order, joined by the
    // item separator; the text belongs to the list and stays valid until the
    // next RenderText or CopyFrom. Null when it cannot be allocated.
    const char* RenderText();

    // Overrideables
    // Replaces all values by those of text (through ParseText).
    virtual int SetText(const char* text);
    // Clears every value, then stores the items of text. Returns 1, or 0 when
    // a value could not be stored (later items are then skipped).
    virtual int ParseText(const char* text);
    virtual int Set(const char* keyName, const char* value, bool overwrite);
    virtual int Set(unsigned keyIndex, const char* value, bool overwrite);
    // Stores value under the key that equals keyName without regard to case.
    // An unknown name returns -1.
    virtual int SetByName(const char* keyName, const char* value, bool overwrite);
    // Stores a copy of value (null clears) unless a value is kept because
    // overwrite is false. Returns -1 for an index not below the key count, 0
    // when the copy could not be allocated, else 1.
    virtual int SetByIndex(unsigned keyIndex, const char* value, bool overwrite);
    // Takes over keys, separators, values and rendered text of other; a list
    // that cannot hold the copies is left without keys.
    virtual void CopyFrom(const CParameterList& other);

protected:
    // Called after SetByIndex stored or cleared the value of keyIndex.
    virtual void OnValueChanged(unsigned keyIndex) = 0;

private:
    void Clear();
    int StoreItem(const std::string& key, const std::string& value);

    std::vector<std::string> m_keys;
    char m_chKeyValueSeparator;
    char m_chItemSeparator;
    std::optional<std::string> m_rendered;
    std::vector<std::optional<std::string>> m_values; // one entry per key
};

} // namespace qel

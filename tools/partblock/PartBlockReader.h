// Reads a host part block without ever looking past its end: the block is
// taken to be the smaller of the bytes available and the total size at
// offset 0. Used by the stand-in SAT writer and by "qelhost show-part".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qel::test
{

class CPartBlockReader
{
public:
    struct Item
    {
        int16_t code;
        std::size_t offset; // of the record, from the start of the block
        uint32_t payloadLength;
        std::vector<uint8_t> payload;
    };

    struct Attribute
    {
        std::string name;
        std::string value;
    };

    // Reads the header and walks the item records. Returns false (reason in
    // Error()) when the header does not fit, the total size claims more than
    // is available, or a record or payload runs past the block; the header
    // fields and the items read so far stay available for a dump.
    bool Read(const uint8_t* data, std::size_t available);

    // Format words 0, 2 and 54 at offsets 4, 8 and 12, the words the reading
    // side of the plug-in checks.
    bool HasStandardFormat() const;

    // Names and values of all attribute items, in block order; false (reason
    // in error) at the first attribute payload that cannot be decoded.
    bool Attributes(std::vector<Attribute>& attributes, std::string& error) const;

    uint32_t TotalSize() const { return m_totalSize; }
    const uint32_t* FormatWords() const { return m_formatWords; }
    uint32_t ItemCount() const { return m_itemCount; }
    const std::vector<Item>& Items() const { return m_items; }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& error);
    bool ReadItems(const uint8_t* data, std::size_t size);

    uint32_t m_totalSize = 0;
    uint32_t m_formatWords[4] = {};
    uint32_t m_itemCount = 0;
    std::vector<Item> m_items;
    std::string m_error;
};

} // namespace qel::test

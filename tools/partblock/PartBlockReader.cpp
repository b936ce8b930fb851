#include "tools/partblock/PartBlockReader.h"

#include "tools/partblock/ItemText.h"
#include "tools/partblock/PartBlockBuilder.h"

namespace qel::test
{

bool CPartBlockReader::Fail(const std::string& error)
{
    m_error = error;
    return false;
}

bool CPartBlockReader::Read(const uint8_t* data, std::size_t available)
{
    *this = CPartBlockReader();
    if (data == nullptr)
        return Fail("no block");
    if (available < 4)
        return Fail("block of " + std::to_string(available) + " bytes holds no total size");
    m_totalSize = ReadLe32(data);
    if (available >= CPartBlockBuilder::kHeaderSize)
    {
        for (std::size_t i = 0; i < 4; ++i)
            m_formatWords[i] = ReadLe32(data + 4 + 4 * i);
        m_itemCount = ReadLe32(data + 20);
    }
    if (m_totalSize > available)
    {
        // The items that are there are still worth a look in a dump.
        if (available >= CPartBlockBuilder::kHeaderSize)
            ReadItems(data, available);
        return Fail("total size " + std::to_string(m_totalSize) + " exceeds the " +
                    std::to_string(available) + " bytes available");
    }
    if (m_totalSize < CPartBlockBuilder::kHeaderSize)
        return Fail("total size " + std::to_string(m_totalSize) + " is smaller than the header");
    return ReadItems(data, m_totalSize);
}

bool CPartBlockReader::ReadItems(const uint8_t* data, std::size_t size)
{
    std::size_t offset = CPartBlockBuilder::kHeaderSize;
    for (uint32_t index = 0; index < m_itemCount; ++index)
    {
        std::string where =
            "item " + std::to_string(index) + " at offset " + std::to_string(offset);
        if (size - offset < CPartBlockBuilder::kItemHeaderSize)
            return Fail(where + ": record header runs past the end of the block");
        Item item;
        item.code = static_cast<int16_t>(ReadLe16(data + offset));
        item.offset = offset;
        item.payloadLength = ReadLe32(data + offset + 2);
        std::size_t payloadStart = offset + CPartBlockBuilder::kItemHeaderSize;
        if (item.payloadLength > size - payloadStart)
            return Fail(where + ": payload of " + std::to_string(item.payloadLength) +
                        " bytes runs past the end of the block");
        item.payload.assign(data + payloadStart, data + payloadStart + item.payloadLength);
        offset = payloadStart + item.payloadLength;
        m_items.push_back(std::move(item));
    }
    return true;
}

bool CPartBlockReader::HasStandardFormat() const
{
    return m_formatWords[0] == 0 && m_formatWords[1] == 2 && m_formatWords[2] == 54;
}

bool CPartBlockReader::Attributes(std::vector<Attribute>& attributes, std::string& error) const
{
    attributes.clear();
    for (const Item& item : m_items)
    {
        if (item.code != kAttributeItemCode)
            continue;
        Attribute attribute;
        std::string reason;
        if (!DecodeAttributePayload(item.payload, attribute.name, attribute.value, reason))
        {
            error = "attribute item at offset " + std::to_string(item.offset) + ": " + reason;
            return false;
        }
        attributes.push_back(std::move(attribute));
    }
    return true;
}

} // namespace qel::test

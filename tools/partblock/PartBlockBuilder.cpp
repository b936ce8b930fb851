#include "tools/partblock/PartBlockBuilder.h"

#include "tools/partblock/ItemText.h"

namespace qel::test
{

void CPartBlockBuilder::SetFormatWords(uint32_t w4, uint32_t w8, uint32_t w12, uint32_t w16)
{
    m_formatWords[0] = w4;
    m_formatWords[1] = w8;
    m_formatWords[2] = w12;
    m_formatWords[3] = w16;
}

void CPartBlockBuilder::AddAttribute(const std::string& name, const std::string& value)
{
    AddItem(kAttributeItemCode, AttributePayload(name, value));
}

void CPartBlockBuilder::AddItem(int16_t code, const std::vector<uint8_t>& payload)
{
    m_items.push_back(Item{code, payload, m_nextPayloadLength});
    m_nextPayloadLength.reset();
}

void CPartBlockBuilder::OverrideTotalSize(uint32_t size)
{
    m_totalSize = size;
}

void CPartBlockBuilder::OverrideItemCount(uint32_t count)
{
    m_itemCount = count;
}

void CPartBlockBuilder::OverrideNextPayloadLength(uint32_t length)
{
    m_nextPayloadLength = length;
}

void CPartBlockBuilder::TruncateTo(std::size_t bytes)
{
    m_truncateTo = bytes;
}

std::size_t CPartBlockBuilder::RealSize() const
{
    std::size_t size = kHeaderSize;
    for (const Item& item : m_items)
        size += kItemHeaderSize + item.payload.size();
    return size;
}

std::vector<uint8_t> CPartBlockBuilder::Build() const
{
    std::vector<uint8_t> block;
    block.reserve(RealSize());
    AppendLe32(block, m_totalSize.value_or(static_cast<uint32_t>(RealSize())));
    for (uint32_t word : m_formatWords)
        AppendLe32(block, word);
    AppendLe32(block, m_itemCount.value_or(static_cast<uint32_t>(m_items.size())));
    for (const Item& item : m_items)
    {
        AppendLe16(block, static_cast<uint16_t>(item.code));
        AppendLe32(block, item.claimedLength.value_or(static_cast<uint32_t>(item.payload.size())));
        block.insert(block.end(), item.payload.begin(), item.payload.end());
    }
    if (m_truncateTo && *m_truncateTo < block.size())
        block.resize(*m_truncateTo);
    return block;
}

} // namespace qel::test

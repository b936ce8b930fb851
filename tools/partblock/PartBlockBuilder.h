// Writes host part blocks as the catalogue program hands them to the plug-in:
// total size, four format words, item count, then item records (16-bit type
// code, 32-bit payload length, payload), all little-endian. Overrides let a
// test write blocks that lie about their sizes or end too early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qel::test
{

class CPartBlockBuilder
{
public:
    // Bytes in front of the first item record.
    static constexpr std::size_t kHeaderSize = 24;
    // Bytes in front of an item's payload: type code and payload length.
    static constexpr std::size_t kItemHeaderSize = 6;

    // Format words at offsets 4, 8, 12 and 16 (0, 2, 54, 12 unless set).
    void SetFormatWords(uint32_t w4, uint32_t w8, uint32_t w12, uint32_t w16);

    // An attribute item (code 303): display attributes 255, 255, 255, 1, then
    // name and value as item texts, each cut to 30000 characters.
    void AddAttribute(const std::string& name, const std::string& value);

    // Any item with a raw payload.
    void AddItem(int16_t code, const std::vector<uint8_t>& payload = {});

    // Offset 0 holds size instead of the real size of the block.
    void OverrideTotalSize(uint32_t size);

    // Offset 20 holds count instead of the number of items added.
    void OverrideItemCount(uint32_t count);

    // The header of the next item added claims length as its payload length
    // (the payload itself is written as given).
    void OverrideNextPayloadLength(uint32_t length);

    // The finished block is cut to this many bytes (after the size fields
    // were written).
    void TruncateTo(std::size_t bytes);

    std::vector<uint8_t> Build() const;

private:
    struct Item
    {
        int16_t code;
        std::vector<uint8_t> payload;
        std::optional<uint32_t> claimedLength;
    };

    std::size_t RealSize() const;

    uint32_t m_formatWords[4] = {0, 2, 54, 12};
    std::vector<Item> m_items;
    std::optional<uint32_t> m_totalSize;
    std::optional<uint32_t> m_itemCount;
    std::optional<uint32_t> m_nextPayloadLength;
    std::optional<std::size_t> m_truncateTo;
};

} // namespace qel::test

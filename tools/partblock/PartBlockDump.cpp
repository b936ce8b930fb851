#include "tools/partblock/PartBlockDump.h"

#include <cstdio>

#include "tools/partblock/ItemText.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/PartBlockReader.h"
#include "tools/partblock/TextEscapes.h"

namespace qel::test
{

namespace
{

// Raw payloads are shown up to this many bytes.
constexpr std::size_t kShownPayloadBytes = 32;

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < kShownPayloadBytes; ++i)
    {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
        text += digits;
    }
    if (bytes.size() > kShownPayloadBytes)
        text += "...";
    return text;
}

std::string ItemLine(std::size_t index, const CPartBlockReader::Item& item)
{
    std::string line = "item " + std::to_string(index) + " at offset " +
                       std::to_string(item.offset) + ": code " + std::to_string(item.code) +
                       ", payload " + std::to_string(item.payloadLength) + " bytes";
    if (item.code == kAttributeItemCode)
    {
        std::string name;
        std::string value;
        std::string error;
        if (DecodeAttributePayload(item.payload, name, value, error))
            return line + ", attribute \"" + EscapeText(name) + "\" = \"" + EscapeText(value) +
                   "\"";
        return line + ", attribute not readable: " + error;
    }
    return item.payload.empty() ? line : line + ": " + Hex(item.payload);
}

} // namespace

std::string DumpPartBlock(const uint8_t* data, std::size_t size, bool& valid)
{
    CPartBlockReader reader;
    valid = reader.Read(data, size);
    std::string dump;
    if (size >= 4)
        dump += "total size: " + std::to_string(reader.TotalSize()) + "\n";
    if (size >= CPartBlockBuilder::kHeaderSize)
    {
        const uint32_t* words = reader.FormatWords();
        dump += "format words: " + std::to_string(words[0]) + " " + std::to_string(words[1]) + " " +
                std::to_string(words[2]) + " " + std::to_string(words[3]) + "\n";
        dump += "item count: " + std::to_string(reader.ItemCount()) + "\n";
    }
    for (std::size_t i = 0; i < reader.Items().size(); ++i)
        dump += ItemLine(i, reader.Items()[i]) + "\n";
    if (!valid)
        return dump + "error: " + reader.Error() + "\n";
    if (!reader.HasStandardFormat())
        dump += "note: format words other than 0 2 54: the plug-in reads no items of this block\n";
    if (size > reader.TotalSize())
        dump +=
            "note: " + std::to_string(size - reader.TotalSize()) + " bytes behind the total size\n";
    return dump;
}

} // namespace qel::test

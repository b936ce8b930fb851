#include "tools/partblock/ItemText.h"

namespace qel::test
{

namespace
{

constexpr int16_t kDisplayAttributes[4] = {255, 255, 255, 1};

void AppendDisplayAttributes(std::vector<uint8_t>& out)
{
    for (int16_t value : kDisplayAttributes)
        AppendLe16(out, static_cast<uint16_t>(value));
}

void AppendBytes(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::string CutToItemTextLimit(const std::string& text)
{
    return text.substr(0, kMaxItemTextLength);
}

// Reads one item text at offset; on success moves offset behind its NUL.
bool DecodeItemText(const std::vector<uint8_t>& payload, std::size_t& offset, const char* what,
                    std::string& text, std::string& error)
{
    if (payload.size() < offset + 2)
    {
        error = std::string(what) + " length lies beyond the payload";
        return false;
    }
    int16_t length = static_cast<int16_t>(ReadLe16(payload.data() + offset));
    if (length < 0 || static_cast<std::size_t>(length) > kMaxItemTextLength)
    {
        error = std::string(what) + " length " + std::to_string(length) + " is out of range";
        return false;
    }
    std::size_t textStart = offset + 2;
    std::size_t textEnd = textStart + static_cast<std::size_t>(length);
    if (payload.size() < textEnd + 1)
    {
        error = std::string(what) + " of length " + std::to_string(length) +
                " does not fit into the payload";
        return false;
    }
    text.assign(payload.begin() + static_cast<std::ptrdiff_t>(textStart),
                payload.begin() + static_cast<std::ptrdiff_t>(textEnd));
    offset = textEnd + 1;
    return true;
}

} // namespace

void AppendLe16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendLe32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

void WriteLe32(std::vector<uint8_t>& out, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.at(offset + static_cast<std::size_t>(i)) =
            static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

uint16_t ReadLe16(const uint8_t* data)
{
    return static_cast<uint16_t>(data[0] | (data[1] << 8));
}

uint32_t ReadLe32(const uint8_t* data)
{
    return static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
           (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
}

std::vector<uint8_t> ItemText(const std::string& text)
{
    std::string cut = CutToItemTextLimit(text);
    return ItemTextWithLength(cut, static_cast<int16_t>(cut.size()));
}

std::vector<uint8_t> ItemTextWithLength(const std::string& text, int16_t lengthField)
{
    std::vector<uint8_t> out;
    out.reserve(text.size() + 3);
    AppendLe16(out, static_cast<uint16_t>(lengthField));
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
    return out;
}

std::vector<uint8_t> AttributePayload(const std::string& name, const std::string& value)
{
    std::vector<uint8_t> out;
    AppendDisplayAttributes(out);
    AppendBytes(out, ItemText(name));
    AppendBytes(out, ItemText(value));
    return out;
}

std::vector<uint8_t> AttributePayload(const std::string& name, const std::string& value,
                                      int16_t nameLengthField, int16_t valueLengthField)
{
    std::vector<uint8_t> out;
    AppendDisplayAttributes(out);
    AppendBytes(out, ItemTextWithLength(name, nameLengthField));
    AppendBytes(out, ItemTextWithLength(value, valueLengthField));
    return out;
}

bool DecodeAttributePayload(const std::vector<uint8_t>& payload, std::string& name,
                            std::string& value, std::string& error)
{
    std::size_t offset = kDisplayAttributesSize;
    return DecodeItemText(payload, offset, "name", name, error) &&
           DecodeItemText(payload, offset, "value", value, error);
}

} // namespace qel::test

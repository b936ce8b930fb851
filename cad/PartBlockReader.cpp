#include "cad/PartBlockReader.h"

#include "cad/AttributeList.h"
#include "common/ErrorMessage.h"

#include <cstring>
#include <new>
#include <string>

// The block's integers are little-endian and are copied as they stand.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the host part block is little-endian");

namespace qel
{

namespace
{

constexpr std::uint32_t kFormatWord4Offset = 4;
constexpr std::uint32_t kFormatWord8Offset = 8;
constexpr std::uint32_t kFormatWord12Offset = 12;
constexpr std::uint32_t kFormatWordsEnd = 16;
constexpr std::uint32_t kItemCountOffset = 20;
constexpr std::uint32_t kFirstRecordOffset = 24;
constexpr std::uint32_t kRecordHeaderSize = 6;
constexpr std::uint32_t kDisplayAttributesSize = 8;
constexpr std::int16_t kMaxTextLength = 30000;
constexpr std::int16_t kAttributeItem = 303;

bool IsTwoDimensionalItem(std::int16_t code)
{
    return (code >= 100 && code <= 103) || code == 302;
}

} // namespace

CPartBlockReader::CPartBlockReader(const void* block)
    : m_pBlock(static_cast<const unsigned char*>(block))
{
    if (m_pBlock != nullptr)
        m_nTotalSize = ReadU32(0);
}

PartBlockResult CPartBlockReader::CollectAttributes(CAttributeList& attributes) const
{
    if (m_pBlock == nullptr)
        return PartBlockResult::NullBlock;
    if (m_nTotalSize == 0)
        return PartBlockResult::NoGeometry;
    // The format words must lie within the block before they can be checked.
    if (m_nTotalSize < kFormatWordsEnd)
        return PartBlockResult::Malformed;
    if (!HasReadableFormat())
        return PartBlockResult::Collected;

    // The whole chain is checked before the first pair is added: a corrupt
    // block is refused as a whole, so what ends up in the list never depends
    // on where in the block the corruption lies.
    Survey survey = SurveyRecords();
    if (!survey.wellFormed)
        return PartBlockResult::Malformed;
    attributes.ReserveForAdding(survey.attributes.size());
    for (const AttributeSpans& spans : survey.attributes)
        AddAttribute(spans, attributes);
    return survey.twoDimensional ? PartBlockResult::TwoDimensional : PartBlockResult::Collected;
}

bool CPartBlockReader::HasReadableFormat() const
{
    return ReadU32(kFormatWord4Offset) == 0 && ReadU32(kFormatWord8Offset) == 2 &&
           ReadU32(kFormatWord12Offset) == 54;
}

// One pass over the records: checks every record against the total size and
// notes the attribute items in front of the first 2D item. Only attribute
// items are looked into; all others are stepped over by their length.
CPartBlockReader::Survey CPartBlockReader::SurveyRecords() const
{
    Survey survey;
    if (m_nTotalSize < kFirstRecordOffset)
        return survey;
    const std::uint32_t count = ReadU32(kItemCountOffset);
    std::uint32_t offset = kFirstRecordOffset;
    try
    {
        for (std::uint32_t i = 0; i < count; ++i)
        {
            // offset never exceeds the total size, so the differences cannot wrap.
            if (m_nTotalSize - offset < kRecordHeaderSize)
                return survey;
            const std::int16_t code = ReadI16(offset);
            const std::uint32_t length = ReadU32(offset + 2);
            const std::uint32_t payload = offset + kRecordHeaderSize;
            if (length > m_nTotalSize - payload)
                return survey;
            if (code == kAttributeItem)
            {
                AttributeSpans spans{};
                if (!ReadAttributePayload(payload, length, spans))
                    return survey;
                if (!survey.twoDimensional)
                    survey.attributes.push_back(spans);
            }
            else if (IsTwoDimensionalItem(code))
            {
                survey.twoDimensional = true;
            }
            offset = payload + length;
        }
    }
    catch (const std::bad_alloc&)
    {
        throw kNotEnoughMemory;
    }
    survey.wellFormed = true;
    return survey;
}

bool CPartBlockReader::ReadAttributePayload(std::uint32_t offset, std::uint32_t length,
                                            AttributeSpans& spans) const
{
    if (length < kDisplayAttributesSize)
        return false;
    const std::uint32_t end = offset + length;
    std::uint32_t textOffset = offset + kDisplayAttributesSize;
    return ReadItemText(textOffset, end, spans.name) && ReadItemText(textOffset, end, spans.value);
}

// Reads the item text at offset, which must lie with its NUL before end, and
// moves offset behind it.
bool CPartBlockReader::ReadItemText(std::uint32_t& offset, std::uint32_t end, TextSpan& text) const
{
    if (end - offset < sizeof(std::int16_t))
        return false;
    const std::int16_t length = ReadI16(offset);
    if (length < 0 || length > kMaxTextLength)
        return false;
    const std::uint32_t characters = offset + sizeof(std::int16_t);
    const auto withNul = static_cast<std::uint32_t>(length) + 1;
    if (end - characters < withNul)
        return false;
    text.offset = characters;
    text.length = static_cast<std::uint32_t>(length);
    offset = characters + withNul;
    return true;
}

void CPartBlockReader::AddAttribute(const AttributeSpans& spans, CAttributeList& attributes) const
{
    // A text whose NUL is in place is handed over where it lies; one whose
    // terminator byte is something else is copied and terminated, so that no
    // read runs past its n characters.
    auto terminated = [this](const TextSpan& span, std::string& copy) -> const char*
    {
        const char* chars = reinterpret_cast<const char*>(m_pBlock + span.offset);
        if (chars[span.length] == '\0')
            return chars;
        try
        {
            copy.assign(chars, span.length);
        }
        catch (const std::bad_alloc&)
        {
            throw kNotEnoughMemory;
        }
        return copy.c_str();
    };
    std::string nameCopy;
    std::string valueCopy;
    const char* name = terminated(spans.name, nameCopy);
    const char* value = terminated(spans.value, valueCopy);
    attributes.Add(name, value, AttributeAux{}, AttributeAux{}, 1);
}

std::uint32_t CPartBlockReader::ReadU32(std::uint32_t offset) const
{
    std::uint32_t value = 0;
    std::memcpy(&value, m_pBlock + offset, sizeof(value));
    return value;
}

std::int16_t CPartBlockReader::ReadI16(std::uint32_t offset) const
{
    std::int16_t value = 0;
    std::memcpy(&value, m_pBlock + offset, sizeof(value));
    return value;
}

} // namespace qel

// Byte-level pieces of a host part block: little-endian integers, item texts
// and attribute item payloads. Used by the block builder and reader, and by
// tests that craft payloads the builder would never write (lying lengths,
// over-long texts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qel::test
{

// Item type code of an attribute item.
constexpr int16_t kAttributeItemCode = 303;
// The writing side cuts every item text to this many characters.
constexpr std::size_t kMaxItemTextLength = 30000;
// Bytes in front of the name of an attribute payload: red, green, blue and a
// fourth value, each a signed 16-bit number.
constexpr std::size_t kDisplayAttributesSize = 8;

void AppendLe16(std::vector<uint8_t>& out, uint16_t value);
void AppendLe32(std::vector<uint8_t>& out, uint32_t value);
void WriteLe32(std::vector<uint8_t>& out, std::size_t offset, uint32_t value);
uint16_t ReadLe16(const uint8_t* data);
uint32_t ReadLe32(const uint8_t* data);

// An item text as the writing side produces it: the text cut to 30000
// characters, its length as a signed 16-bit number, the characters, a NUL.
std::vector<uint8_t> ItemText(const std::string& text);

// An item text whose length field says lengthField whatever the text is; the
// text is written whole (not cut) and followed by a NUL.
std::vector<uint8_t> ItemTextWithLength(const std::string& text, int16_t lengthField);

// The payload of an attribute item: display attributes 255, 255, 255, 1, then
// the name and the value as item texts (each cut to 30000 characters).
std::vector<uint8_t> AttributePayload(const std::string& name, const std::string& value);

// As above, but with the given length fields and the texts written uncut, for
// payloads whose lengths do not match their texts.
std::vector<uint8_t> AttributePayload(const std::string& name, const std::string& value,
                                      int16_t nameLengthField, int16_t valueLengthField);

// Decodes an attribute payload. Fails (false, reason in error) when a length
// is negative or above 30000, or a text with its NUL does not fit into the
// payload.
bool DecodeAttributePayload(const std::vector<uint8_t>& payload, std::string& name,
                            std::string& value, std::string& error);

} // namespace qel::test

// Reads the attributes out of the host part block and finds out whether the
// part is two-dimensional.
//
// The block comes from another program, so it is checked before anything of
// it is used: only bytes within the total size at offset 0 are read, every
// record and every item text must lie within its surroundings, and a block
// that breaks these limits is refused whole.
//
// Layout (little-endian): total size (4 bytes, this field included), format
// words at 4, 8, 12, 16 (0, 2, 54, 12), item count N at 20, then N records
// from offset 24: type code (signed 16-bit), payload length L (unsigned
// 32-bit), L payload bytes. An attribute item (303) holds 8 bytes of display
// attributes, then the name and the value as item texts: a signed 16-bit
// length n (0 to 30000), n characters and a NUL.
#pragma once

#include <cstdint>
#include <vector>

namespace qel
{

class CAttributeList;

enum class PartBlockResult
{
    Collected,      // every attribute item added (or the block has a format we do not read)
    NullBlock,      // no block given (message 123)
    NoGeometry,     // total size 0: the part has no geometry (message 124)
    Malformed,      // the block breaks its own limits; nothing added (message 124)
    TwoDimensional, // a 2D item; the attributes in front of it were added (message 125)
};

class CPartBlockReader
{
public:
    // block: the host's part block, may be null. It must stay valid while the
    // reader is used; the reader keeps no copy.
    explicit CPartBlockReader(const void* block);

    // Adds the name and value of every attribute item in block order to
    // attributes, with the duplicate check and zero auxiliary values, up to
    // the first 2D item (codes 100 to 103 and 302).
    //
    // - null block: NullBlock; total size 0: NoGeometry.
    // - The format words at 4, 8 and 12 are checked first: a block that does
    //   not carry 0, 2, 54 there is read as holding no items (Collected,
    //   nothing added). A total size below 16 leaves no format words to check
    //   within the block: Malformed.
    // - A total size below 24 (no room for the item count), a record header or
    //   payload beyond the total size, an attribute payload shorter than its
    //   display attributes, a text length outside 0 to 30000, or a text whose
    //   n characters and NUL do not fit into the payload: Malformed, and
    //   nothing is added, even from the records in front of the fault.
    // - Bytes behind the N records, and behind the value inside an attribute
    //   payload, are allowed and ignored.
    // - A text is its n characters, up to a NUL among them; the byte where its
    //   NUL belongs must lie within the payload but is not required to be NUL.
    //
    // Throws kNotEnoughMemory when memory runs out.
    PartBlockResult CollectAttributes(CAttributeList& attributes) const;

    // Whether the format words at 4, 8 and 12 are 0, 2, 54: a block of
    // another format comes back Collected with nothing added. Only for a
    // block that CollectAttributes did not refuse.
    bool HasReadableFormat() const;

private:
    // Where the name or the value of an attribute item lies in the block.
    struct TextSpan
    {
        std::uint32_t offset;
        std::uint32_t length;
    };

    struct AttributeSpans
    {
        TextSpan name;
        TextSpan value;
    };

    // The result of walking the record chain once.
    struct Survey
    {
        bool wellFormed = false;
        bool twoDimensional = false;
        // Attribute items in front of the first 2D item, in block order.
        std::vector<AttributeSpans> attributes;
    };

    Survey SurveyRecords() const;
    bool ReadAttributePayload(std::uint32_t offset, std::uint32_t length,
                              AttributeSpans& spans) const;
    bool ReadItemText(std::uint32_t& offset, std::uint32_t end, TextSpan& text) const;
    void AddAttribute(const AttributeSpans& spans, CAttributeList& attributes) const;

    std::uint32_t ReadU32(std::uint32_t offset) const;
    std::int16_t ReadI16(std::uint32_t offset) const;

    const unsigned char* m_pBlock;
    std::uint32_t m_nTotalSize = 0;
};

} // namespace qel

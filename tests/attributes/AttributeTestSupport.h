// Small helpers of the attribute tests: reading a list back as pairs, and
// handing a block to the reader in a heap buffer of exactly the bytes its
// total size claims, so that AddressSanitizer reports any read past its end.
#pragma once

#include "cad/AttributeList.h"
#include "cad/PartBlockReader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace qel
{

struct Pair
{
    std::string name;
    std::string value;

    bool operator==(const Pair& other) const { return name == other.name && value == other.value; }
};

inline void PrintTo(const Pair& pair, std::ostream* os)
{
    *os << "{\"" << pair.name << "\", \"" << pair.value << "\"}";
}

inline void PrintTo(PartBlockResult result, std::ostream* os)
{
    static const char* const names[] = {"Collected", "NullBlock", "NoGeometry", "Malformed",
                                        "TwoDimensional"};
    *os << names[static_cast<int>(result)];
}

// Every pair of the list, read through GetAt with buffers big enough for the
// longest item text.
inline std::vector<Pair> PairsOf(const CAttributeList& list)
{
    std::vector<Pair> pairs;
    std::vector<char> name(40000);
    std::vector<char> value(40000);
    for (int i = 0; i < list.GetCount(); ++i)
    {
        list.GetAt(static_cast<unsigned>(i), name.data(), static_cast<int>(name.size()),
                   value.data(), static_cast<int>(value.size()), nullptr, nullptr);
        pairs.push_back(Pair{name.data(), value.data()});
    }
    return pairs;
}

// The block's bytes up to its total size (at least the 4 bytes of the size
// field itself), copied to the heap with nothing behind them.
class CExactBlock
{
public:
    explicit CExactBlock(const std::vector<std::uint8_t>& bytes)
    {
        std::size_t size = bytes.size();
        if (size >= 4)
        {
            std::uint32_t total = 0;
            std::memcpy(&total, bytes.data(), sizeof(total));
            if (total < size)
                size = total < 4 ? 4 : total;
        }
        m_bytes.reset(new unsigned char[size]);
        if (size > 0)
            std::memcpy(m_bytes.get(), bytes.data(), size);
    }

    const void* Data() const { return m_bytes.get(); }

private:
    std::unique_ptr<unsigned char[]> m_bytes;
};

inline PartBlockResult CollectFrom(const std::vector<std::uint8_t>& bytes, CAttributeList& list)
{
    CExactBlock block(bytes);
    return CPartBlockReader(block.Data()).CollectAttributes(list);
}

} // namespace qel

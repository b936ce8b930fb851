// The part's attributes: ordered name/value text pairs, filled from the host
// part block, read by the file-naming step and by the part document creation.
//
// The entries form a singly linked chain in insertion order. Beside the chain
// the list keeps a hash index of its pairs in upper case, so that the
// duplicate check of Add costs the same for the 100,000th pair as for the
// first one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qel
{

// An auxiliary value stored with a pair: 8 bytes, handed over as two 32-bit
// words. Nothing in the plug-in interprets it; every producer stores zero.
struct AttributeAux
{
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

class CAttributeList
{
public:
    CAttributeList();
    // Copies every entry in order, auxiliary values included, without the
    // duplicate check. Throws kNotEnoughMemory when memory runs out.
    CAttributeList(const CAttributeList& other);
    CAttributeList& operator=(const CAttributeList& other);
    virtual ~CAttributeList();

    // Attributes
    int GetCount() const;

    // Copies the pair at index (0 = first) into the two buffers, each cut to
    // its size - 1 characters, and the auxiliary values into the slots. Both
    // buffers are set to the empty text first; an index at or past the count
    // leaves them empty and the slots untouched. A buffer with a size of 0 or
    // less is not written; null slots are skipped.
    void GetAt(unsigned index, char* name, int nameSize, char* value, int valueSize,
               AttributeAux* aux1, AttributeAux* aux2) const;

    // Join the values (never the names) in list order, "_" between entries.
    // Alnum keeps A-Z, a-z, 0-9 and turns . , ; : into "_"; FileSafe turns the
    // nine characters that file names may not hold, the control characters
    // and '@' into "_". Both leave out a lead byte without its second byte, and give a
    // text that Windows would take for a device a "_" behind the device word
    // (NUL_, "Aux_. bracket"; common/DeviceName.h). Return 0 when the
    // joined text is empty (or output is null), 1 when it fits into capacity - 1
    // bytes, -1 when it was cut to them (before a two-byte character that does
    // not fit whole). Both walk by character: a two-byte character is dropped
    // (Alnum) or kept (FileSafe) whole. Never writes beyond capacity bytes; a
    // capacity of 0 writes nothing.
    int JoinValuesAlnum(char* output, unsigned capacity) const;
    int JoinValuesFileSafe(char* output, unsigned capacity) const;

    // Operations

    // Appends the pair; a null name or value counts as the empty text, both
    // null add nothing. With checkDuplicates non-zero a pair whose name and
    // value both equal an earlier pair's, ignoring letter case in the current
    // code page, is not added (the first one stays). Always returns 1; throws
    // kNotEnoughMemory when memory runs out (the list is then unchanged).
    int Add(const char* name, const char* value, AttributeAux aux1, AttributeAux aux2,
            int checkDuplicates);

    void RemoveAll();

    // Makes room for pairs more entries, so that adding a known number of
    // pairs does not grow the list's index step by step. Changes nothing
    // that can be observed; throws kNotEnoughMemory when memory runs out.
    void ReserveForAdding(std::size_t pairs);

    // Empties the list and copies every entry of other; assigning the list
    // to itself does nothing.
    void Assign(const CAttributeList& other);

    // Adds the pairs of a text file of alternating name and value lines (with
    // the duplicate check). replace non-zero empties the list first. A null or
    // empty path or a file that cannot be opened adds nothing and succeeds.
    // Returns 0 when the file cannot be read: the list is then empty (replace)
    // or as before (append).
    int LoadFromTextFile(const char* path, int replace);

private:
    struct Entry
    {
        std::string name;
        std::string value;
        AttributeAux aux1;
        AttributeAux aux2;
        std::unique_ptr<Entry> next;
    };

    // One place of the duplicate index: the hash of an entry's upper-cased
    // texts and the entry's position + 1, or 0 for an empty place. Eight
    // bytes a place keep the index small, and a long list's look-ups fast.
    struct IndexSlot
    {
        std::uint32_t hash;
        std::uint32_t number;
    };

    template <typename CharFilter>
    int JoinValues(char* output, unsigned capacity, CharFilter filter) const;

    void Link(std::unique_ptr<Entry> entry) noexcept;
    void CopyEntriesOf(const CAttributeList& other);
    void Swap(CAttributeList& other) noexcept;
    void AddLinesOf(std::string_view text);

    static std::uint32_t KeyHash(std::string_view name, std::string_view value);
    bool IsListed(std::uint32_t hash, std::string_view name, std::string_view value) const;
    void MakeRoomFor(std::size_t entries);
    void PlaceInIndex(std::uint32_t hash, std::uint32_t number) noexcept;

    std::unique_ptr<Entry> m_pHead;
    Entry* m_pTail = nullptr;
    int m_nCount = 0;
    // The entries of the chain in list order (borrowed), for GetAt and for
    // the index to refer to.
    std::vector<const Entry*> m_entries;
    // Every entry by the hash of its upper-cased texts: open addressing with
    // linear probing, a power of two in size, at most three quarters full
    // (so a probe always ends at an empty place).
    std::vector<IndexSlot> m_index;
};

} // namespace qel

#include "cad/AttributeList.h"

#include "cad/CaseFoldedText.h"

#include "common/AnsiPath.h"
#include "common/BoundedString.h"
#include "common/DeviceName.h"
#include "common/ErrorMessage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace qel
{

namespace
{

// The loader reads into a buffer of this size and grows it by as much again
// for as long as a read fills it.
constexpr std::size_t kReadStep = 1024;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

enum class FileRead
{
    NotOpened,
    Read,
    Failed
};

// Reads the file from its start into a zero-filled buffer of 1024 bytes, then
// 2048, ... until a read leaves room behind the data; so a file of exactly
// 1024 bytes takes two reads. The text ends at the first NUL byte.
FileRead ReadWholeFile(const char* path, std::vector<char>& buffer, std::size_t& length)
{
    if (path == nullptr || *path == '\0')
        return FileRead::NotOpened;
    FileOwner file(std::fopen(path, "rb"));
    if (!file)
        return FileRead::NotOpened;
    // The buffer doubles whenever a read fills it, and reading goes on where
    // it stopped: linear in the file's size.
    std::size_t got = 0;
    for (std::size_t size = kReadStep;; size *= 2)
    {
        try
        {
            buffer.resize(size, '\0');
        }
        catch (const std::bad_alloc&)
        {
            return FileRead::Failed;
        }
        got += std::fread(buffer.data() + got, 1, size - got, file.get());
        if (got == size)
            continue;
        if (!std::feof(file.get()))
            return FileRead::Failed; // a short read before the end: a read error
        length = BoundedLength(buffer.data(), got);
        return FileRead::Read;
    }
}

// The joined file name keeps letters and digits of the basic Latin alphabet
// only; the usual separators of designations become "_". A character of two
// bytes is dropped whole, as every other character.
std::string_view AlnumChar(std::string_view c)
{
    if (c.size() != 1)
        return {};
    if ((c[0] >= 'A' && c[0] <= 'Z') || (c[0] >= 'a' && c[0] <= 'z') ||
        (c[0] >= '0' && c[0] <= '9'))
        return c;
    if (c[0] == '.' || c[0] == ',' || c[0] == ';' || c[0] == ':')
        return "_";
    return {};
}

// The characters that file names may not hold: the nine reserved ones and
// the control characters (a tab or a line break that a value brought along),
// and the '@' that SolidWorks refuses in the names it saves.
bool IsReplacedInFileName(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|@", c) != nullptr;
}

// Every character except those that file names may not hold is kept; a
// character of two bytes whole, also when its second byte is a backslash's.
std::string_view FileSafeChar(std::string_view c)
{
    const bool forbidden = c.size() == 1 && IsReplacedInFileName(c[0]);
    return forbidden ? "_" : c;
}

// A stem that Windows would take for a device (NUL, com1, "Aux. bracket")
// gets a "_" right behind the device word (NUL_, "Aux_. bracket"): the part
// then has a file of its own, and the same values find it again. A stem that
// fills its room loses its last character for it; one that is the bare word
// and nothing more gets the "_" in place of the word's last letter. True when
// the stem lost a character.
bool KeepClearOfDevices(char* stem, std::size_t length, std::size_t room)
{
    const std::size_t word = DeviceWordLength(stem);
    if (word == 0)
        return false;
    if (room <= word)
    {
        stem[word - 1] = '_';
        return false;
    }
    const bool cut = length >= room;
    if (cut)
    {
        length = WholeCharactersLength(stem, room - 1);
        stem[length] = '\0';
    }
    std::memmove(stem + word + 1, stem + word, length - word + 1);
    stem[word] = '_';
    return cut;
}

} // namespace

CAttributeList::CAttributeList() = default;

CAttributeList::CAttributeList(const CAttributeList& other)
{
    try
    {
        CopyEntriesOf(other);
    }
    catch (const std::bad_alloc&)
    {
        RemoveAll(); // the chain is dismantled one by one, not recursively
        throw kNotEnoughMemory;
    }
}

CAttributeList& CAttributeList::operator=(const CAttributeList& other)
{
    Assign(other);
    return *this;
}

CAttributeList::~CAttributeList()
{
    RemoveAll();
}

int CAttributeList::GetCount() const
{
    return m_nCount;
}

void CAttributeList::GetAt(unsigned index, char* name, int nameSize, char* value, int valueSize,
                           AttributeAux* aux1, AttributeAux* aux2) const
{
    const std::size_t nameBytes = nameSize > 0 ? static_cast<std::size_t>(nameSize) : 0;
    const std::size_t valueBytes = valueSize > 0 ? static_cast<std::size_t>(valueSize) : 0;
    CopyBounded(name, nameBytes, "");
    CopyBounded(value, valueBytes, "");
    if (index >= static_cast<unsigned>(m_nCount))
        return;
    const Entry* entry = m_entries[index];
    CopyBounded(name, nameBytes, entry->name.c_str());
    CopyBounded(value, valueBytes, entry->value.c_str());
    if (aux1 != nullptr)
        *aux1 = entry->aux1;
    if (aux2 != nullptr)
        *aux2 = entry->aux2;
}

int CAttributeList::JoinValuesAlnum(char* output, unsigned capacity) const
{
    return JoinValues(output, capacity, AlnumChar);
}

int CAttributeList::JoinValuesFileSafe(char* output, unsigned capacity) const
{
    return JoinValues(output, capacity, FileSafeChar);
}

// Counts the whole joined text but stores only what fits, so the result can
// tell a cut name from a whole one without a second buffer.
template <typename CharFilter>
int CAttributeList::JoinValues(char* output, unsigned capacity, CharFilter filter) const
{
    if (output == nullptr)
        return 0;
    const std::size_t room = capacity == 0 ? 0 : capacity - 1;
    std::size_t length = 0;
    auto put = [&](char c)
    {
        if (length < room)
            output[length] = c;
        ++length;
    };
    for (const Entry* entry = m_pHead.get(); entry != nullptr; entry = entry->next.get())
    {
        const std::string_view value = entry->value;
        for (std::size_t at = 0, width = 0; at < value.size(); at += width)
        {
            const char* c = value.data() + at;
            width = static_cast<std::size_t>(NextCharacter(c) - c);
            // A lead byte without its second byte is no character: Windows
            // would take the "_" or "." behind it as its second half.
            if (IsLoneLeadByte(c))
                width = 1;
            else
                for (char kept : filter(value.substr(at, width)))
                    put(kept);
        }
        if (entry->next)
            put('_'); // also behind a value that gave nothing
    }
    if (length == 0)
    {
        if (capacity > 0)
            output[0] = '\0';
        return 0;
    }
    bool cut = length > room;
    if (capacity > 0)
    {
        // A cut name ends before the character that did not fit whole.
        const std::size_t stored = cut ? WholeCharactersLength(output, room) : length;
        output[stored] = '\0';
        cut = KeepClearOfDevices(output, stored, room) || cut;
    }
    return cut ? -1 : 1;
}

int CAttributeList::Add(const char* name, const char* value, AttributeAux aux1, AttributeAux aux2,
                        int checkDuplicates)
{
    if (name == nullptr && value == nullptr)
        return 1;
    try
    {
        const std::string_view nameText = name != nullptr ? name : "";
        const std::string_view valueText = value != nullptr ? value : "";
        const std::uint32_t hash = KeyHash(nameText, valueText);
        if (checkDuplicates != 0 && IsListed(hash, nameText, valueText))
            return 1; // the first pair met stays
        MakeRoomFor(static_cast<std::size_t>(m_nCount) + 1);
        auto entry = std::make_unique<Entry>();
        entry->name = nameText;
        entry->value = valueText;
        entry->aux1 = aux1;
        entry->aux2 = aux2;
        Link(std::move(entry));
        PlaceInIndex(hash, static_cast<std::uint32_t>(m_nCount));
    }
    catch (const std::bad_alloc&)
    {
        throw kNotEnoughMemory;
    }
    return 1;
}

void CAttributeList::RemoveAll()
{
    // One entry at a time: letting the head's destructor free the chain would
    // recurse once per entry.
    while (m_pHead)
        m_pHead = std::move(m_pHead->next);
    m_pTail = nullptr;
    m_nCount = 0;
    std::vector<const Entry*>().swap(m_entries);
    std::vector<IndexSlot>().swap(m_index);
}

void CAttributeList::ReserveForAdding(std::size_t pairs)
{
    try
    {
        MakeRoomFor(static_cast<std::size_t>(m_nCount) + pairs);
    }
    catch (const std::bad_alloc&)
    {
        throw kNotEnoughMemory;
    }
}

void CAttributeList::Assign(const CAttributeList& other)
{
    if (&other == this)
        return;
    CAttributeList copy(other);
    Swap(copy);
}

int CAttributeList::LoadFromTextFile(const char* path, int replace)
{
    // The pairs go into a copy that replaces the list only when the whole file
    // was taken, so a failure leaves the list as it was in append mode.
    CAttributeList loaded;
    if (replace == 0)
        loaded.Assign(*this);
    std::vector<char> buffer;
    std::size_t length = 0;
    switch (ReadWholeFile(path, buffer, length))
    {
    case FileRead::Failed:
        if (replace != 0)
            RemoveAll();
        return 0;
    case FileRead::Read:
        try
        {
            loaded.AddLinesOf(std::string_view(buffer.data(), length));
        }
        catch (const std::bad_alloc&)
        {
            throw kNotEnoughMemory;
        }
        break;
    case FileRead::NotOpened:
        break;
    }
    Swap(loaded);
    return 1;
}

// Puts the entry at the end of the chain; MakeRoomFor has made room for it.
void CAttributeList::Link(std::unique_ptr<Entry> entry) noexcept
{
    Entry* added = entry.get();
    if (m_pTail != nullptr)
        m_pTail->next = std::move(entry);
    else
        m_pHead = std::move(entry);
    m_pTail = added;
    m_entries.push_back(added); // within the capacity reserved, so it cannot throw
    ++m_nCount;
}

// Copies into an empty list. The index refers to entries by position, so the
// copy takes it over as it stands.
void CAttributeList::CopyEntriesOf(const CAttributeList& other)
{
    MakeRoomFor(static_cast<std::size_t>(other.m_nCount));
    m_index = other.m_index;
    for (const Entry* entry = other.m_pHead.get(); entry != nullptr; entry = entry->next.get())
    {
        auto copy = std::make_unique<Entry>();
        copy->name = entry->name;
        copy->value = entry->value;
        copy->aux1 = entry->aux1;
        copy->aux2 = entry->aux2;
        Link(std::move(copy));
    }
}

void CAttributeList::Swap(CAttributeList& other) noexcept
{
    std::swap(m_pHead, other.m_pHead);
    std::swap(m_pTail, other.m_pTail);
    std::swap(m_nCount, other.m_nCount);
    m_entries.swap(other.m_entries);
    m_index.swap(other.m_index);
}

// Lines alternate name, value, name, ...; a CR LF pair ends a line as a LF
// does. A pair is added when its value line is complete and one of its texts
// is non-empty; a name left without its value line at the end is added with
// the empty value.
void CAttributeList::AddLinesOf(std::string_view text)
{
    std::string name;
    bool haveName = false;
    std::size_t start = 0;
    for (;;)
    {
        std::size_t end = text.find('\n', start);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine)
            end = text.size();
        std::size_t lineEnd = end;
        if (!lastLine && lineEnd > start && text[lineEnd - 1] == '\r')
            --lineEnd;
        std::string line(text.substr(start, lineEnd - start));
        if (!haveName)
        {
            name = std::move(line);
            haveName = true;
        }
        else
        {
            if (!name.empty() || !line.empty())
                Add(name.c_str(), line.c_str(), AttributeAux{}, AttributeAux{}, 1);
            haveName = false;
        }
        if (lastLine)
            break;
        start = end + 1;
    }
    if (haveName && !name.empty())
        Add(name.c_str(), "", AttributeAux{}, AttributeAux{}, 1);
}

std::uint32_t CAttributeList::KeyHash(std::string_view name, std::string_view value)
{
    const std::uint64_t nameHash = CCaseFoldedText::Hash(name);
    const std::uint64_t valueHash = CCaseFoldedText::Hash(value);
    // Order matters: ("ab", "c") and ("a", "bc") or swapped texts hash apart.
    const std::uint64_t hash =
        nameHash ^ (valueHash + 0x9e3779b97f4a7c15u + (nameHash << 6) + (nameHash >> 2));
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

// Whether an entry with these texts, ignoring case, is in the list. Only an
// entry whose hash matches is compared.
bool CAttributeList::IsListed(std::uint32_t hash, std::string_view name,
                              std::string_view value) const
{
    if (m_index.empty())
        return false;
    const std::size_t mask = m_index.size() - 1;
    for (std::size_t i = hash & mask; m_index[i].number != 0; i = (i + 1) & mask)
    {
        if (m_index[i].hash != hash)
            continue;
        const Entry* entry = m_entries[m_index[i].number - 1];
        if (CCaseFoldedText::Equal(entry->name, name) &&
            CCaseFoldedText::Equal(entry->value, value))
            return true;
    }
    return false;
}

// Makes room for the given number of entries: the position table grows to at
// least that capacity (doubling), the index to a size it fills at most three
// quarters. Throws std::bad_alloc and then leaves the list as it was.
void CAttributeList::MakeRoomFor(std::size_t entries)
{
    constexpr std::size_t kSmallestIndex = 16;
    // Beyond what the count or the doublings below can hold.
    const std::size_t limit = std::min(
        {m_index.max_size() / 4, m_entries.max_size() / 2, static_cast<std::size_t>(0x7FFFFFFF)});
    if (entries > limit)
        throw std::bad_alloc();
    if (m_entries.capacity() < entries)
        m_entries.reserve(std::max(entries, 2 * m_entries.capacity()));
    if (entries <= m_index.size() / 4 * 3)
        return;
    std::size_t size = m_index.empty() ? kSmallestIndex : m_index.size();
    while (entries > size / 4 * 3)
        size *= 2;
    std::vector<IndexSlot> grown(size, IndexSlot{0, 0});
    grown.swap(m_index);
    for (const IndexSlot& slot : grown)
    {
        if (slot.number != 0)
            PlaceInIndex(slot.hash, slot.number);
    }
}

void CAttributeList::PlaceInIndex(std::uint32_t hash, std::uint32_t number) noexcept
{
    const std::size_t mask = m_index.size() - 1;
    std::size_t i = hash & mask;
    while (m_index[i].number != 0)
        i = (i + 1) & mask;
    m_index[i] = IndexSlot{hash, number};
}

} // namespace qel

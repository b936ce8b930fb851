// Feeds arbitrary bytes to the host part block reader as a block, then works
// the collected list: joins with small capacities, bounded reads, copies.
//
// The input is copied into a heap buffer of exactly its size, and a total
// size field that claims more bytes than the input has is cut to the input's
// size (the reader trusts that field as the host's promise), so
// AddressSanitizer sees every read past the block.
#include "cad/AttributeList.h"
#include "cad/PartBlockReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{

constexpr char kGuard = '\x7F';

void CheckJoin(int result, const char* buffer, unsigned capacity, unsigned bufferSize)
{
    if (result < -1 || result > 1)
        std::abort();
    for (unsigned i = capacity; i < bufferSize; ++i)
    {
        if (buffer[i] != kGuard)
            std::abort(); // written beyond the capacity
    }
    if (capacity > 0 && std::memchr(buffer, '\0', capacity) == nullptr)
        std::abort(); // not terminated within the capacity
}

void ExerciseJoins(const qel::CAttributeList& list)
{
    constexpr unsigned kBufferSize = 16;
    for (unsigned capacity = 0; capacity < kBufferSize; ++capacity)
    {
        char buffer[kBufferSize];
        std::memset(buffer, kGuard, sizeof(buffer));
        CheckJoin(list.JoinValuesAlnum(buffer, capacity), buffer, capacity, kBufferSize);
        std::memset(buffer, kGuard, sizeof(buffer));
        CheckJoin(list.JoinValuesFileSafe(buffer, capacity), buffer, capacity, kBufferSize);
    }
}

void ExerciseReads(const qel::CAttributeList& list)
{
    char name[8];
    char value[3];
    qel::AttributeAux aux1;
    qel::AttributeAux aux2;
    const unsigned count = static_cast<unsigned>(list.GetCount());
    for (unsigned index = 0; index <= count && index < 64; ++index)
        list.GetAt(index, name, sizeof(name), value, sizeof(value), &aux1, &aux2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(std::uint32_t))
        return 0;
    std::unique_ptr<unsigned char[]> block(new unsigned char[size]);
    std::memcpy(block.get(), data, size);
    std::uint32_t total = 0;
    std::memcpy(&total, block.get(), sizeof(total));
    if (total > size)
    {
        total = static_cast<std::uint32_t>(size);
        std::memcpy(block.get(), &total, sizeof(total));
    }

    qel::CAttributeList list;
    try
    {
        qel::CPartBlockReader(block.get()).CollectAttributes(list);
    }
    catch (const char*)
    {
        return 0; // out of memory: the reader's only error text
    }
    ExerciseJoins(list);
    ExerciseReads(list);
    qel::CAttributeList copy(list);
    copy.Assign(list);
    if (copy.GetCount() != list.GetCount())
        std::abort();
    return 0;
}

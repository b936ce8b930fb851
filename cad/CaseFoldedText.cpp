#include "cad/CaseFoldedText.h"

#include "common/Platform.h"

#include <cstring>
#include <string>

namespace qel
{

namespace
{

constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;

bool IsAscii(std::string_view text)
{
    unsigned char any = 0;
    for (char c : text)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// The eight bytes of text from offset (which has them).
std::uint64_t WordAt(std::string_view text, std::size_t offset)
{
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + offset, sizeof(word));
    return word;
}

// The last, shorter word of text from offset, zero-filled behind the end.
std::uint64_t TailAt(std::string_view text, std::size_t offset)
{
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + offset, text.size() - offset);
    return word;
}

// Raises a to z in eight ASCII bytes: a byte's high bit is set in lower when
// it lies from 'a' to 'z' (no byte has its own high bit set, so no sum
// carries into the next byte), and 0x80 >> 2 is the 0x20 between the cases.
std::uint64_t RaiseAsciiWord(std::uint64_t word)
{
    const std::uint64_t fromA = word + (0x80 - 'a') * kEveryByte;
    const std::uint64_t pastZ = word + (0x80 - 'z' - 1) * kEveryByte;
    const std::uint64_t lower = fromA & ~pastZ & kHighBits;
    return word - (lower >> 2);
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 29);
}

// Four independent lanes over 32-byte steps, so that the multiplications
// overlap; raise turns each word into its upper case.
template <typename Raise> std::uint64_t HashWords(std::string_view text, Raise raise)
{
    std::uint64_t lanes[4] = {1, 2, 3, 4};
    std::size_t offset = 0;
    for (; text.size() - offset >= 32; offset += 32)
    {
        for (int lane = 0; lane < 4; ++lane)
            lanes[lane] = Mix(lanes[lane], raise(WordAt(text, offset + 8 * lane)));
    }
    std::uint64_t hash = Mix(Mix(lanes[0], lanes[1]), Mix(lanes[2], lanes[3]));
    for (; text.size() - offset >= 8; offset += 8)
        hash = Mix(hash, raise(WordAt(text, offset)));
    if (offset < text.size())
        hash = Mix(hash, raise(TailAt(text, offset)));
    hash = Mix(hash, text.size());
    // The index takes the low bits: every bit of the state must reach them.
    hash = (hash ^ (hash >> 33)) * 0xFF51AFD7ED558CCDu;
    return hash ^ (hash >> 33);
}

} // namespace

std::uint64_t CCaseFoldedText::Hash(std::string_view text)
{
    if (IsAscii(text))
        return HashWords(text, RaiseAsciiWord);
    const std::string upper = UpperCaseCodePage(std::string(text));
    return HashWords(upper, [](std::uint64_t word) { return word; });
}

bool CCaseFoldedText::Equal(std::string_view left, std::string_view right)
{
    // Upper-casing keeps a text's length in every code page.
    if (left.size() != right.size())
        return false;
    if (IsAscii(left) && IsAscii(right))
    {
        std::size_t offset = 0;
        for (; left.size() - offset >= 8; offset += 8)
        {
            if (RaiseAsciiWord(WordAt(left, offset)) != RaiseAsciiWord(WordAt(right, offset)))
                return false;
        }
        return offset == left.size() ||
               RaiseAsciiWord(TailAt(left, offset)) == RaiseAsciiWord(TailAt(right, offset));
    }
    return UpperCaseCodePage(std::string(left)) == UpperCaseCodePage(std::string(right));
}

} // namespace qel

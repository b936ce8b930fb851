// A caller's buffer handed to a plug-in export, with guard bytes behind it so
// that a write past the size the export was given shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qel::test
{

class CGuardedBuffer
{
public:
    // size bytes, every one set to fill.
    CGuardedBuffer(std::size_t size, char fill);

    // Puts text at the start (the caller made sure it fits with its NUL).
    void SetText(const std::string& text);

    char* Data() { return m_bytes.data(); }
    std::size_t Size() const { return m_size; }

    // The bytes up to the first NUL, or all size bytes when there is none.
    std::string Text() const;
    bool IsTerminated() const;
    // The size bytes hold what they held before the call.
    bool IsUnchanged() const;
    bool GuardIntact() const;

private:
    static constexpr std::size_t kGuardSize = 16;
    static constexpr char kGuardByte = static_cast<char>(0xA5);

    std::size_t m_size;
    std::vector<char> m_bytes;
    std::vector<char> m_original;
};

} // namespace qel::test

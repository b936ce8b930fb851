#include "tools/qelhost/GuardedBuffer.h"

#include <algorithm>
#include <cstring>

namespace qel::test
{

CGuardedBuffer::CGuardedBuffer(std::size_t size, char fill)
    : m_size(size), m_bytes(size + kGuardSize, kGuardByte)
{
    std::fill(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(size), fill);
    m_original = m_bytes;
}

void CGuardedBuffer::SetText(const std::string& text)
{
    std::memcpy(m_bytes.data(), text.c_str(), std::min(text.size() + 1, m_size));
    m_original = m_bytes;
}

std::string CGuardedBuffer::Text() const
{
    auto end = m_bytes.begin() + static_cast<std::ptrdiff_t>(m_size);
    return std::string(m_bytes.begin(), std::find(m_bytes.begin(), end, '\0'));
}

bool CGuardedBuffer::IsTerminated() const
{
    auto end = m_bytes.begin() + static_cast<std::ptrdiff_t>(m_size);
    return std::find(m_bytes.begin(), end, '\0') != end;
}

bool CGuardedBuffer::IsUnchanged() const
{
    auto end = static_cast<std::ptrdiff_t>(m_size);
    return std::equal(m_bytes.begin(), m_bytes.begin() + end, m_original.begin());
}

bool CGuardedBuffer::GuardIntact() const
{
    return std::all_of(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_size), m_bytes.end(),
                       [](char byte) { return byte == kGuardByte; });
}

} // namespace qel::test

// Owner of a kernel handle (closed with CloseHandle). INVALID_HANDLE_VALUE,
// which file functions return on failure, is held as no handle.
#pragma once

#include <utility>

#include <windows.h>

namespace swsim
{

class CHandle
{
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    CHandle(CHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle& operator=(CHandle&& other) noexcept
    {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    ~CHandle()
    {
        if (m_handle)
        {
            CloseHandle(m_handle);
        }
    }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle = nullptr;
};

} // namespace swsim

// One small owner per kind of Windows resource. Each releases what it holds in
// its destructor, so no error path releases anything by hand. Copies are
// deleted; moves are allowed where an owner is handed on.
#pragma once

#include <utility>

#include <windows.h>
#include <ole2.h>

namespace qel
{

// A kernel handle closed with CloseHandle (null and INVALID_HANDLE_VALUE are empty).
class CHandle
{
public:
    explicit CHandle(HANDLE handle = nullptr) : m_handle(handle) {}
    CHandle(CHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Reset(); }

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle = nullptr)
    {
        if (IsValid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

// A directory search handle closed with FindClose.
class CFindHandle
{
public:
    explicit CFindHandle(HANDLE search) : m_search(search) {}
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;
    ~CFindHandle()
    {
        if (IsValid())
            FindClose(m_search);
    }

    bool IsValid() const { return m_search != INVALID_HANDLE_VALUE && m_search != nullptr; }

private:
    HANDLE m_search;
};

// A loaded module released with FreeLibrary.
class CModule
{
public:
    explicit CModule(HMODULE module = nullptr) : m_module(module) {}
    CModule(CModule&& other) noexcept : m_module(std::exchange(other.m_module, nullptr)) {}
    CModule& operator=(CModule&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_module, nullptr));
        return *this;
    }
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;
    ~CModule() { Reset(); }

    HMODULE Get() const { return m_module; }
    HMODULE Release() { return std::exchange(m_module, nullptr); }
    void Reset(HMODULE module = nullptr)
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
        m_module = module;
    }

private:
    HMODULE m_module;
};

// A window destroyed with DestroyWindow.
class CWindow
{
public:
    explicit CWindow(HWND window = nullptr) : m_window(window) {}
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    ~CWindow() { Reset(); }

    HWND Get() const { return m_window; }
    void Reset(HWND window = nullptr)
    {
        if (m_window != nullptr && IsWindow(m_window))
            DestroyWindow(m_window);
        m_window = window;
    }

private:
    HWND m_window;
};

// A GDI object deleted with DeleteObject.
class CGdiObject
{
public:
    explicit CGdiObject(HGDIOBJ object = nullptr) : m_object(object) {}
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject()
    {
        if (m_object != nullptr)
            DeleteObject(m_object);
    }

    HGDIOBJ Get() const { return m_object; }

private:
    HGDIOBJ m_object;
};

// A GDI object selected into a device context; the old one is put back.
class CSelectObject
{
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject()
    {
        if (m_old != nullptr && m_old != HGDI_ERROR)
            SelectObject(m_dc, m_old);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// OLE initialised on the calling thread and ended as a pair. S_FALSE (already
// initialised on this thread) counts as success and is undone all the same;
// RPC_E_CHANGED_MODE (the thread is in the multithreaded apartment) is left
// alone: the thread is used as it is and nothing is undone.
class COleInit
{
public:
    COleInit() : m_result(OleInitialize(nullptr)) {}
    COleInit(const COleInit&) = delete;
    COleInit& operator=(const COleInit&) = delete;
    ~COleInit()
    {
        if (SUCCEEDED(m_result))
            OleUninitialize();
    }

    // True when COM can be used on this thread.
    bool IsUsable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};

// Changes the process's current directory back to what it was when the object
// was made.
class CCurrentDirectory
{
public:
    CCurrentDirectory() : m_valid(GetCurrentDirectoryA(MAX_PATH, m_saved) - 1 < MAX_PATH - 1) {}
    CCurrentDirectory(const CCurrentDirectory&) = delete;
    CCurrentDirectory& operator=(const CCurrentDirectory&) = delete;
    // False when the directory could not be read: nothing is put back.
    bool IsSaved() const { return m_valid; }
    ~CCurrentDirectory()
    {
        if (m_valid)
            SetCurrentDirectoryA(m_saved);
    }

private:
    char m_saved[MAX_PATH] = {};
    bool m_valid;
};

} // namespace qel

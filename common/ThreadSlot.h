// A pointer of each thread's own, for state that belongs to the call a thread
// is running (its trace, its message filter). The host may call from several
// threads at once, so such state must never sit in one process-wide variable.
//
// Backed by one TLS index taken when the library is loaded and given back when
// it is freed. Not `thread_local`: implicit TLS does not work in a library
// loaded at run time on Windows 2000 and XP, and the emulated kind keeps a slot
// per load. Without a free index (the process has used up its slots) every
// thread reads null and Set fails: the state is then simply absent.
#pragma once

#include <utility>

#include <windows.h>

namespace qel
{

template <typename T> class CThreadSlot
{
public:
    // Construction

    CThreadSlot() : m_nIndex(TlsAlloc()) {}
    CThreadSlot(const CThreadSlot&) = delete;
    CThreadSlot& operator=(const CThreadSlot&) = delete;
    ~CThreadSlot()
    {
        if (m_nIndex != TLS_OUT_OF_INDEXES)
            TlsFree(m_nIndex);
    }

    // Attributes

    // The calling thread's pointer; null when it has set none. Keeps the
    // thread's last error (TlsGetValue clears it on success).
    T* Get() const
    {
        if (m_nIndex == TLS_OUT_OF_INDEXES)
            return nullptr;
        const DWORD lastError = GetLastError();
        T* value = static_cast<T*>(TlsGetValue(m_nIndex));
        SetLastError(lastError);
        return value;
    }

    // Operations

    // Sets the calling thread's pointer; false when there is no slot.
    bool Set(T* value)
    {
        return m_nIndex != TLS_OUT_OF_INDEXES && TlsSetValue(m_nIndex, value) != FALSE;
    }

private:
    DWORD m_nIndex;
};

// Sets a thread's pointer for the length of a scope and puts back the one it
// replaced, so that a call made inside another (the host re-entering the
// plug-in) hands the outer call its state back, on that thread only.
template <typename T> class CThreadSlotScope
{
public:
    CThreadSlotScope(CThreadSlot<T>& slot, T* value)
        : m_slot(slot), m_pOuter(slot.Get()), m_bSet(slot.Set(value))
    {
    }
    CThreadSlotScope(const CThreadSlotScope&) = delete;
    CThreadSlotScope& operator=(const CThreadSlotScope&) = delete;
    ~CThreadSlotScope()
    {
        if (m_bSet)
            m_slot.Set(m_pOuter);
    }

    // The pointer this scope replaced on its thread (null for the outermost).
    T* Outer() const { return m_pOuter; }

private:
    CThreadSlot<T>& m_slot;
    T* m_pOuter;
    bool m_bSet;
};

} // namespace qel

// OLE initialised for the calling thread for the owner's lifetime. A thread
// that was already initialised (S_FALSE) is counted too, so that the
// uninitialise matches; a thread of the other model is left alone.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace swsim
{

class COleSession
{
public:
    COleSession() : m_result(OleInitialize(nullptr)) {}
    COleSession(const COleSession&) = delete;
    COleSession& operator=(const COleSession&) = delete;
    ~COleSession()
    {
        if (SUCCEEDED(m_result))
        {
            OleUninitialize();
        }
    }

    // False only when OLE cannot be used on this thread at all.
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};

} // namespace swsim

#include "tools/swsim/SimObject.h"

#include "tools/swsim/Simulator.h"

namespace swsim
{

CSimObject::CSimObject(CSimulator& simulator, ObjectKind kind, long serial)
    : m_simulator(&simulator), m_kind(kind), m_serial(serial)
{
    m_simulator->Track(*this);
}

CSimObject::~CSimObject()
{
    if (m_simulator)
    {
        m_simulator->Untrack(*this);
    }
}

std::wstring CSimObject::Name() const
{
    switch (m_kind)
    {
    case ObjectKind::App:
        return L"app";
    case ObjectKind::Doc:
        return L"doc#" + std::to_wstring(m_serial);
    case ObjectKind::View:
        return L"view#" + std::to_wstring(m_serial);
    }
    return L"?";
}

void CSimObject::Disown()
{
    m_owned = false;
    DeleteWhenUnused();
}

void CSimObject::DeleteWhenUnused()
{
    if (!m_owned && m_refs == 0)
    {
        delete this;
    }
}

HRESULT STDMETHODCALLTYPE CSimObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
    {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch)
    {
        *object = static_cast<IDispatch*>(this);
    }
    else if (iid == IID_IExternalConnection)
    {
        *object = static_cast<IExternalConnection*>(this);
    }
    else
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CSimObject::AddRef()
{
    return ++m_refs;
}

ULONG STDMETHODCALLTYPE CSimObject::Release()
{
    const ULONG refs = --m_refs;
    DeleteWhenUnused();
    return refs;
}

HRESULT STDMETHODCALLTYPE CSimObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
    {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSimObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
    {
        *info = nullptr;
    }
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE CSimObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                                    DISPID* ids)
{
    // Callers go by dispatch id; no names are known.
    for (UINT i = 0; ids && i < count; ++i)
    {
        ids[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE CSimObject::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                             DISPPARAMS* params, VARIANT* result,
                                             EXCEPINFO* exception, UINT* argErr)
{
    if (!m_simulator)
    {
        return RPC_E_DISCONNECTED;
    }
    return m_simulator->Invoke(*this, id, flags, params, result, exception, argErr);
}

DWORD STDMETHODCALLTYPE CSimObject::AddConnection(DWORD type, DWORD)
{
    if (type & EXTCONN_STRONG)
    {
        ++m_connections;
    }
    return static_cast<DWORD>(m_connections);
}

DWORD STDMETHODCALLTYPE CSimObject::ReleaseConnection(DWORD type, DWORD, BOOL)
{
    if ((type & EXTCONN_STRONG) && m_connections > 0)
    {
        --m_connections;
    }
    return static_cast<DWORD>(m_connections);
}

} // namespace swsim

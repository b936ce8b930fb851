// One automation object handed out by the simulator: the application, a
// document or a document's view. IDispatch calls go to the simulator, which
// keeps the state; the object only knows its kind and its document's serial.
//
// Lifetime: the simulator's own hold is a flag (see CSimObjectPtr), never a
// COM reference; the object is deleted when neither the simulator holds it nor
// any COM reference is left. Clients in other processes reach the object
// through a COM stub, whose own references say nothing about the clients';
// the stub reports the clients' connections through IExternalConnection, and
// that count is what the simulator reports as outstanding references.
#pragma once

#include <memory>
#include <string>

#include <windows.h>
#include <oaidl.h>
#include <objidl.h>

#include "tools/swsim/ObjectKind.h"

namespace swsim
{

class CSimulator;

class CSimObject final : public IDispatch, public IExternalConnection
{
public:
    // serial: the document's serial number (0 for the application).
    CSimObject(CSimulator& simulator, ObjectKind kind, long serial);
    CSimObject(const CSimObject&) = delete;
    CSimObject& operator=(const CSimObject&) = delete;

    // Attributes
    ObjectKind Kind() const { return m_kind; }
    long Serial() const { return m_serial; }
    // "app", "doc#N" or "view#N", as the journal names the object.
    std::wstring Name() const;
    // External references: the connections that the COM stub reports.
    long ExternalReferences() const { return m_connections; }

    // Operations
    // The simulator drops its hold; the object lives on while referenced.
    void Disown();
    // The simulator is going away: later calls fail, nothing reports back.
    void Detach() { m_simulator = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argErr) override;

    // IExternalConnection
    DWORD STDMETHODCALLTYPE AddConnection(DWORD type, DWORD reserved) override;
    DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD type, DWORD reserved,
                                              BOOL lastReleaseCloses) override;

private:
    ~CSimObject();
    void DeleteWhenUnused();

    CSimulator* m_simulator;
    ObjectKind m_kind;
    long m_serial;
    ULONG m_refs = 0;
    bool m_owned = true;
    long m_connections = 0;
};

// The simulator's hold on an object: disowns it on destruction.
struct SimObjectDisowner
{
    void operator()(CSimObject* object) const { object->Disown(); }
};
using CSimObjectPtr = std::unique_ptr<CSimObject, SimObjectDisowner>;

} // namespace swsim

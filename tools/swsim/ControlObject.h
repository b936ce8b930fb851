// The control object ("QelSwSim.Control"): lets tests and scripts configure
// the simulator, read and clear its journal, count outstanding references,
// list the open documents and end it. Its calls are not journaled. Dispatch
// ids in SimIds.h; names are known too, for scripting clients.
#pragma once

#include <string>

#include <windows.h>
#include <oaidl.h>

namespace swsim
{

class CSimMainWindow;
class CSimulator;

class CControlObject final : public IDispatch
{
public:
    CControlObject(CSimulator& simulator, const CSimMainWindow& window);
    CControlObject(const CControlObject&) = delete;
    CControlObject& operator=(const CControlObject&) = delete;

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

private:
    ~CControlObject() = default;
    HRESULT Configure(DISPPARAMS* params, EXCEPINFO* exception);

    CSimulator& m_simulator;
    const CSimMainWindow& m_window;
    ULONG m_refs = 1;
};

} // namespace swsim

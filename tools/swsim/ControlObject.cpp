#include "tools/swsim/ControlObject.h"

#include <stdexcept>

#include "tools/swsim/Bstr.h"
#include "tools/swsim/MainWindow.h"
#include "tools/swsim/SimIds.h"
#include "tools/swsim/SimOptions.h"
#include "tools/swsim/Simulator.h"
#include "tools/swsim/TextConversion.h"

namespace swsim
{
namespace
{

struct ControlName
{
    const wchar_t* name;
    DISPID id;
};

constexpr ControlName kNames[] = {
    {L"Configure", kControlConfigure},
    {L"Journal", kControlJournal},
    {L"ClearJournal", kControlClearJournal},
    {L"OutstandingReferences", kControlOutstandingReferences},
    {L"MainWindow", kControlMainWindow},
    {L"Documents", kControlDocuments},
    {L"Quit", kControlQuit},
};

HRESULT ReturnText(VARIANT* result, const std::wstring& text)
{
    if (result)
    {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = CBstr(text).Detach();
    }
    return S_OK;
}

HRESULT ReturnLong(VARIANT* result, long value)
{
    if (result)
    {
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

HRESULT Fail(EXCEPINFO* exception, const std::wstring& description)
{
    if (exception)
    {
        *exception = EXCEPINFO{};
        exception->bstrSource = CBstr(L"QelSwSim.Control").Detach();
        exception->bstrDescription = CBstr(description).Detach();
        exception->scode = E_INVALIDARG;
    }
    return DISP_E_EXCEPTION;
}

bool HasArguments(const DISPPARAMS* params, UINT count)
{
    return (params ? params->cArgs : 0) == count;
}

} // namespace

CControlObject::CControlObject(CSimulator& simulator, const CSimMainWindow& window)
    : m_simulator(simulator), m_window(window)
{
}

HRESULT STDMETHODCALLTYPE CControlObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
    {
        return E_POINTER;
    }
    if (iid != IID_IUnknown && iid != IID_IDispatch)
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CControlObject::AddRef()
{
    return ++m_refs;
}

ULONG STDMETHODCALLTYPE CControlObject::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
    {
        delete this;
    }
    return refs;
}

HRESULT STDMETHODCALLTYPE CControlObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
    {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CControlObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
    {
        *info = nullptr;
    }
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE CControlObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                        DISPID* ids)
{
    if (!names || !ids || count == 0)
    {
        return E_INVALIDARG;
    }
    // Only the member name itself; the members take no named arguments.
    for (UINT i = 0; i < count; ++i)
    {
        ids[i] = DISPID_UNKNOWN;
    }
    for (const ControlName& entry : kNames)
    {
        if (names[0] && _wcsicmp(names[0], entry.name) == 0)
        {
            ids[0] = entry.id;
        }
    }
    return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE CControlObject::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                                 DISPPARAMS* params, VARIANT* result,
                                                 EXCEPINFO* exception, UINT*)
{
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (id == kControlConfigure)
    {
        return Configure(params, exception);
    }
    if (!HasArguments(params, 0))
    {
        return DISP_E_BADPARAMCOUNT;
    }
    switch (id)
    {
    case kControlJournal:
        return ReturnText(result, m_simulator.JournalText());
    case kControlClearJournal:
        m_simulator.ClearJournal();
        return S_OK;
    case kControlOutstandingReferences:
        return ReturnLong(result, m_simulator.OutstandingReferences());
    case kControlMainWindow:
        return ReturnLong(result, static_cast<long>(reinterpret_cast<LONG_PTR>(m_window.Handle())));
    case kControlDocuments:
        return ReturnText(result, m_simulator.DocumentsText());
    case kControlQuit:
        // Answered first; the message loop ends when the close message arrives.
        PostMessageW(m_window.Handle(), WM_CLOSE, 0, 0);
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CControlObject::Configure(DISPPARAMS* params, EXCEPINFO* exception)
{
    if (!HasArguments(params, 1))
    {
        return DISP_E_BADPARAMCOUNT;
    }
    const VARIANT& argument = params->rgvarg[0];
    if (argument.vt != VT_BSTR)
    {
        return DISP_E_TYPEMISMATCH;
    }
    const std::wstring text =
        argument.bstrVal ? std::wstring(argument.bstrVal, SysStringLen(argument.bstrVal)) : L"";
    try
    {
        m_simulator.Configure(CSimOptions::Parse(text));
    }
    catch (const std::invalid_argument& error)
    {
        return Fail(exception, WideFromUtf8(error.what()));
    }
    return S_OK;
}

} // namespace swsim

#include "tools/swsim/ControlConnection.h"

#include <cstdio>
#include <stdexcept>

#include <oleauto.h>

#include "tools/swsim/Bstr.h"
#include "tools/swsim/SimIds.h"
#include "tools/swsim/TextConversion.h"
#include "tools/swsim/Variant.h"

namespace swsim
{
namespace
{

[[noreturn]] void ThrowCallFailure(const char* what, HRESULT hr, const EXCEPINFO& exception)
{
    std::string text = std::string("swsim control ") + what + " failed: ";
    if (hr == DISP_E_EXCEPTION && exception.bstrDescription)
    {
        text += Utf8FromWide(exception.bstrDescription);
    }
    else
    {
        char code[16];
        std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(hr));
        text += code;
    }
    throw std::runtime_error(text);
}

// Frees the texts that a failing call left in the exception record.
class CExceptionRecord
{
public:
    CExceptionRecord() = default;
    CExceptionRecord(const CExceptionRecord&) = delete;
    CExceptionRecord& operator=(const CExceptionRecord&) = delete;
    ~CExceptionRecord()
    {
        SysFreeString(m_record.bstrSource);
        SysFreeString(m_record.bstrDescription);
        SysFreeString(m_record.bstrHelpFile);
    }

    EXCEPINFO* Get() { return &m_record; }
    const EXCEPINFO& Filled()
    {
        if (m_record.pfnDeferredFillIn)
        {
            m_record.pfnDeferredFillIn(&m_record);
        }
        return m_record;
    }

private:
    EXCEPINFO m_record{};
};

} // namespace

HRESULT GetActiveDispatch(const wchar_t* progId, Microsoft::WRL::ComPtr<IDispatch>& object)
{
    object.Reset();
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr))
    {
        return hr;
    }
    Microsoft::WRL::ComPtr<IUnknown> unknown;
    hr = GetActiveObject(clsid, nullptr, unknown.GetAddressOf());
    if (FAILED(hr))
    {
        return hr;
    }
    if (!unknown)
    {
        // Wine reports an entry whose object is gone as S_FALSE with no object.
        return MK_E_UNAVAILABLE;
    }
    return unknown.As(&object);
}

CControlConnection::CControlConnection(Microsoft::WRL::ComPtr<IDispatch> control)
    : m_control(std::move(control))
{
}

std::unique_ptr<CControlConnection> CControlConnection::TryConnect()
{
    Microsoft::WRL::ComPtr<IDispatch> control;
    if (FAILED(GetActiveDispatch(kControlProgId, control)))
    {
        return nullptr;
    }
    return std::make_unique<CControlConnection>(std::move(control));
}

void CControlConnection::Configure(const std::string& options)
{
    const std::wstring text = WideFromUtf8(options);
    Call(kControlConfigure, &text, nullptr, "Configure");
}

std::string CControlConnection::Journal()
{
    return Utf8FromWide(CallText(kControlJournal, "Journal"));
}

void CControlConnection::ClearJournal()
{
    Call(kControlClearJournal, nullptr, nullptr, "ClearJournal");
}

long CControlConnection::OutstandingReferences()
{
    return CallLong(kControlOutstandingReferences, "OutstandingReferences");
}

HWND CControlConnection::MainWindow()
{
    return reinterpret_cast<HWND>(
        static_cast<LONG_PTR>(CallLong(kControlMainWindow, "MainWindow")));
}

std::string CControlConnection::Documents()
{
    return Utf8FromWide(CallText(kControlDocuments, "Documents"));
}

void CControlConnection::Quit()
{
    Call(kControlQuit, nullptr, nullptr, "Quit");
}

std::wstring CControlConnection::CallText(DISPID id, const char* what)
{
    CVariant result;
    Call(id, nullptr, result.Receive(), what);
    if (result.Value().vt != VT_BSTR)
    {
        throw std::runtime_error(std::string("swsim control ") + what + ": no text returned");
    }
    const BSTR text = result.Value().bstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

long CControlConnection::CallLong(DISPID id, const char* what)
{
    CVariant result;
    Call(id, nullptr, result.Receive(), what);
    if (result.Value().vt != VT_I4)
    {
        throw std::runtime_error(std::string("swsim control ") + what + ": no number returned");
    }
    return result.Value().lVal;
}

void CControlConnection::Call(DISPID id, const std::wstring* text, VARIANT* result,
                              const char* what)
{
    CBstr argumentText(text ? *text : std::wstring());
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = argumentText.Get(); // still owned by argumentText
    DISPPARAMS params{};
    if (text)
    {
        params.rgvarg = &argument;
        params.cArgs = 1;
    }
    CExceptionRecord exception;
    const HRESULT hr = m_control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                         &params, result, exception.Get(), nullptr);
    if (FAILED(hr))
    {
        ThrowCallFailure(what, hr, exception.Filled());
    }
}

} // namespace swsim

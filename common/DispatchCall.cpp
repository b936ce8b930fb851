#include "common/DispatchCall.h"

#include <algorithm>
#include <vector>

#include "common/AutomationFailure.h"
#include "common/DispatchTrace.h"
#include "common/SentMessages.h"
#include "common/Trace.h"

namespace qel
{

namespace
{

WORD InvokeFlags(DispatchKind kind)
{
    switch (kind)
    {
    case DispatchKind::PropertyGet:
        return DISPATCH_PROPERTYGET;
    case DispatchKind::PropertyPut:
        return DISPATCH_PROPERTYPUT;
    case DispatchKind::Method:
        break;
    }
    return DISPATCH_METHOD;
}

// Owns the three texts of an EXCEPINFO once the call has returned.
class CExceptionInfo
{
public:
    CExceptionInfo() { ZeroMemory(&m_info, sizeof(m_info)); }
    CExceptionInfo(const CExceptionInfo&) = delete;
    CExceptionInfo& operator=(const CExceptionInfo&) = delete;
    ~CExceptionInfo()
    {
        SysFreeString(m_info.bstrSource);
        SysFreeString(m_info.bstrDescription);
        SysFreeString(m_info.bstrHelpFile);
    }

    EXCEPINFO* Get() { return &m_info; }

    // The server's description of its failure (deferred fill-in honoured).
    std::string Description()
    {
        if (m_info.pfnDeferredFillIn != nullptr)
        {
            m_info.pfnDeferredFillIn(&m_info);
            m_info.pfnDeferredFillIn = nullptr;
        }
        return NarrowText(m_info.bstrDescription);
    }

    HRESULT Code() const { return m_info.scode != 0 ? m_info.scode : DISP_E_EXCEPTION; }

private:
    EXCEPINFO m_info;
};

// The failure of a call that answered hr.
CAutomationFailure FailureOf(HRESULT hr, CExceptionInfo& exception)
{
    if (hr != DISP_E_EXCEPTION)
        return CAutomationFailure(hr, DescribeFailureCode(hr));
    std::string description = exception.Description();
    HRESULT code = exception.Code();
    return CAutomationFailure(code, description.empty() ? DescribeFailureCode(code) : description);
}

} // namespace

namespace
{
// A busy SolidWorks (a modal dialog open, a rebuild running) rejects calls
// for a while; they are tried again for this long before the step fails.
constexpr DWORD kBusyRetryMs = 5000;
constexpr DWORD kFirstBusyPauseMs = 20;
constexpr DWORD kLongestBusyPauseMs = 500;

bool IsBusy(HRESULT hr)
{
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}
} // namespace

CVariant InvokeDispatch(IDispatch* target, DispatchId id, DispatchKind kind,
                        std::initializer_list<const CVariant*> args, bool wantResult,
                        const std::function<bool(DWORD)>& keepTrying)
{
    if (target == nullptr)
        throw CAutomationFailure(E_POINTER, DescribeFailureCode(E_POINTER));

    // rgvarg holds the arguments last first; the VARIANTs stay owned by the caller.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = args.end(); it != args.begin();)
        reversed.push_back((*--it)->Value());

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (kind == DispatchKind::PropertyPut)
    {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }

    CVariant result;
    CExceptionInfo exception;
    UINT argError = 0;
    HRESULT hr = S_OK;
    const DWORD start = GetTickCount();
    for (DWORD pause = kFirstBusyPauseMs;; pause = std::min(pause * 2, kLongestBusyPauseMs))
    {
        hr = target->Invoke(id.id, IID_NULL, LOCALE_USER_DEFAULT, InvokeFlags(kind), &params,
                            wantResult ? result.Get() : nullptr, exception.Get(), &argError);
        if (IsBusy(hr) && CTrace::IsOn())
            TraceRejectedCall(id, hr, GetTickCount() - start);
        const DWORD elapsed = GetTickCount() - start;
        if (!IsBusy(hr) || !(keepTrying ? keepTrying(elapsed) : elapsed < kBusyRetryMs))
            break;
        // The host's thread stays responsive to what other programs send it.
        ServeSentMessages(pause);
    }
    if (SUCCEEDED(hr))
    {
        if (CTrace::IsOn())
            TraceDispatchCall(id, kind, args, &result.Value(), nullptr, GetTickCount() - start);
        return result;
    }

    result.Clear();
    const CAutomationFailure failure = FailureOf(hr, exception);
    if (CTrace::IsOn())
        TraceDispatchCall(id, kind, args, nullptr, &failure, GetTickCount() - start);
    throw failure;
}

} // namespace qel

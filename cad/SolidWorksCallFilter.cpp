#include "cad/SolidWorksCallFilter.h"

#include <utility>

#include "common/AutomationFailure.h"
#include "common/StringTable.h"
#include "resources/resource.h"
#include "ui/SolidWorksWaitDlg.h"

namespace qel
{

namespace
{
// How often the waiting thread is woken to look at its call.
constexpr DWORD kWakeEveryMs = 250;

// The filter of the insertion running on the host's thread: the innermost
// one when the host called again from inside a wait.
CSolidWorksCallFilter* s_active = nullptr;

UINT WakeMessage()
{
    static const UINT s_message = RegisterWindowMessageA("QelSW99_3D.SolidWorksCallWake");
    return s_message;
}
} // namespace

// Posts the wake-up message to the waiting thread from the system's timer
// thread; deleting it waits for a callback under way.
class CSolidWorksCallFilter::CWakeTimer
{
public:
    explicit CWakeTimer(DWORD threadId) : m_nThreadId(threadId)
    {
        if (!CreateTimerQueueTimer(&m_hTimer, nullptr, &CWakeTimer::Wake, this, kWakeEveryMs,
                                   kWakeEveryMs, WT_EXECUTEINTIMERTHREAD))
            m_hTimer = nullptr;
    }
    CWakeTimer(const CWakeTimer&) = delete;
    CWakeTimer& operator=(const CWakeTimer&) = delete;
    ~CWakeTimer()
    {
        if (m_hTimer != nullptr)
            DeleteTimerQueueTimer(nullptr, m_hTimer, INVALID_HANDLE_VALUE);
    }

private:
    static VOID CALLBACK Wake(PVOID self, BOOLEAN /*timerFired*/)
    {
        PostThreadMessageA(static_cast<CWakeTimer*>(self)->m_nThreadId, WakeMessage(), 0, 0);
    }

    DWORD m_nThreadId;
    HANDLE m_hTimer = nullptr;
};

CSolidWorksCallFilter::CCallScope::CCallScope() : m_pFilter(Active())
{
    if (m_pFilter != nullptr)
        m_pFilter->BeginCall();
}

CSolidWorksCallFilter::CCallScope::~CCallScope()
{
    if (m_pFilter != nullptr)
        m_pFilter->EndCall();
}

void CSolidWorksCallFilter::CCallScope::ThrowIfCancelled() const
{
    if (m_pFilter != nullptr && m_pFilter->m_outcome != WaitOutcome::Waiting)
        ThrowCancelled();
}

CSolidWorksCallFilter::CSolidWorksCallFilter(bool showBox, unsigned boundSeconds,
                                             std::function<void()> switchTo)
    : m_nThreadId(GetCurrentThreadId()), m_bShowBox(showBox), m_nBoundMs(boundSeconds * 1000UL),
      m_switchTo(std::move(switchTo))
{
    // A thread whose apartment takes no filter (a multithreaded one) waits as before.
    m_bRegistered = SUCCEEDED(CoRegisterMessageFilter(this, m_previous.ReleaseAndGetAddressOf()));
    if (!m_bRegistered)
        return;
    m_pOuter = std::exchange(s_active, this);
    if (m_bShowBox || m_nBoundMs != 0)
        m_timer = std::make_unique<CWakeTimer>(m_nThreadId);
}

CSolidWorksCallFilter::~CSolidWorksCallFilter()
{
    m_timer.reset();
    m_box.reset();
    if (!m_bRegistered)
        return;
    s_active = m_pOuter;
    CoRegisterMessageFilter(m_previous.Get(), nullptr);
    DropWakeMessages();
}

HRESULT STDMETHODCALLTYPE CSolidWorksCallFilter::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IMessageFilter)
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IMessageFilter*>(this);
    return S_OK;
}

DWORD STDMETHODCALLTYPE CSolidWorksCallFilter::HandleInComingCall(DWORD callType, HTASK caller,
                                                                  DWORD tickCount,
                                                                  LPINTERFACEINFO info)
{
    return m_previous != nullptr ? m_previous->HandleInComingCall(callType, caller, tickCount, info)
                                 : SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE CSolidWorksCallFilter::RetryRejectedCall(HTASK callee, DWORD tickCount,
                                                                 DWORD rejectType)
{
    // Without a filter of the host's, COM hands the rejection back to the
    // call, which tries again itself.
    return m_previous != nullptr ? m_previous->RetryRejectedCall(callee, tickCount, rejectType)
                                 : static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE CSolidWorksCallFilter::MessagePending(HTASK callee, DWORD tickCount,
                                                              DWORD pendingType)
{
    DropWakeMessages();
    if (Watch() != WaitOutcome::Waiting)
        return PENDINGMSG_CANCELCALL;
    return m_previous != nullptr ? m_previous->MessagePending(callee, tickCount, pendingType)
                                 : PENDINGMSG_WAITDEFPROCESS;
}

CSolidWorksCallFilter* CSolidWorksCallFilter::Active()
{
    return s_active != nullptr && s_active->m_nThreadId == GetCurrentThreadId() ? s_active
                                                                                : nullptr;
}

void CSolidWorksCallFilter::BeginCall()
{
    if (m_outcome != WaitOutcome::Waiting)
        ThrowCancelled();
    m_bInCall = true;
    m_nCallStart = GetTickCount();
}

void CSolidWorksCallFilter::EndCall()
{
    m_bInCall = false;
    m_box.reset();
}

void CSolidWorksCallFilter::ThrowCancelled()
{
    throw CAutomationFailure(RPC_E_CALL_CANCELED, LoadMessage(IDS_SOLIDWORKS_CALL_CANCELLED));
}

WaitOutcome CSolidWorksCallFilter::Watch()
{
    if (m_outcome != WaitOutcome::Waiting || !m_bInCall)
        return m_outcome;
    const DWORD elapsedMs = GetTickCount() - m_nCallStart;
    if (!m_bShowBox)
    {
        if (m_nBoundMs != 0 && elapsedMs >= m_nBoundMs)
            m_outcome = WaitOutcome::TimedOut;
        return m_outcome;
    }
    if (elapsedMs < kBoxAfterMs)
        return m_outcome;
    if (m_box == nullptr)
        m_box = std::make_unique<CSolidWorksWaitDlg>(m_switchTo);
    if (m_box->Show(elapsedMs / 1000) && m_box->Serve() == WaitOutcome::Cancelled)
    {
        m_outcome = WaitOutcome::Cancelled;
        m_box.reset();
    }
    return m_outcome;
}

void CSolidWorksCallFilter::DropWakeMessages() const
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WakeMessage(), WakeMessage(), PM_REMOVE))
    {
    }
}

} // namespace qel

#include "cad/SolidWorksCallFilter.h"

#include <utility>

#include "common/StringTable.h"
#include "common/Trace.h"
#include "resources/resource.h"
#include "ui/SolidWorksWaitDlg.h"

namespace qel
{

namespace
{
// How often the waiting thread is woken to look at its call.
constexpr DWORD kWakeEveryMs = 250;
// Ticks after which a wake-up still pending is posted again: another loop (a
// host's handler pumping its own messages) may have taken it, or a peek made
// it old news to the wait, and no further one would come.
constexpr unsigned kRepostAfterTicks = 4;

// The filter of the insertion running on each thread: the innermost one when
// the host called again from inside a wait.
CThreadSlot<CSolidWorksCallFilter> s_active;

UINT WakeMessage()
{
    static const UINT s_message = RegisterWindowMessageA("QelSW99_3D.SolidWorksCallWake");
    return s_message;
}
} // namespace

CCallCancelled::CCallCancelled()
    : CAutomationFailure(RPC_E_CALL_CANCELED, LoadMessage(IDS_SOLIDWORKS_CALL_CANCELLED))
{
}

// Posts the wake-up message to the waiting thread from the system's timer
// thread, unless one is still pending (then only now and again); deleting it
// waits for a callback under way.
class CSolidWorksCallFilter::CWakeTimer
{
public:
    CWakeTimer(DWORD threadId, LONG* pending) : m_nThreadId(threadId), m_pPending(pending)
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
        auto* timer = static_cast<CWakeTimer*>(self);
        // Only the timer thread runs this: the count needs no lock.
        if (InterlockedExchange(timer->m_pPending, 1) != 0 &&
            ++timer->m_nPendingTicks < kRepostAfterTicks)
            return;
        timer->m_nPendingTicks = 0;
        if (!PostThreadMessageA(timer->m_nThreadId, WakeMessage(), 0, 0))
            InterlockedExchange(timer->m_pPending, 0);
    }

    DWORD m_nThreadId;
    LONG* m_pPending;
    unsigned m_nPendingTicks = 0;
    HANDLE m_hTimer = nullptr;
};

CSolidWorksCallFilter::CCallScope::CCallScope() : m_pFilter(s_active.Get())
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
        throw CCallCancelled();
}

WaitOutcome CSolidWorksCallFilter::CCallScope::WatchRejection(DWORD elapsedMs) const
{
    if (m_pFilter != nullptr && (m_pFilter->m_bShowBox || m_pFilter->m_nBoundMs != 0))
        return m_pFilter->Watch();
    return elapsedMs < kRejectedRetryMs ? WaitOutcome::Waiting : WaitOutcome::Failed;
}

CSolidWorksCallFilter::CSolidWorksCallFilter(bool showBox, unsigned boundSeconds,
                                             std::function<bool()> canSwitch,
                                             std::function<void()> switchTo)
    : m_bShowBox(showBox), m_nBoundMs(boundSeconds * 1000UL), m_canSwitch(std::move(canSwitch)),
      m_switchTo(std::move(switchTo))
{
    // A thread whose apartment takes no filter (a multithreaded one) waits as before.
    m_bRegistered = SUCCEEDED(CoRegisterMessageFilter(this, m_previous.ReleaseAndGetAddressOf()));
    if (!m_bRegistered)
        return;
    m_slotScope = std::make_unique<CThreadSlotScope<CSolidWorksCallFilter>>(s_active, this);
    if (m_bShowBox || m_nBoundMs != 0)
        m_timer = std::make_unique<CWakeTimer>(GetCurrentThreadId(), &m_nWakePending);
}

CSolidWorksCallFilter::~CSolidWorksCallFilter()
{
    m_timer.reset();
    m_box.reset();
    if (!m_bRegistered)
        return;
    CSolidWorksCallFilter* outer = m_slotScope->Outer();
    m_slotScope.reset();
    CoRegisterMessageFilter(m_previous.Get(), nullptr);
    DropWakeMessages();
    // The wake-up messages are the thread's: this filter took the outer
    // insertion's too, whose timer would otherwise wait for it for good.
    if (outer != nullptr)
        InterlockedExchange(&outer->m_nWakePending, 0);
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

DWORD STDMETHODCALLTYPE CSolidWorksCallFilter::RetryRejectedCall(HTASK /*callee*/,
                                                                 DWORD /*tickCount*/,
                                                                 DWORD /*rejectType*/)
{
    // The rejection goes back to the call, which waits for it as for a
    // pending one (the box, Cancel, the bound); a delay of the host's filter
    // would retry inside COM, out of their reach.
    return static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE CSolidWorksCallFilter::MessagePending(HTASK callee, DWORD tickCount,
                                                              DWORD pendingType)
{
    DropWakeMessages();
    if (IsWatching() && Watch() != WaitOutcome::Waiting)
        return PENDINGMSG_CANCELCALL;
    return m_previous != nullptr ? m_previous->MessagePending(callee, tickCount, pendingType)
                                 : PENDINGMSG_WAITDEFPROCESS;
}

bool CSolidWorksCallFilter::IsWatching() const
{
    return m_bInCall && s_active.Get() == this;
}

void CSolidWorksCallFilter::BeginCall()
{
    DropWakeMessages(); // one a dialog's loop took leaves no new one posted
    m_outcome = WaitOutcome::Waiting;
    m_bInCall = true;
    m_nCallStart = GetTickCount();
}

void CSolidWorksCallFilter::EndCall()
{
    m_bInCall = false;
    m_outcome = WaitOutcome::Waiting;
    m_box.reset();
}

WaitOutcome CSolidWorksCallFilter::Watch()
{
    if (m_outcome != WaitOutcome::Waiting || !m_bInCall)
        return m_outcome;
    const DWORD elapsedMs = GetTickCount() - m_nCallStart;
    if (!m_bShowBox)
    {
        if (m_nBoundMs != 0 && elapsedMs >= m_nBoundMs)
            GiveUp(WaitOutcome::TimedOut);
        return m_outcome;
    }
    if (elapsedMs < kBoxAfterMs)
        return m_outcome;
    if (m_box == nullptr)
        m_box = std::make_unique<CSolidWorksWaitDlg>(m_canSwitch, m_switchTo);
    if (m_box->Show(elapsedMs / 1000) && m_box->Serve() == WaitOutcome::Cancelled)
    {
        GiveUp(WaitOutcome::Cancelled);
        m_box.reset();
    }
    return m_outcome;
}

void CSolidWorksCallFilter::GiveUp(WaitOutcome outcome)
{
    m_outcome = outcome;
    // Now, not when the call returns: under Wine a cancelled call comes back
    // only once SolidWorks answers.
    CTrace::Line("SolidWorks call given up after %lu ms: %s", GetTickCount() - m_nCallStart,
                 OutcomeName(outcome));
}

void CSolidWorksCallFilter::DropWakeMessages()
{
    // Cleared first: a message posted meanwhile is taken below or wakes the next wait.
    InterlockedExchange(&m_nWakePending, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, WakeMessage(), WakeMessage(), PM_REMOVE))
    {
    }
}

} // namespace qel

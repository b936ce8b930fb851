// The client message filter of an insertion: registered on the calling
// thread for as long as the insertion talks to SolidWorks, it watches each
// automation call that SolidWorks accepted and does not answer. A call that
// may show boxes shows, after a few seconds, a box with "Switch to
// SolidWorks" and Cancel; a silent call is cancelled at its bound (none when
// 0). A call SolidWorks rejects (busy) is waited for the same way. A
// cancelled call fails with the cancellation (CCallCancelled), which no step
// swallows: the insertion ends at once. The cancel belongs to that call
// alone and ends when it returns, so the calls of the host (a paint it
// handles meanwhile) and the releases of the insertion's references are
// never cancelled by it. What is not the wait's to decide (incoming calls, a
// wait with no box and no bound) goes to the filter the host had registered,
// and that filter is registered again when this one goes. The filter of a
// thread is its own: host threads insert side by side.
//
// COM looks at the filter only when a message arrives for the waiting
// thread; under Wine a timer's message does not wake the wait, so a
// timer-queue callback posts a message of its own a few times a second.
#pragma once

#include <functional>
#include <memory>

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include "common/AutomationFailure.h"
#include "common/ThreadSlot.h"
#include "common/WaitOutcome.h"

namespace qel
{

// The failure of a call the user cancelled, or the silent bound gave up: the
// user's decision, never a failure a step may swallow.
class CCallCancelled : public CAutomationFailure
{
public:
    CCallCancelled();
};

class CSolidWorksWaitDlg;

class CSolidWorksCallFilter : public IMessageFilter
{
public:
    // How long a call that may show boxes goes without one.
    static constexpr DWORD kBoxAfterMs = 5000;

    // One automation call under the filter of the calling thread (none: the
    // call goes as it is). When the scope ends, the box and the cancel of the
    // call go.
    class CCallScope
    {
    public:
        CCallScope();
        CCallScope(const CCallScope&) = delete;
        CCallScope& operator=(const CCallScope&) = delete;
        ~CCallScope();
        // Throws the cancellation when this call was cancelled, whatever it returned.
        void ThrowIfCancelled() const;
        // Whether a call SolidWorks rejected is tried again after this long:
        // Waiting to go on, else how the wait ended. Without a box and a
        // bound, rejections are tried for a few seconds.
        WaitOutcome WatchRejection(DWORD elapsedMs) const;

    private:
        CSolidWorksCallFilter* m_pFilter;
    };

    // showBox: the call may show boxes; boundSeconds: the bound of a silent
    // call (0: none); canSwitch: whether SolidWorks' window is known yet;
    // switchTo: what "Switch to SolidWorks" does (neither throws).
    CSolidWorksCallFilter(bool showBox, unsigned boundSeconds, std::function<bool()> canSwitch,
                          std::function<void()> switchTo);
    CSolidWorksCallFilter(const CSolidWorksCallFilter&) = delete;
    CSolidWorksCallFilter& operator=(const CSolidWorksCallFilter&) = delete;
    virtual ~CSolidWorksCallFilter();

    // How long a rejected call is tried again without a box or a bound.
    static constexpr DWORD kRejectedRetryMs = 5000;

    // IUnknown: the object lives as long as its owner; COM's references
    // never end it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IMessageFilter
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override;

private:
    void BeginCall();
    void EndCall();
    // Looks at the call now: Waiting, or how it was given up.
    WaitOutcome Watch();
    // Ends the wait of the call with outcome, and says so in the trace.
    void GiveUp(WaitOutcome outcome);
    // Whether the wait is this filter's to watch: the filter of the call
    // pending on this thread (not an outer insertion's).
    bool IsWatching() const;
    void DropWakeMessages();

    class CWakeTimer;

    Microsoft::WRL::ComPtr<IMessageFilter> m_previous;
    bool m_bRegistered = false;
    std::unique_ptr<CThreadSlotScope<CSolidWorksCallFilter>> m_slotScope;
    bool m_bShowBox;
    DWORD m_nBoundMs;
    std::function<bool()> m_canSwitch;
    std::function<void()> m_switchTo;
    bool m_bInCall = false;
    DWORD m_nCallStart = 0;
    WaitOutcome m_outcome = WaitOutcome::Waiting;
    std::unique_ptr<CSolidWorksWaitDlg> m_box;
    // Set once a wake-up message is posted, cleared once it is taken: one
    // at a time, so a long wait no COM wait serves never fills the queue.
    LONG m_nWakePending = 0;
    std::unique_ptr<CWakeTimer> m_timer;
};

} // namespace qel

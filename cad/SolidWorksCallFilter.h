// The client message filter of an insertion: registered on the calling
// thread for as long as the insertion talks to SolidWorks, it watches each
// automation call that SolidWorks accepted and does not answer. A call that
// may show boxes shows, after a few seconds, a box with "Switch to
// SolidWorks" and Cancel; a silent call is cancelled at its bound (none when
// 0). A cancelled call fails with the cancellation as its reason, and every
// call after it fails the same way without being sent: nothing may queue up
// behind a call SolidWorks still works on. What is not the wait's to decide
// (incoming calls, rejected calls, a wait with no box and no bound) goes to
// the filter the host had registered, and that filter is registered again
// when this one goes.
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

#include "common/WaitOutcome.h"

namespace qel
{

class CSolidWorksWaitDlg;

class CSolidWorksCallFilter : public IMessageFilter
{
public:
    // How long a call that may show boxes goes without one.
    static constexpr DWORD kBoxAfterMs = 5000;

    // One automation call under the filter of the calling thread (none: the
    // call goes as it is). Throws the cancellation when an earlier call was
    // cancelled; when the scope ends, the box of the call goes.
    class CCallScope
    {
    public:
        CCallScope();
        CCallScope(const CCallScope&) = delete;
        CCallScope& operator=(const CCallScope&) = delete;
        ~CCallScope();
        // Throws the cancellation when this call was cancelled, whatever it returned.
        void ThrowIfCancelled() const;

    private:
        CSolidWorksCallFilter* m_pFilter;
    };

    // showBox: the call may show boxes; boundSeconds: the bound of a silent
    // call (0: none); switchTo: what "Switch to SolidWorks" does (no throw).
    CSolidWorksCallFilter(bool showBox, unsigned boundSeconds, std::function<void()> switchTo);
    CSolidWorksCallFilter(const CSolidWorksCallFilter&) = delete;
    CSolidWorksCallFilter& operator=(const CSolidWorksCallFilter&) = delete;
    virtual ~CSolidWorksCallFilter();

    // Attributes
    // Cancelled or TimedOut once a call was given up; Waiting otherwise.
    WaitOutcome GetOutcome() const { return m_outcome; }

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
    // The filter of the calling thread, or null.
    static CSolidWorksCallFilter* Active();
    void BeginCall();
    void EndCall();
    [[noreturn]] static void ThrowCancelled();
    // Looks at the call now: Waiting, or how it was given up.
    WaitOutcome Watch();
    void DropWakeMessages() const;

    class CWakeTimer;

    Microsoft::WRL::ComPtr<IMessageFilter> m_previous;
    bool m_bRegistered = false;
    CSolidWorksCallFilter* m_pOuter = nullptr;
    DWORD m_nThreadId;
    bool m_bShowBox;
    DWORD m_nBoundMs;
    std::function<void()> m_switchTo;
    bool m_bInCall = false;
    DWORD m_nCallStart = 0;
    WaitOutcome m_outcome = WaitOutcome::Waiting;
    std::unique_ptr<CSolidWorksWaitDlg> m_box;
    std::unique_ptr<CWakeTimer> m_timer;
};

} // namespace qel

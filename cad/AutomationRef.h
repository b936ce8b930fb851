// An automation reference: an object pointer plus a flag that says whether the
// reference owns the object (releases it when emptied or destroyed) or only
// borrows it. A call on an empty reference is not made and yields 0, false,
// the empty text or an empty reference.
#pragma once

#include <initializer_list>
#include <string>

#include <windows.h>
#include <oaidl.h>

#include "common/DispatchCall.h"

namespace qel
{

class CAutomationRef
{
public:
    CAutomationRef() = default;
    CAutomationRef(IDispatch* object, bool owning) : m_pObject(object), m_bOwning(owning) {}
    CAutomationRef(CAutomationRef&& other) noexcept;
    CAutomationRef& operator=(CAutomationRef&& other) noexcept;
    CAutomationRef(const CAutomationRef&) = delete;
    CAutomationRef& operator=(const CAutomationRef&) = delete;
    virtual ~CAutomationRef() { Empty(); }

    bool IsEmpty() const { return m_pObject == nullptr; }
    bool IsOwning() const { return m_bOwning; }
    IDispatch* GetBorrowed() const { return m_pObject; }
    // True when both refer to one object of the server (COM identity: asked
    // of the proxies here, no call reaches the server).
    bool IsSameObject(const CAutomationRef& other) const;

    // Takes over object with the reference the caller holds on it: an owning
    // reference releases it later, a borrowing one never does.
    void Attach(IDispatch* object, bool owning);
    // Releases the object if owned and leaves the reference empty.
    void Empty();

protected:
    CVariant Call(DispatchId id, DispatchKind kind,
                  std::initializer_list<const CVariant*> args = {});
    void CallWithoutResult(DispatchId id, DispatchKind kind,
                           std::initializer_list<const CVariant*> args = {});
    std::string CallText(DispatchId id, std::initializer_list<const CVariant*> args = {});
    std::wstring CallWideText(DispatchId id, std::initializer_list<const CVariant*> args = {});
    long CallLong(DispatchId id, std::initializer_list<const CVariant*> args = {});
    // The object returned by the call, owned by the caller (null for none).
    IDispatch* CallObject(DispatchId id, DispatchKind kind,
                          std::initializer_list<const CVariant*> args = {});

private:
    // Every call goes here: under the insertion's message filter, if any.
    CVariant Invoke(DispatchId id, DispatchKind kind, std::initializer_list<const CVariant*> args,
                    bool wantResult);

    IDispatch* m_pObject = nullptr;
    bool m_bOwning = false;
};

} // namespace qel

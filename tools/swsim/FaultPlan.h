// The faults a test asked for: a call by its number or by what it is, or every
// call of one dispatch id on one kind of object, fails with a given description.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <oaidl.h>

#include "tools/swsim/SimOptions.h"

namespace swsim
{

class CFaultPlan
{
public:
    void Add(const FailCallOption& fault) { m_calls.push_back(fault); }
    void Add(const FailDispidOption& fault) { m_dispids.push_back(fault); }
    void Add(const FailHresultOption& fault) { m_hresults.push_back(fault); }
    void AddAnswer(const AnswerOption& answer) { m_answers.push_back(answer); }
    void SetExitAt(const CallSelector& call) { m_exitAt = call; }
    void SetHangAt(const CallSelector& call) { m_hangAt = call; }
    void SetAskAt(const std::optional<CallSelector>& call) { m_askAt = call; }
    void SetBusyAt(const BusyOption& busy) { m_busy = busy; }
    void Clear();

    // The description of the fault planned for this call, or null when the
    // call goes through.
    const std::wstring* FaultFor(const CallPlace& call) const;

    // The answer planned in place of this call's own result, or null.
    const std::wstring* AnswerFor(ObjectKind object, DISPID id) const;

    // The HRESULT planned for this call, or null. A run of them picked by
    // name counts the calls after the one named from its number on.
    const HRESULT* HresultFor(const CallPlace& call);
    bool ExitsAt(const CallPlace& call) const { return m_exitAt && m_exitAt->Picks(call); }
    bool HangsAt(const CallPlace& call) const { return m_hangAt && m_hangAt->Picks(call); }
    bool AsksAt(const CallPlace& call) const { return m_askAt && m_askAt->Picks(call); }
    // How long this call computes before it runs (0: not at all).
    DWORD BusyMsAt(const CallPlace& call) const
    {
        return m_busy && m_busy->call.Picks(call) ? static_cast<DWORD>(m_busy->milliseconds) : 0;
    }

private:
    std::vector<FailCallOption> m_calls;
    std::vector<FailDispidOption> m_dispids;
    std::vector<FailHresultOption> m_hresults;
    std::vector<AnswerOption> m_answers;
    std::optional<CallSelector> m_exitAt;
    std::optional<CallSelector> m_hangAt;
    std::optional<CallSelector> m_askAt;
    std::optional<BusyOption> m_busy;
};

} // namespace swsim

// The faults a test asked for: a call by its number, or every call of one
// dispatch id on one kind of object, fails with a given description.
#pragma once

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
    void SetExitAt(long callNumber) { m_exitAt = callNumber; }
    void SetHangAt(long callNumber) { m_hangAt = callNumber; }
    void SetAskAt(long callNumber) { m_askAt = callNumber; }
    void SetBusyAt(const BusyOption& busy) { m_busy = busy; }
    void Clear();

    // The description of the fault planned for this call, or null when the
    // call goes through. Call numbers count from 1.
    const std::wstring* FaultFor(long callNumber, ObjectKind object, DISPID id) const;

    // The answer planned in place of this call's own result, or null.
    const std::wstring* AnswerFor(ObjectKind object, DISPID id) const;

    // The HRESULT planned for this call, or null.
    const HRESULT* HresultFor(long callNumber) const;
    bool ExitsAt(long callNumber) const { return m_exitAt == callNumber; }
    bool HangsAt(long callNumber) const { return m_hangAt == callNumber; }
    bool AsksAt(long callNumber) const { return m_askAt == callNumber; }
    // How long this call computes before it runs (0: not at all).
    DWORD BusyMsAt(long callNumber) const
    {
        return m_busy.number == callNumber ? static_cast<DWORD>(m_busy.milliseconds) : 0;
    }

private:
    std::vector<FailCallOption> m_calls;
    std::vector<FailDispidOption> m_dispids;
    std::vector<FailHresultOption> m_hresults;
    std::vector<AnswerOption> m_answers;
    long m_exitAt = 0;
    long m_hangAt = 0;
    long m_askAt = 0;
    BusyOption m_busy = {0, 0};
};

} // namespace swsim

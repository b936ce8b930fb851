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
    void Clear();

    // The description of the fault planned for this call, or null when the
    // call goes through. Call numbers count from 1.
    const std::wstring* FaultFor(long callNumber, ObjectKind object, DISPID id) const;

private:
    std::vector<FailCallOption> m_calls;
    std::vector<FailDispidOption> m_dispids;
};

} // namespace swsim

#include "tools/swsim/FaultPlan.h"

namespace swsim
{

void CFaultPlan::Clear()
{
    m_calls.clear();
    m_dispids.clear();
}

const std::wstring* CFaultPlan::FaultFor(long callNumber, ObjectKind object, DISPID id) const
{
    for (const FailCallOption& fault : m_calls)
    {
        if (fault.number == callNumber)
        {
            return &fault.text;
        }
    }
    for (const FailDispidOption& fault : m_dispids)
    {
        if (fault.object == object && fault.id == id)
        {
            return &fault.text;
        }
    }
    return nullptr;
}

} // namespace swsim

#include "tools/swsim/FaultPlan.h"

namespace swsim
{

void CFaultPlan::Clear()
{
    m_calls.clear();
    m_dispids.clear();
    m_hresults.clear();
    m_answers.clear();
    m_exitAt = 0;
    m_hangAt = 0;
    m_askAt = 0;
    m_busy = {0, 0};
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

const std::wstring* CFaultPlan::AnswerFor(ObjectKind object, DISPID id) const
{
    for (const AnswerOption& answer : m_answers)
    {
        if (answer.object == object && answer.id == id)
        {
            return &answer.text;
        }
    }
    return nullptr;
}

const HRESULT* CFaultPlan::HresultFor(long callNumber) const
{
    for (const FailHresultOption& fault : m_hresults)
    {
        if (callNumber >= fault.number && callNumber < fault.number + fault.count)
        {
            return &fault.result;
        }
    }
    return nullptr;
}

} // namespace swsim

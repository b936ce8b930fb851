#include "tools/swsim/FaultPlan.h"

namespace swsim
{

void CFaultPlan::Clear()
{
    m_calls.clear();
    m_dispids.clear();
    m_hresults.clear();
    m_answers.clear();
    m_exitAt.reset();
    m_hangAt.reset();
    m_askAt.reset();
    m_busy.reset();
}

const std::wstring* CFaultPlan::FaultFor(const CallPlace& call) const
{
    for (const FailCallOption& fault : m_calls)
    {
        if (fault.call.Picks(call))
        {
            return &fault.text;
        }
    }
    for (const FailDispidOption& fault : m_dispids)
    {
        if (fault.object == call.object && fault.id == call.id)
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

const HRESULT* CFaultPlan::HresultFor(const CallPlace& call)
{
    for (FailHresultOption& fault : m_hresults)
    {
        if (fault.call.number == 0 && fault.call.Picks(call))
        {
            fault.call = CallSelector{call.number};
        }
        const long first = fault.call.number;
        if (first != 0 && call.number >= first && call.number < first + fault.count)
        {
            return &fault.result;
        }
    }
    return nullptr;
}

} // namespace swsim

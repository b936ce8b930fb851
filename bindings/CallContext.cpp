#include "bindings/CallContext.h"

#include "bindings/LeadingInteger.h"

namespace qel
{

namespace
{

bool IsNonEmpty(const char* text)
{
    return text != nullptr && *text != '\0';
}

} // namespace

CCallContext::CCallContext() : m_bDefaultShowMessages(false), m_bShowMessages(false)
{
    m_systemLanguage.Set(m_systemLanguage.GetSystemDefault());
    m_requestedLanguage = m_systemLanguage;
    m_bShowMessages = m_bDefaultShowMessages;
}

int CCallContext::GetLanguageCode() const
{
    return m_requestedLanguage.Get();
}

bool CCallContext::GetShowMessages() const
{
    return m_bShowMessages;
}

const char* CCallContext::GetOutputFileName() const
{
    return GetValue(kOutputFileName);
}

const char* CCallContext::GetIniFileName() const
{
    return GetValue(kIniFileName);
}

void CCallContext::CopyFrom(const CCallContext& other)
{
    if (&other == this)
        return;
    COptionParameters::CopyFrom(other);
    m_systemLanguage = other.m_systemLanguage;
    m_requestedLanguage = other.m_requestedLanguage;
    m_bDefaultShowMessages = other.m_bDefaultShowMessages;
    m_bShowMessages = other.m_bShowMessages;
}

void CCallContext::OnValueChanged(unsigned keyIndex)
{
    const char* value = GetValue(keyIndex);
    if (keyIndex == kShowMessages)
    {
        m_bShowMessages =
            IsNonEmpty(value) ? ReadLeadingInteger(value) != 0 : m_bDefaultShowMessages;
    }
    else if (keyIndex == kLanguageId)
    {
        // A code outside the scheme leaves the requested language as it was.
        if (IsNonEmpty(value))
            m_requestedLanguage.Set(ReadLeadingInteger(value));
        else
            m_requestedLanguage = m_systemLanguage;
    }
}

} // namespace qel

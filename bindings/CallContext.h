// What the host tells one extended call through its parameter text: whether
// errors are also shown in a message box, the language code in effect, and the
// other option values, kept for whoever asks.
#pragma once

#include "bindings/LanguageCode.h"
#include "bindings/OptionParameters.h"

namespace qel
{

class CCallContext : public COptionParameters
{
public:
    // No values, ShowMessages off, the requested language equal to the
    // system's default language.
    CCallContext();

    // Attributes
    // The language code in effect: LanguageId when accepted, else the system's.
    virtual int GetLanguageCode() const;
    // True when the host asked for error boxes (ShowMessages with a non-zero number).
    virtual bool GetShowMessages() const;
    virtual const char* GetOutputFileName() const;
    virtual const char* GetIniFileName() const;

    // Operations
    using COptionParameters::CopyFrom;
    // Takes over the values, both language codes and both flags of other.
    virtual void CopyFrom(const CCallContext& other);

protected:
    void OnValueChanged(unsigned keyIndex) override;

private:
    CLanguageCode m_systemLanguage;
    CLanguageCode m_requestedLanguage;
    bool m_bDefaultShowMessages;
    bool m_bShowMessages;
};

} // namespace qel

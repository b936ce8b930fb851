#include "bindings/LanguageCode.h"

#include "common/Platform.h"

namespace qel
{

namespace
{

struct SSubLanguageCode
{
    unsigned short nSubLanguage;
    int nCode;
};

struct SPrimaryLanguageCodes
{
    unsigned short nPrimaryLanguage;
    int nDefaultCode; // for every sub-language not listed
    SSubLanguageCode subLanguages[5];
};

// Unused sub-language slots are zero and never match: sub-language 0 is the
// neutral one, which always takes the default code.
const SPrimaryLanguageCodes kLanguageCodes[] = {
    {0x09, 100, {{2, 101}, {3, 102}, {4, 103}, {5, 105}, {6, 104}}}, // English
    {0x07, 106, {{2, 107}, {3, 108}}},                               // German
    {0x0C, 109, {{2, 110}, {3, 111}, {4, 112}}},                     // French
    {0x10, 113, {{2, 114}}},                                         // Italian
    {0x0A, 115, {{1, 116}, {2, 117}, {3, 118}}},                     // Spanish
    {0x08, 119, {}},                                                 // Greek
    {0x0E, 120, {}},                                                 // Hungarian
    {0x16, 121, {{1, 122}}},                                         // Portuguese
    {0x1F, 123, {}},                                                 // Turkish
    {0x1D, 124, {}},                                                 // Swedish
    {0x11, 125, {}},                                                 // Japanese
    {0x04, 127, {{1, 126}}},                                         // Chinese
    {0x05, 128, {}},                                                 // Czech
    {0x06, 129, {}},                                                 // Danish
    {0x13, 130, {{2, 131}}},                                         // Dutch
    {0x0B, 132, {}},                                                 // Finnish
    {0x0F, 133, {}},                                                 // Icelandic
    {0x12, 134, {}},                                                 // Korean
    {0x14, 136, {{1, 135}}},                                         // Norwegian
    {0x15, 137, {}},                                                 // Polish
    {0x19, 138, {}},                                                 // Russian
    {0x1A, 139, {}},                                                 // Croatian and Serbian
    {0x1B, 140, {}},                                                 // Slovak
};

bool IsAcceptedCode(int code)
{
    return code == 0 || code == 50 || (code >= 100 && code <= 140);
}

} // namespace

CLanguageCode::CLanguageCode() : m_nCode(0), m_nSystemDefault(CodeFromLangId(SystemDefaultLangId()))
{
}

CLanguageCode& CLanguageCode::operator=(const CLanguageCode& other)
{
    m_nCode = other.m_nCode;
    return *this;
}

void CLanguageCode::Set(int code)
{
    if (IsAcceptedCode(code))
        m_nCode = code;
}

int CLanguageCode::CodeFromLangId(unsigned short langId)
{
    const unsigned short primary = langId & 0x3FF;
    const unsigned short sub = langId >> 10;
    for (const SPrimaryLanguageCodes& language : kLanguageCodes)
    {
        if (language.nPrimaryLanguage != primary)
            continue;
        for (const SSubLanguageCode& entry : language.subLanguages)
        {
            if (entry.nSubLanguage != 0 && entry.nSubLanguage == sub)
                return entry.nCode;
        }
        return language.nDefaultCode;
    }
    return 0;
}

} // namespace qel

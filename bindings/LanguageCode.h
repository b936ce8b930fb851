// A language code of the maker's scheme: 100 to 140 for the languages and
// countries the maker knows (100 to 105 English, 106 to 108 German, 109 to 112
// French, higher codes other languages), 50, or 0 for anything else.
#pragma once

namespace qel
{

class CLanguageCode
{
public:
    // Holds 0; the system default code is taken from the platform's default
    // language once, here.
    CLanguageCode();
    CLanguageCode(const CLanguageCode&) = default;
    virtual ~CLanguageCode() = default;

    // Copies the held code only; the system default code stays this object's own.
    CLanguageCode& operator=(const CLanguageCode& other);

    // Attributes
    int Get() const { return m_nCode; }
    int GetSystemDefault() const { return m_nSystemDefault; }

    // Operations
    // Takes the code when it is 0, 50 or 100 to 140; any other code leaves the
    // held one unchanged.
    void Set(int code);

    // The code of a Windows language identifier (primary language in the low
    // 10 bits, sub-language above), 0 when the maker's scheme has none.
    static int CodeFromLangId(unsigned short langId);

private:
    int m_nCode;
    int m_nSystemDefault;
};

} // namespace qel

// Owner of a VARIANT (cleared with VariantClear).
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace swsim
{

class CVariant
{
public:
    CVariant() { VariantInit(&m_value); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    ~CVariant() { VariantClear(&m_value); }

    const VARIANT& Value() const { return m_value; }
    // For an out-parameter: clears what was held first.
    VARIANT* Receive()
    {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

} // namespace swsim

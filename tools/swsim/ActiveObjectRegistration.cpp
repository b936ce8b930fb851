#include "tools/swsim/ActiveObjectRegistration.h"

#include <oleauto.h>

namespace swsim
{

CActiveObjectRegistration::CActiveObjectRegistration(IUnknown* object, const CLSID& clsid,
                                                     DWORD flags)
    : m_object(object), m_result(RegisterActiveObject(object, clsid, flags, &m_cookie))
{
}

CActiveObjectRegistration::~CActiveObjectRegistration()
{
    if (SUCCEEDED(m_result))
    {
        RevokeActiveObject(m_cookie, nullptr);
        CoDisconnectObject(m_object, 0);
    }
}

} // namespace swsim
